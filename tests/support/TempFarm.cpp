#include "support/TempFarm.h"

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
    farm_ = std::make_unique<sim::SimFarm>(std::move(store));
    farm_->setClock(clock);
    farm_->setDebugOutput([this](std::string_view line) { debugLines.emplace_back(line); });
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
