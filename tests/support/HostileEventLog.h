#pragma once
// A System log as hostile as a real server's may be: records of the source "Print" (errors,
// so every readable one is listed) with an insertion string of 65,535 characters, 256
// insertion strings, 99 strings of 5,200 characters, 99 "%%9999" parameters whose text is
// 60,000 characters long, a template that repeats %1 a thousand times with a 64 KB insertion,
// and, if asked for, records of 256 strings of 65,535 characters, far larger than any read can
// hand out. "Print" is registered under the System log of the machine that runs the tool, with
// one module (C:\Hostile\hostile.dll) as its event, category and parameter file.

#include <SQLiteCpp/SQLiteCpp.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/TempFarm.h"

namespace ombrel::test {

inline constexpr int kHostileKinds = 5;
// The event ids of the module's templates.
inline constexpr int kHostilePrinterAdded = 20;  // "Printer %1 was added, port %2."
inline constexpr int kHostileRepeated = 21;      // %1 a thousand times
inline constexpr int kHostileNinetyNine = 22;    // %1 to %99

// Writes the module and registers "Print" under System on the local machine.
inline void registerHostileModule(TempFarm& farm) {
    const std::filesystem::path file =
        farm.store().machineDir(farm.store().localMachine()) / "C" / "Hostile" / "hostile.dll";
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out << "MessageId=1\nHostile category\n.\n";
    out << "MessageId=" << kHostilePrinterAdded << "\nPrinter %1 was added, port %2.\n.\n";
    out << "MessageId=" << kHostileRepeated << "\n";
    for (int i = 0; i < 1000; ++i) {
        out << "%1";
    }
    out << "\n.\n";
    out << "MessageId=" << kHostileNinetyNine << "\n";
    for (int i = 1; i <= 99; ++i) {
        out << "%" << i << " ";
    }
    out << "\n.\n";
    out << "MessageId=9999\n" << std::string(60000, 'p') << "\n.\n";
    out.close();
    const std::string key = "System\\CurrentControlSet\\Services\\EventLog\\System\\Print";
    platform::Registry& registry = farm.platform().registry;
    platform::HKEY opened = 0;
    registry.createKey(platform::HKEY_LOCAL_MACHINE, key, platform::KEY_ALL_ACCESS, opened);
    for (const char* name : {"EventMessageFile", "CategoryMessageFile", "ParameterMessageFile"}) {
        const std::string path = "C:\\Hostile\\hostile.dll";
        registry.setValue(opened, name, platform::REG_SZ,
                          reinterpret_cast<const platform::BYTE*>(path.c_str()),
                          static_cast<platform::DWORD>(path.size() + 1));
    }
    registry.closeKey(opened);
}

// The strings column of count copies of text.
inline std::string hostileStrings(int count, const std::string& text) {
    std::string column = "[";
    for (int i = 0; i < count; ++i) {
        column += (i > 0 ? ",\"" : "\"") + text + "\"";
    }
    return column + "]";
}

// Adds records numbered 1 to records to machine's System log, the kinds taking turns; every
// oversizedEvery-th record (0: none) is one of 256 strings of 65,535 characters instead.
inline void addHostileRecords(TempFarm& farm, const std::string& machine, int records,
                              int oversizedEvery = 0) {
    const std::string longInsert(65535, 'a');
    const std::string columns[kHostileKinds] = {
        hostileStrings(1, longInsert).insert(1 + 65535 + 2, ",\"LPT1:\""),
        hostileStrings(256, std::string(2000, 'b')),
        hostileStrings(99, std::string(5200, 'c')),
        hostileStrings(99, "%%9999"),
        hostileStrings(1, std::string(65535, 'd')),
    };
    const int eventIds[kHostileKinds] = {kHostilePrinterAdded, kHostileNinetyNine,
                                         kHostileNinetyNine, kHostileNinetyNine, kHostileRepeated};
    const std::string oversized = hostileStrings(256, longInsert);
    sim::SimStore& store = farm.store();
    sim::SimStore::Transaction tx(store);
    SQLite::Statement insert(
        store.db(),
        "INSERT INTO events(machine, log, number, time_generated, time_written, event_id, type, "
        "category, source, computer, strings) VALUES(?, 'System', ?, ?, ?, ?, 1, 1, 'Print', ?, "
        "?)");
    for (int i = 0; i < records; ++i) {
        const bool huge = oversizedEvery > 0 && (i + 1) % oversizedEvery == 0;
        const int kind = i % kHostileKinds;
        const std::int64_t time = 1236075300 + i;
        insert.bind(1, machine);
        insert.bind(2, static_cast<std::int64_t>(i + 1));
        insert.bind(3, time);
        insert.bind(4, time);
        insert.bind(5, static_cast<std::int64_t>(huge ? kHostileNinetyNine : eventIds[kind]));
        insert.bind(6, machine);
        insert.bind(7, huge ? oversized : columns[kind]);
        insert.exec();
        insert.reset();
    }
    tx.commit();
}

}  // namespace ombrel::test
