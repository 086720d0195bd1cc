#pragma once
// The tool's context on a fresh Pellion controller (demo/controller.json), with the exchange
// file reachable as the bytes on the controller's disk.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "controller/XMLFileHandling.h"
#include "core/AppContext.h"
#include "support/RecordingWaitWindow.h"
#include "support/ScriptedBoxes.h"
#include "support/TempFarm.h"

namespace ombrel::test {

class ControllerFixture : public ::testing::Test {
  protected:
    ControllerFixture() {
        state.DebugMode = true;
        state.ControllerMode = true;
        state.InstallLocation = "C:\\Program Files\\Ombrel\\";
        context.waitWindow = &wait;
    }

    std::filesystem::path temp() const {
        return farm->store().machineDir("PLC01") / "C" / "Documents and Settings" /
               "Administrator" / "Local Settings" / "Temp";
    }
    std::filesystem::path exchange() const { return temp() / "PLconfig.xml"; }

    // The exchange file as the controller's program writes it: lines ended by CR LF.
    void writeExchange(const std::vector<std::string>& lines) {
        std::ofstream out(exchange(), std::ios::binary);
        for (const std::string& line : lines) {
            out << line << "\r\n";
        }
    }
    std::string exchangeBytes() const {
        std::ifstream in(exchange(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static std::string crlf(const std::vector<std::string>& lines) {
        std::string text;
        for (const std::string& line : lines) {
            text += line + "\r\n";
        }
        return text;
    }

    // The trace lines so far without the "Ombrel Printing Tool 3.1.1 : " prefix; forgets them.
    std::vector<std::string> traces() {
        std::vector<std::string> lines;
        for (const std::string& line : farm->debugLines) {
            lines.push_back(line.substr(std::string("Ombrel Printing Tool 3.1.1 : ").size()));
        }
        farm->debugLines.clear();
        return lines;
    }

    // The insertion strings of the information records 1001 in the controller's Application log.
    std::vector<std::string> auditTexts() {
        std::vector<std::string> texts;
        SQLite::Statement q(farm->store().db(),
                            "SELECT strings FROM events WHERE machine = 'PLC01' AND "
                            "log = 'Application' AND event_id = 1001 AND type = 4 ORDER BY number");
        while (q.executeStep()) {
            for (const auto& text : nlohmann::json::parse(q.getColumn(0).getString())) {
                texts.push_back(text.get<std::string>());
            }
        }
        return texts;
    }

    std::vector<std::string> launches() {
        std::vector<std::string> lines;
        SQLite::Statement q(farm->store().db(), "SELECT command_line FROM launches ORDER BY task");
        while (q.executeStep()) {
            lines.push_back(q.getColumn(0).getString());
        }
        return lines;
    }

    std::unique_ptr<TempFarm> farm = TempFarm::demo("controller");
    core::AppState state;
    ScriptedBoxes boxes;
    RecordingWaitWindow wait;
    core::AppContext context{farm->platform(), state, boxes};
    controller::XMLFileHandling xml{context};
};

}  // namespace ombrel::test
