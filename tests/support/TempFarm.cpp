#include "support/TempFarm.h"

#include "DemoFarms.h"
#include "platform/sim/FarmDescription.h"

#include <nlohmann/json.hpp>

#include <stdexcept>

#include <unistd.h>

namespace ombrel::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "ombrel-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

TempFarm::TempFarm() {
    auto store = sim::SimStore::create(dir_.path() / "farm");
    {
        sim::SimStore::Transaction tx(*store);
        store->setMeta("farm_name", "TestFarm");
        store->setMeta("local_machine", kLocal);
        tx.commit();
    }
    attach(std::move(store));
    addMachine(kLocal, kLocalAddress);
    auto& db = farm_->store().db();
    for (auto [name, value] :
         {std::pair{"computername", kLocal},
          {"username", kUser},
          {"temp", "C:\\Temp"},
          {"appdata", "C:\\Documents and Settings\\Administrator\\Application Data"},
          {"SystemRoot", "C:\\WINDOWS"}}) {
        SQLite::Statement q(db, "INSERT INTO environment(machine, name, value) VALUES(?, ?, ?)");
        q.bind(1, kLocal);
        q.bind(2, name);
        q.bind(3, value);
        q.exec();
    }
}

TempFarm::TempFarm(const nlohmann::json& description) {
    attach(sim::createFarmFromDescription(dir_.path() / "farm", description));
}

std::unique_ptr<TempFarm> TempFarm::demo(std::string_view name) {
    std::string_view text = farmsim::demoFarmDescription(name);
    if (text.empty()) {
        throw std::invalid_argument("no demo farm named " + std::string(name));
    }
    return std::unique_ptr<TempFarm>(new TempFarm(FromText{}, text));
}

TempFarm::TempFarm(FromText, std::string_view jsonText) {
    attach(sim::createFarmFromDescriptionText(dir_.path() / "farm", jsonText));
}

void TempFarm::attach(std::unique_ptr<sim::SimStore> store) {
    farm_ = std::make_unique<sim::SimFarm>(std::move(store));
    farm_->setClock(clock);
    farm_->setDebugOutput([this](std::string_view line) { debugLines.emplace_back(line); });
}

void TempFarm::addMachine(const std::string& name, const std::string& address, bool online,
                          bool farmServer) {
    auto& db = farm_->store().db();
    SQLite::Statement q(db,
                        "INSERT INTO machines(name, address, online, farm_server, position, "
                        "product_major, product_minor) VALUES(?, ?, ?, ?, "
                        "(SELECT COUNT(*) FROM machines), 4, 5)");
    q.bind(1, name);
    q.bind(2, address);
    q.bind(3, online ? 1 : 0);
    q.bind(4, farmServer ? 1 : 0);
    q.exec();
    fs::create_directories(farm_->store().machineDir(name) / "C");
}

void TempFarm::setOnline(const std::string& name, bool online) {
    SQLite::Statement q(farm_->store().db(), "UPDATE machines SET online = ? WHERE name = ?");
    q.bind(1, online ? 1 : 0);
    q.bind(2, name);
    q.exec();
}

}  // namespace ombrel::test
