// The registry of the simulated world as the tool relies on it: names without regard to case,
// types and bytes as written, the caller's buffer capacity, whole paths created, keys with
// subkeys kept, enumeration order and end, unreachable machines refused, and changes made by
// another process seen at the next call. It refuses what Windows refuses: names beyond the
// registry's limits, roots a remote registry does not offer, changes to a read-only key.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "support/TempFarm.h"

namespace ombrel::test {
namespace {

using namespace ombrel::platform;

class RegistryTest : public ::testing::Test {
  protected:
    RegistryTest() : reg(farm.farm().registry()) {}

    HKEY connect(const std::string& machine = "", HKEY root = HKEY_LOCAL_MACHINE) {
        HKEY handle = 0;
        EXPECT_EQ(ERROR_SUCCESS, reg.connectRegistry(machine, root, handle));
        return handle;
    }
    HKEY create(HKEY parent, const std::string& path) {
        HKEY handle = 0;
        EXPECT_EQ(ERROR_SUCCESS, reg.createKey(parent, path, KEY_ALL_ACCESS, handle)) << path;
        return handle;
    }
    LONG open(HKEY parent, const std::string& path, HKEY& handle) {
        return reg.openKey(parent, path, KEY_ALL_ACCESS, handle);
    }
    void set(HKEY key, const std::string& name, DWORD type, const std::string& bytes) {
        EXPECT_EQ(ERROR_SUCCESS,
                  reg.setValue(key, name, type, reinterpret_cast<const BYTE*>(bytes.data()),
                               static_cast<DWORD>(bytes.size())));
    }
    // The value's type and bytes read through a buffer of the value's own size.
    std::pair<DWORD, std::string> get(HKEY key, const std::string& name) {
        DWORD type = 0;
        DWORD size = 0;
        EXPECT_EQ(ERROR_SUCCESS, reg.queryValue(key, name, &type, nullptr, &size)) << name;
        std::string bytes(size, '\0');
        EXPECT_EQ(ERROR_SUCCESS,
                  reg.queryValue(key, name, &type, reinterpret_cast<BYTE*>(bytes.data()), &size));
        bytes.resize(size);
        return {type, bytes};
    }
    std::vector<std::string> subkeys(HKEY key) {
        std::vector<std::string> names;
        for (DWORD i = 0;; ++i) {
            char name[256];
            DWORD length = sizeof name;
            LONG result = reg.enumKey(key, i, name, &length);
            if (result == ERROR_NO_MORE_ITEMS) {
                return names;
            }
            EXPECT_EQ(ERROR_SUCCESS, result);
            names.emplace_back(name, length);
        }
    }
    std::vector<std::string> valueNames(HKEY key) {
        std::vector<std::string> names;
        for (DWORD i = 0;; ++i) {
            char name[256];
            DWORD length = sizeof name;
            LONG result = reg.enumValue(key, i, name, &length, nullptr, nullptr);
            if (result == ERROR_NO_MORE_ITEMS) {
                return names;
            }
            EXPECT_EQ(ERROR_SUCCESS, result);
            names.emplace_back(name, length);
        }
    }

    TempFarm farm;
    Registry& reg;
};

TEST_F(RegistryTest, NamesCompareWithoutCaseAndKeepTheirCase) {
    HKEY root = connect();
    HKEY print = create(root, "Software\\Ombrel\\Print");
    set(print, "DefaultPrnFlags", REG_DWORD, std::string("\x40\0\0\0", 4));

    // Another spelling finds the same key and value, and creating under it keeps the levels
    // that exist as they were first written.
    HKEY same = 0;
    ASSERT_EQ(ERROR_SUCCESS, open(root, "SOFTWARE\\ombrel\\PRINT", same));
    EXPECT_EQ(std::string("\x40\0\0\0", 4), get(same, "defaultprnflags").second);
    set(same, "DEFAULTPRNFLAGS", REG_DWORD, std::string("\x41\0\0\0", 4));
    create(root, "SOFTWARE\\OMBREL\\Print\\UPDDevMode");

    EXPECT_EQ(std::vector<std::string>{"Software"}, subkeys(root));
    HKEY ombrel = 0;
    ASSERT_EQ(ERROR_SUCCESS, open(root, "software\\ombrel", ombrel));
    EXPECT_EQ(std::vector<std::string>{"Print"}, subkeys(ombrel));
    EXPECT_EQ(std::vector<std::string>{"UPDDevMode"}, subkeys(print));
    EXPECT_EQ(std::vector<std::string>{"DefaultPrnFlags"}, valueNames(print));
    EXPECT_EQ(std::string("\x41\0\0\0", 4), get(print, "DefaultPrnFlags").second);
}

TEST_F(RegistryTest, ValuesKeepTheirTypeAndBytes) {
    HKEY key = create(connect(), "Software\\Ombrel\\Print");
    const std::vector<std::pair<DWORD, std::string>> cases = {
        {REG_SZ, std::string("Ombrel\0", 7)},
        {REG_SZ, std::string("\0", 1)},
        {REG_DWORD, std::string("\xFF\xFF\xFF\x7F", 4)},
        {REG_MULTI_SZ, std::string("a\0b\0\0", 5)},
        {REG_BINARY, std::string("\0\x01\0\xFE", 4)},
        {REG_EXPAND_SZ, std::string("%SystemRoot%\\x.dll\0", 19)},
        {REG_NONE, std::string()},
        {0x1234, std::string("odd type")},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        set(key, "v" + std::to_string(i), cases[i].first, cases[i].second);
    }
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(cases[i], get(key, "v" + std::to_string(i))) << i;
    }
    // A rewrite replaces type and bytes.
    set(key, "v0", REG_DWORD, std::string("\x01\0\0\0", 4));
    EXPECT_EQ((std::pair<DWORD, std::string>{REG_DWORD, std::string("\x01\0\0\0", 4)}),
              get(key, "v0"));
}

TEST_F(RegistryTest, QueryHonoursTheCallersCapacity) {
    HKEY key = create(connect(), "Software\\Ombrel\\Print");
    const std::string big(299, 'x');
    set(key, "Big", REG_SZ, big + '\0');
    set(key, "Fits", REG_SZ, std::string(254, 'y') + '\0');

    // The tool reads into 255 bytes: 300 bytes do not fit, nothing is copied, the size
    // needed is reported.
    std::vector<BYTE> buffer(255, 0xAA);
    DWORD type = 0;
    DWORD size = 255;
    EXPECT_EQ(ERROR_MORE_DATA, reg.queryValue(key, "Big", &type, buffer.data(), &size));
    EXPECT_EQ(300u, size);
    EXPECT_EQ(REG_SZ, type);
    EXPECT_EQ(std::vector<BYTE>(255, 0xAA), buffer);

    // A size query needs no buffer.
    size = 0;
    EXPECT_EQ(ERROR_SUCCESS, reg.queryValue(key, "Big", &type, nullptr, &size));
    EXPECT_EQ(300u, size);

    // 255 bytes exactly fit.
    size = 255;
    EXPECT_EQ(ERROR_SUCCESS, reg.queryValue(key, "Fits", &type, buffer.data(), &size));
    EXPECT_EQ(255u, size);
    EXPECT_EQ(std::string(254, 'y') + '\0', std::string(buffer.begin(), buffer.end()));

    EXPECT_EQ(ERROR_FILE_NOT_FOUND, reg.queryValue(key, "Absent", &type, nullptr, &size));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, reg.queryValue(key, "Big", &type, buffer.data(), nullptr));
}

TEST_F(RegistryTest, CreateMakesEveryLevelAndOpenNeedsThem) {
    HKEY root = connect();
    HKEY missing = 0;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, open(root, "Software\\Ombrel", missing));

    create(root, "Software\\Ombrel\\UniversalPrintDrivers\\PCL5c");
    for (const char* path :
         {"Software", "Software\\Ombrel", "Software\\Ombrel\\UniversalPrintDrivers",
          "Software\\Ombrel\\UniversalPrintDrivers\\PCL5c\\"}) {
        HKEY key = 0;
        EXPECT_EQ(ERROR_SUCCESS, open(root, path, key)) << path;
        EXPECT_EQ(ERROR_SUCCESS, reg.closeKey(key));
    }
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, open(root, "Software\\Ombrel\\Print", missing));
    // The tool strips one leading backslash; a second one is not a key name.
    EXPECT_EQ(ERROR_BAD_PATHNAME, open(root, "\\Software", missing));
}

TEST_F(RegistryTest, DeletingRefusesKeysWithSubkeys) {
    HKEY root = connect();
    HKEY print = create(root, "Software\\Ombrel\\Print");
    create(root, "Software\\Ombrel\\Print\\UPDDevMode\\dmFormName");
    set(print, "DebugFlags", REG_DWORD, std::string(4, '\0'));

    EXPECT_EQ(ERROR_ACCESS_DENIED, reg.deleteKey(root, "Software\\Ombrel\\Print"));
    EXPECT_EQ(ERROR_SUCCESS,
              reg.deleteKey(root, "Software\\Ombrel\\Print\\UPDDevMode\\dmFormName"));
    EXPECT_EQ(ERROR_SUCCESS, reg.deleteKey(root, "software\\ombrel\\print\\updDevMode"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, reg.deleteKey(root, "Software\\Ombrel\\Print\\UPDDevMode"));

    EXPECT_EQ(ERROR_FILE_NOT_FOUND, reg.deleteValue(print, "Absent"));
    EXPECT_EQ(ERROR_SUCCESS, reg.deleteValue(print, "debugflags"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, reg.deleteValue(print, "DebugFlags"));

    // The handle of a key deleted meanwhile no longer reaches a key.
    EXPECT_EQ(ERROR_SUCCESS, reg.deleteKey(root, "Software\\Ombrel\\Print"));
    DWORD size = 0;
    LONG query = reg.queryValue(print, "DebugFlags", nullptr, nullptr, &size);
    EXPECT_TRUE(query == 1018 || query == ERROR_FILE_NOT_FOUND) << query;
    EXPECT_EQ(1018, reg.setValue(print, "x", REG_SZ, reinterpret_cast<const BYTE*>(""), 1));
    HKEY again = 0;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, open(root, "Software\\Ombrel\\Print", again));
}

TEST_F(RegistryTest, EnumerationIsAlphabeticalAndEnds) {
    HKEY root = connect();
    HKEY base = create(root, "Software\\Ombrel\\PrinterProperties");
    for (const char* name : {"beta", "_last", "Alpha", "GAMMA"}) {
        create(base, name);
        set(base, name, REG_SZ, std::string("\0", 1));
    }
    // Windows sorts by the upper-case form: "_" comes after the letters.
    const std::vector<std::string> order = {"Alpha", "beta", "GAMMA", "_last"};
    EXPECT_EQ(order, subkeys(base));
    EXPECT_EQ(order, valueNames(base));

    // The capacity counts the terminating NUL.
    char name[8] = "-------";
    DWORD length = 5;
    EXPECT_EQ(ERROR_MORE_DATA, reg.enumKey(base, 0, name, &length));
    EXPECT_EQ(std::string("-------"), name);
    length = 6;
    EXPECT_EQ(ERROR_SUCCESS, reg.enumKey(base, 0, name, &length));
    EXPECT_EQ(5u, length);
    EXPECT_EQ(std::string("Alpha"), name);

    DWORD type = 0;
    DWORD size = 0;
    length = sizeof name;
    EXPECT_EQ(ERROR_SUCCESS, reg.enumValue(base, 1, name, &length, &type, &size));
    EXPECT_EQ(std::string("beta"), name);
    EXPECT_EQ(REG_SZ, type);
    EXPECT_EQ(1u, size);
    EXPECT_EQ(ERROR_NO_MORE_ITEMS, reg.enumValue(base, 4, name, &length, &type, &size));

    HKEY leaf = 0;
    ASSERT_EQ(ERROR_SUCCESS, open(base, "Alpha", leaf));
    EXPECT_EQ(std::vector<std::string>{}, subkeys(leaf));
}

TEST_F(RegistryTest, UnreachableMachinesAreRefused) {
    farm.addMachine("SRV01", "10.0.0.11");
    farm.addMachine("SRV02", "10.0.0.12", false);
    HKEY handle = 0;
    EXPECT_EQ(ERROR_BAD_NETPATH, reg.connectRegistry("NOSUCH", HKEY_LOCAL_MACHINE, handle));
    EXPECT_EQ(RPC_S_SERVER_UNAVAILABLE, reg.connectRegistry("SRV02", HKEY_LOCAL_MACHINE, handle));

    // Each machine and root has its own registry.
    HKEY srv = connect("\\\\srv01");
    create(srv, "Software\\Ombrel\\Print");
    HKEY key = 0;
    EXPECT_EQ(ERROR_SUCCESS, open(srv, "Software\\Ombrel\\Print", key));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, open(connect(), "Software\\Ombrel\\Print", key));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND,
              open(connect("SRV01", HKEY_USERS), "Software\\Ombrel\\Print", key));

    // A connection to a machine that goes offline fails from then on.
    farm.setOnline("SRV01", false);
    EXPECT_EQ(RPC_S_SERVER_UNAVAILABLE, open(srv, "Software\\Ombrel\\Print", key));

    EXPECT_EQ(ERROR_SUCCESS, reg.closeKey(srv));
    EXPECT_EQ(ERROR_INVALID_HANDLE, reg.closeKey(srv));
    EXPECT_EQ(ERROR_INVALID_HANDLE, open(srv, "Software", key));
}

TEST_F(RegistryTest, ChangesByAnotherProcessAreSeenAtTheNextCall) {
    farm.addMachine("SRV01", "10.0.0.11");
    HKEY srv = connect("SRV01");
    HKEY key = create(srv, "Software\\Ombrel\\Print");
    set(key, "CompressionLevel", REG_DWORD, std::string("\x01\0\0\0", 4));
    EXPECT_EQ(std::string("\x01\0\0\0", 4), get(key, "CompressionLevel").second);
    HKEY open1 = 0;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, open(srv, "Software\\Ombrel\\Other", open1));

    // farmsim works on its own connection to farm.db.
    auto other = sim::SimStore::open(farm.store().dir());
    other->db().exec("UPDATE reg_values SET data = x'02000000' WHERE name = 'CompressionLevel'");
    EXPECT_EQ(std::string("\x02\0\0\0", 4), get(key, "CompressionLevel").second);

    other->db().exec(
        "INSERT INTO reg_keys(machine, root, path, name, parent) SELECT machine, root, "
        "'Software\\Ombrel\\Other', 'Other', parent FROM reg_keys WHERE path = "
        "'Software\\Ombrel\\Print'");
    EXPECT_EQ(ERROR_SUCCESS, open(srv, "Software\\Ombrel\\Other", open1));

    other->db().exec("UPDATE machines SET online = 0 WHERE name = 'SRV01'");
    HKEY refused = 0;
    EXPECT_EQ(RPC_S_SERVER_UNAVAILABLE, reg.connectRegistry("SRV01", HKEY_LOCAL_MACHINE, refused));
}

// Windows compares names in the code page's own case pairs, not only A to Z, and lists them
// by their upper-case forms.
TEST_F(RegistryTest, EveryLetterOfTheCodePageFoldsAndKeepsItsCase) {
    HKEY root = connect();
    // "\xC4rger\\\x8Cuvre" is "Ärger\Œuvre" in Windows-1252.
    HKEY key = create(root, "Software\\\xC4rger\\\x8Cuvre");
    set(key, "\xC9t\xE9", REG_SZ, std::string("1\0", 2));
    HKEY same = 0;
    ASSERT_EQ(ERROR_SUCCESS, open(root, "software\\\xE4RGER\\\x9CUVRE", same));
    EXPECT_EQ(std::string("1\0", 2), get(same, "\xE9T\xC9").second);
    set(same, "\xE9t\xE9", REG_SZ, std::string("2\0", 2));
    EXPECT_EQ(std::vector<std::string>{"\xC9t\xE9"}, valueNames(key));
    EXPECT_EQ(std::string("2\0", 2), get(key, "\xC9T\xC9").second);
    create(root, "SOFTWARE\\\xE4rger\\\x9Cuvre\\\x8Aub");
    HKEY ombrel = 0;
    ASSERT_EQ(ERROR_SUCCESS, open(root, "Software", ombrel));
    EXPECT_EQ(std::vector<std::string>{"\xC4rger"}, subkeys(ombrel));
    EXPECT_EQ(std::vector<std::string>{"\x8Aub"}, subkeys(key));
    EXPECT_EQ(ERROR_SUCCESS, reg.deleteKey(root, "software\\\xE4rger\\\x9Cuvre\\\x9Aub"));
    EXPECT_EQ(std::vector<std::string>{}, subkeys(key));

    // Ordered by upper-case forms: "\xE4a" (äa) before "\xC4b" (Äb), "_" after the letters,
    // and "\xFF" (ÿ) as its upper case "\x9F" (Ÿ, U+0178) after every Latin-1 letter.
    HKEY base = create(root, "Software\\Order");
    for (const char* name : {"\xFFx", "_z",
                             "\xC4"
                             "b",
                             "\xE4"
                             "a",
                             "Zed"}) {
        create(base, name);
    }
    EXPECT_EQ((std::vector<std::string>{"Zed", "_z",
                                        "\xE4"
                                        "a",
                                        "\xC4"
                                        "b",
                                        "\xFFx"}),
              subkeys(base));
    HKEY ydots = 0;
    EXPECT_EQ(ERROR_SUCCESS, open(base, "\x9FX", ydots));
}

TEST_F(RegistryTest, NamesBeyondTheRegistrysLimitsAreRefused) {
    HKEY root = connect();
    HKEY base = create(root, "Software\\Limits");
    const struct {
        std::string path;
        LONG result;
    } cases[] = {
        {std::string(255, 'k'), ERROR_SUCCESS},
        {std::string(255, '\xE9'), ERROR_SUCCESS},  // characters, not UTF-8 bytes
        {std::string(256, 'k'), ERROR_INVALID_PARAMETER},
        {"ok\\" + std::string(256, 'k'), ERROR_INVALID_PARAMETER},
        {"two\nlines", ERROR_INVALID_NAME},
        {std::string("tab\there"), ERROR_INVALID_NAME},
        {std::string("nul\0", 4), ERROR_INVALID_NAME},
        {"\\", ERROR_BAD_PATHNAME},
        {"a\\\\b", ERROR_BAD_PATHNAME},
        {"trailing\\", ERROR_SUCCESS},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.substr(0, 20));
        HKEY key = 0;
        EXPECT_EQ(c.result, reg.createKey(base, c.path, KEY_ALL_ACCESS, key));
        EXPECT_EQ(c.result == ERROR_SUCCESS ? ERROR_SUCCESS : c.result,
                  reg.openKey(base, c.path, KEY_ALL_ACCESS, key));
    }
    EXPECT_EQ(
        (std::vector<std::string>{std::string(255, 'k'), "trailing", std::string(255, '\xE9')}),
        subkeys(base));

    // "" is the key itself: a value set through it lands on the key, not on the root.
    HKEY itself = 0;
    ASSERT_EQ(ERROR_SUCCESS, reg.createKey(base, "", KEY_ALL_ACCESS, itself));
    set(itself, "Here", REG_SZ, std::string("\0", 1));
    EXPECT_EQ(std::vector<std::string>{"Here"}, valueNames(base));
    EXPECT_EQ(std::vector<std::string>{}, valueNames(root));

    // A value name of 16,383 characters is the longest; a longer one is never stored, so the
    // key still lists in a buffer of the registry's largest name.
    const std::string longest(16383, 'v');
    set(base, longest, REG_DWORD, std::string(4, '\0'));
    const std::string tooLong(16384, 'v');
    EXPECT_EQ(ERROR_INVALID_PARAMETER,
              reg.setValue(base, tooLong, REG_DWORD, reinterpret_cast<const BYTE*>("\0\0\0\0"), 4));
    std::vector<char> name(16384);
    std::vector<std::string> names;
    for (DWORD i = 0;; ++i) {
        DWORD length = static_cast<DWORD>(name.size());
        LONG result = reg.enumValue(base, i, name.data(), &length, nullptr, nullptr);
        if (result != ERROR_SUCCESS) {
            EXPECT_EQ(ERROR_NO_MORE_ITEMS, result);
            break;
        }
        names.emplace_back(name.data(), length);
    }
    EXPECT_EQ((std::vector<std::string>{"Here", longest}), names);
}

// A remote registry offers HKEY_LOCAL_MACHINE and HKEY_USERS only; the local one offers the
// current user too.
TEST_F(RegistryTest, RemoteConnectionsReachOnlyTheMachineAndUsersRoots) {
    farm.addMachine("SRV01", "10.0.0.11");
    const struct {
        const char* machine;
        HKEY root;
        LONG result;
    } cases[] = {
        {"SRV01", HKEY_LOCAL_MACHINE, ERROR_SUCCESS},
        {"SRV01", HKEY_USERS, ERROR_SUCCESS},
        {"SRV01", HKEY_CURRENT_USER, ERROR_INVALID_HANDLE},
        {TempFarm::kLocal, HKEY_CURRENT_USER, ERROR_INVALID_HANDLE},  // named: remote
        {"SRV01", 0x80000000, ERROR_INVALID_HANDLE},                  // HKEY_CLASSES_ROOT
        {"NOSUCH", HKEY_CURRENT_USER, ERROR_INVALID_HANDLE},
        {"", HKEY_CURRENT_USER, ERROR_SUCCESS},
        {"", HKEY_USERS, ERROR_SUCCESS},
        {"", 0x80000005, ERROR_INVALID_HANDLE},  // HKEY_CURRENT_CONFIG
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.machine) + " " + std::to_string(c.root));
        HKEY handle = 0;
        EXPECT_EQ(c.result, reg.connectRegistry(c.machine, c.root, handle));
    }
}

// A farm description can make a key read-only for the farm's user: it opens for reading, and
// everything that would change it, or open it to change it, answers ERROR_ACCESS_DENIED.
TEST_F(RegistryTest, ADeniedKeyOpensForReadingOnly) {
    TempFarm denied(nlohmann::json::parse(R"({
      "localMachine": "SRV1",
      "machines": [{"name": "SRV1", "address": "10.0.0.1",
        "registry": {"HKLM\\Software\\Locked": {"Kept": "yes"},
                     "HKLM\\Software\\Locked\\Open": {}},
        "deniedKeys": ["hklm\\software\\locked", "HKLM\\Software\\Empty"]}]})"));
    Registry& r = denied.farm().registry();
    HKEY root = 0, key = 0;
    ASSERT_EQ(ERROR_SUCCESS, r.connectRegistry("", HKEY_LOCAL_MACHINE, root));
    const std::string locked = "Software\\Locked";

    EXPECT_EQ(ERROR_ACCESS_DENIED, r.openKey(root, locked, KEY_ALL_ACCESS, key));
    EXPECT_EQ(ERROR_ACCESS_DENIED, r.openKey(root, locked, KEY_WRITE, key));
    EXPECT_EQ(ERROR_ACCESS_DENIED, r.createKey(root, locked, KEY_ALL_ACCESS, key));
    EXPECT_EQ(ERROR_ACCESS_DENIED, r.createKey(root, locked + "\\New\\Deeper", KEY_READ, key));
    EXPECT_EQ(ERROR_ACCESS_DENIED, r.deleteKey(root, "Software\\Empty"));
    // Its subkey has its own rights.
    EXPECT_EQ(ERROR_SUCCESS, r.createKey(root, locked + "\\Open\\Mine", KEY_ALL_ACCESS, key));
    EXPECT_EQ(ERROR_SUCCESS, r.deleteKey(root, locked + "\\Open\\Mine"));

    ASSERT_EQ(ERROR_SUCCESS, r.openKey(root, locked, KEY_READ, key));
    DWORD type = 0, size = 0;
    EXPECT_EQ(ERROR_SUCCESS, r.queryValue(key, "Kept", &type, nullptr, &size));
    EXPECT_EQ(4u, size);
    char name[16];
    DWORD length = sizeof name;
    EXPECT_EQ(ERROR_SUCCESS, r.enumKey(key, 0, name, &length));
    EXPECT_EQ(ERROR_ACCESS_DENIED,
              r.setValue(key, "Kept", REG_SZ, reinterpret_cast<const BYTE*>("no"), 3));
    EXPECT_EQ(ERROR_ACCESS_DENIED, r.deleteValue(key, "Kept"));
    EXPECT_EQ(ERROR_ACCESS_DENIED, r.deleteKey(key, ""));
    EXPECT_EQ(ERROR_SUCCESS, r.queryValue(key, "Kept", &type, nullptr, &size));
}

}  // namespace
}  // namespace ombrel::test
