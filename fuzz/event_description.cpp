// The event log reader's description of a record: a message module loaded from a hostile
// file, its template filled with hostile insertion strings ("%%n" parameters from the same
// file among them). Whatever the module and the inserts, the description and the category
// text stay within the reader's limit, and a cut one ends with the cut mark.
//
// The input: its first byte says how many times each insertion string is repeated (so that a
// small input can carry inserts of many kilobytes); then the module file's text up to the
// first NUL; then the insertion strings, each ended by a NUL. The record's event id is the
// module's first message, its category the second (when their numbers fit a category).

#include <nlohmann/json.hpp>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "FuzzTarget.h"
#include "eventlog/CEventLog.h"
#include "platform/EventLog.h"
#include "platform/sim/EventRecord.h"
#include "platform/sim/FarmDescription.h"
#include "platform/sim/MessageFile.h"
#include "platform/sim/SimFarm.h"

using namespace ombrel;
using namespace ombrel::platform;
using ombrel::fuzz::require;

namespace {

// A log that hands out one crafted record for every number, with ReadEventLogA's two calls.
class CraftedLog : public EventLog {
  public:
    explicit CraftedLog(sim::SimContext& context) : context_(context) {}
    HANDLE openEventLog(std::string_view, std::string_view) override { return 0x77; }
    bool readEventLog(HANDLE, DWORD, DWORD, BYTE* buffer, DWORD bytesToRead, DWORD& bytesRead,
                      DWORD& minBytesNeeded) override {
        if (bytesToRead < bytes.size()) {
            minBytesNeeded = static_cast<DWORD>(bytes.size());
            context_.lastError = ERROR_INSUFFICIENT_BUFFER;
            return false;
        }
        std::memcpy(buffer, bytes.data(), bytes.size());
        bytesRead = static_cast<DWORD>(bytes.size());
        return true;
    }
    bool getNumberOfEventLogRecords(HANDLE, DWORD& count) override { return (count = 1); }
    bool getOldestEventLogRecord(HANDLE, DWORD& oldest) override { return (oldest = 1); }
    bool backupEventLog(HANDLE, std::string_view) override { return false; }
    bool clearEventLog(HANDLE, std::string_view) override { return false; }
    bool closeEventLog(HANDLE) override { return true; }
    HANDLE registerEventSource(std::string_view, std::string_view) override { return 0; }
    bool reportEvent(HANDLE, WORD, WORD, DWORD, std::span<const std::string_view>, const BYTE*,
                     DWORD) override {
        return false;
    }
    bool deregisterEventSource(HANDLE) override { return true; }

    std::vector<BYTE> bytes;

  private:
    sim::SimContext& context_;
};

constexpr const char* kModule = "C:\\Fuzz\\fuzzmsg.dll";

// One farm for the whole run: the local machine registers the source "Fuzz" under the
// System log with the module as its event, category and parameter file.
struct World {
    World() {
        char pattern[] = "/tmp/ombrel-fuzz-description-XXXXXX";
        if (::mkdtemp(pattern) == nullptr) {
            std::abort();
        }
        root = pattern;
        const std::string branch =
            "HKLM\\System\\CurrentControlSet\\Services\\EventLog\\System\\Fuzz";
        nlohmann::json description = {{"farmName", "FuzzFarm"},
                                      {"localMachine", "FUZZSRV"},
                                      {"machines",
                                       {{{"name", "FUZZSRV"},
                                         {"address", "10.0.0.1"},
                                         {"environment", {{"SystemRoot", "C:\\WINDOWS"}}},
                                         {"registry",
                                          {{branch,
                                            {{"EventMessageFile", kModule},
                                             {"CategoryMessageFile", kModule},
                                             {"ParameterMessageFile", kModule}}}}}}}}};
        farm = std::make_unique<sim::SimFarm>(
            sim::createFarmFromDescription(root / "farm", description));
        file = farm->store().machineDir("FUZZSRV") / "C" / "Fuzz" / "fuzzmsg.dll";
        std::filesystem::create_directories(file.parent_path());
    }
    ~World() {
        farm.reset();
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }
    std::filesystem::path root;
    std::unique_ptr<sim::SimFarm> farm;
    std::filesystem::path file;
};

World& world() {
    static World instance;
    return instance;
}

bool withinLimit(const std::string& text) {
    return text.size() <= eventlog::kMaxEventText;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    const std::size_t repeat = std::size_t{1} + data[0];
    std::string_view rest = ombrel::fuzz::asText(data + 1, size - 1);
    const std::size_t end = rest.find('\0');
    const std::string_view moduleText = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);

    sim::EventRecordFields fields;
    fields.recordNumber = 1;
    fields.eventType = EVENTLOG_ERROR_TYPE;
    fields.sourceName = "Fuzz";
    fields.computerName = "FUZZSRV";
    while (!rest.empty() && fields.strings.size() < 0x7FFF) {
        const std::size_t nul = rest.find('\0');
        std::string insert;
        for (std::size_t i = 0; i < repeat; ++i) {
            insert.append(rest.substr(0, nul));
        }
        fields.strings.push_back(std::move(insert));
        rest = nul == std::string_view::npos ? std::string_view() : rest.substr(nul + 1);
    }
    sim::MessageTable table;
    std::string error;
    if (sim::parseMessageFile(moduleText, table, error) && !table.texts.empty()) {
        auto message = table.texts.begin();
        fields.eventId = message->first;
        if (++message != table.texts.end() && message->first < 0x8000) {
            fields.eventCategory = static_cast<WORD>(message->first);
        }
    } else {
        fields.eventId = 1;
        fields.eventCategory = 1;
    }
    if (!sim::eventRecordFits(fields)) {
        return 0;  // no log could hand such a record out
    }

    World& w = world();
    std::ofstream(w.file, std::ios::binary | std::ios::trunc)
        .write(moduleText.data(), static_cast<std::streamsize>(moduleText.size()));
    // Fresh modules for every input: the file may keep its size and time from the last one.
    sim::SimMessageModules modules(w.farm->context());
    CraftedLog log(w.farm->context());
    log.bytes = sim::buildEventRecord(fields);
    const Platform p = w.farm->platform();
    eventlog::CEventLog reader(Platform{p.registry, p.services, log, modules, p.spooler, p.icmp,
                                        p.system, p.shell, p.farm});
    require(reader.OpenLog("", "System"), "the crafted log opens");
    require(reader.ReadEntry(1, true), "the crafted record reads");
    const std::string& description = reader.EventDescription();
    require(withinLimit(description), "a description stays within the limit");
    require(withinLimit(reader.EventCategoryString()), "a category text stays within the limit");
    return 0;
}
