// The registry as the tool uses it: every value type it stores, sizes and buffers, names in
// the code page and their case, long names, what is missing, deleting and listing keys.
// Everything happens under a subtree of the current user's key of its own, removed at the end.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "contract/ContractPlatform.h"

namespace ombrel::contract {
namespace {

using namespace platform;

constexpr const char* kTree = "Software\\OmbrelContract";

std::vector<BYTE> bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

class RegistryContract : public ::testing::Test {
  protected:
    void SetUp() override {
        removeTree(HKEY_CURRENT_USER, kTree);  // left over by a run that was killed
        ASSERT_EQ(reg.createKey(HKEY_CURRENT_USER, kTree, KEY_ALL_ACCESS, tree), ERROR_SUCCESS);
    }
    void TearDown() override {
        if (tree != 0) {
            reg.closeKey(tree);
        }
        removeTree(HKEY_CURRENT_USER, kTree);
        HKEY gone = 0;
        EXPECT_EQ(reg.openKey(HKEY_CURRENT_USER, kTree, KEY_READ, gone), ERROR_FILE_NOT_FOUND);
    }

    // A key and everything below it; the registry deletes only keys without subkeys.
    void removeTree(HKEY parent, const std::string& path) {
        HKEY key = 0;
        if (reg.openKey(parent, path, KEY_ALL_ACCESS, key) != ERROR_SUCCESS) {
            return;
        }
        for (;;) {
            char name[1024];  // room for a name longer than the registry should allow
            DWORD length = sizeof name;
            if (reg.enumKey(key, 0, name, &length) != ERROR_SUCCESS) {
                break;
            }
            removeTree(key, std::string(name, length));
        }
        reg.closeKey(key);
        reg.deleteKey(parent, path);
    }

    LONG set(HKEY key, std::string_view name, DWORD type, const std::vector<BYTE>& data) {
        return reg.setValue(key, name, type, data.data(), static_cast<DWORD>(data.size()));
    }

    std::vector<std::string> subkeys(HKEY key) {
        std::vector<std::string> names;
        for (DWORD i = 0;; ++i) {
            char name[256];
            DWORD length = sizeof name;
            const LONG rc = reg.enumKey(key, i, name, &length);
            if (rc != ERROR_SUCCESS) {
                EXPECT_EQ(rc, ERROR_NO_MORE_ITEMS);
                return names;
            }
            names.emplace_back(name, length);
        }
    }

    std::unique_ptr<ContractPlatform> platform = makeContractPlatform();
    Registry& reg = platform->registry();
    HKEY tree = 0;
};

struct TypedValue {
    const char* label;
    DWORD type;
    std::string data;
};

// Each type keeps its type and exactly its bytes; the size is reported without data, a buffer
// of that size takes it, and one byte less is refused with the size needed and nothing copied.
TEST_F(RegistryContract, EveryTypeKeepsItsBytesAndReportsItsSize) {
    const TypedValue cases[] = {
        {"REG_SZ", REG_SZ, std::string("Ombrel PDF\0", 11)},
        {"REG_EXPAND_SZ, not expanded", REG_EXPAND_SZ, std::string("%SystemRoot%\\x\0", 15)},
        {"REG_MULTI_SZ", REG_MULTI_SZ, std::string("PCL5\0XPS\0\0", 10)},
        {"REG_DWORD", REG_DWORD, std::string("\x60\x00\x00\x80", 4)},
        {"REG_BINARY with NULs", REG_BINARY, std::string("\x00\x01\xFF\x00\x7F", 5)},
        {"REG_SZ in the code page", REG_SZ,
         std::string("Dr\xFC"
                     "cker \x80\0",
                     10)},
        {"empty REG_BINARY", REG_BINARY, std::string()},
    };
    for (const TypedValue& c : cases) {
        SCOPED_TRACE(c.label);
        ASSERT_EQ(set(tree, c.label, c.type, bytes(c.data)), ERROR_SUCCESS);

        DWORD type = 0;
        DWORD size = 0;
        ASSERT_EQ(reg.queryValue(tree, c.label, &type, nullptr, &size), ERROR_SUCCESS);
        EXPECT_EQ(type, c.type);
        EXPECT_EQ(size, c.data.size());

        std::vector<BYTE> buffer(c.data.size() + 8, 0xAA);
        size = static_cast<DWORD>(c.data.size());
        ASSERT_EQ(reg.queryValue(tree, c.label, &type, buffer.data(), &size), ERROR_SUCCESS);
        EXPECT_EQ(size, c.data.size());
        EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + size), c.data);

        if (!c.data.empty()) {
            std::vector<BYTE> small(c.data.size() - 1, 0xAA);
            size = static_cast<DWORD>(small.size());
            EXPECT_EQ(reg.queryValue(tree, c.label, &type, small.data(), &size), ERROR_MORE_DATA);
            EXPECT_EQ(size, c.data.size());
        }
    }
}

TEST_F(RegistryContract, AValueIsReplacedWithItsNewTypeAndTheDefaultValueHasNoName) {
    ASSERT_EQ(set(tree, "Flags", REG_SZ, bytes(std::string("96\0", 3))), ERROR_SUCCESS);
    ASSERT_EQ(set(tree, "Flags", REG_DWORD, bytes(std::string("\x60\0\0\0", 4))), ERROR_SUCCESS);
    ASSERT_EQ(set(tree, "", REG_SZ, bytes(std::string("default\0", 8))), ERROR_SUCCESS);

    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    ASSERT_EQ(reg.queryValue(tree, "Flags", &type, reinterpret_cast<BYTE*>(&value), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(value, 96u);
    size = 0;
    ASSERT_EQ(reg.queryValue(tree, "", &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 8u);
}

// Windows-1252 names are found in either case of every letter the code page has in both,
// and keep the case they were created with.
TEST_F(RegistryContract, CodePageNamesCompareWithoutCaseAndKeepTheirCase) {
    struct Name {
        const char* created;
        const char* other;
    };
    const Name names[] = {
        {"\xC4rger", "\xE4RGER"},    // A and a with diaeresis
        {"\xC9t\xE9", "\xE9T\xC9"},  // E and e with acute
        {"\x8A"
         "koda",
         "\x9A"
         "KODA"},  // S and s with caron
        {"\x8C"
         "uvre",
         "\x9C"
         "UVRE"},                        // OE ligature
        {"\xD8sterbro", "\xF8STERBRO"},  // O and o with stroke
    };
    for (const Name& n : names) {
        SCOPED_TRACE(n.created);
        HKEY key = 0;
        ASSERT_EQ(reg.createKey(tree, n.created, KEY_ALL_ACCESS, key), ERROR_SUCCESS);
        ASSERT_EQ(set(key, n.created, REG_DWORD, bytes(std::string("\x01\0\0\0", 4))),
                  ERROR_SUCCESS);
        reg.closeKey(key);

        ASSERT_EQ(reg.openKey(tree, n.other, KEY_READ, key), ERROR_SUCCESS);
        DWORD size = 0;
        EXPECT_EQ(reg.queryValue(key, n.other, nullptr, nullptr, &size), ERROR_SUCCESS);
        EXPECT_EQ(size, 4u);

        char name[256];
        DWORD length = sizeof name;
        DWORD type = 0;
        ASSERT_EQ(reg.enumValue(key, 0, name, &length, &type, &size), ERROR_SUCCESS);
        EXPECT_EQ(std::string(name, length), n.created);
        reg.closeKey(key);
    }
    EXPECT_EQ(subkeys(tree).size(), std::size(names));
}

TEST_F(RegistryContract, KeyLevelsUpTo255CharactersAndLongValueNames) {
    const std::string longest(255, 'k');
    HKEY key = 0;
    ASSERT_EQ(reg.createKey(tree, longest, KEY_ALL_ACCESS, key), ERROR_SUCCESS);
    reg.closeKey(key);
    EXPECT_EQ(subkeys(tree), std::vector<std::string>{longest});

    const std::string valueName(16383, 'v');
    ASSERT_EQ(set(tree, valueName, REG_DWORD, bytes(std::string("\x02\0\0\0", 4))), ERROR_SUCCESS);
    std::vector<char> name(valueName.size() + 1);
    DWORD length = static_cast<DWORD>(name.size());
    DWORD type = 0;
    DWORD size = 0;
    ASSERT_EQ(reg.enumValue(tree, 0, name.data(), &length, &type, &size), ERROR_SUCCESS);
    EXPECT_EQ(length, valueName.size());
    EXPECT_EQ(type, REG_DWORD);
}

TEST_F(RegistryContract, AKeyLevelOf256CharactersIsRefused) {
    if (platform->underWine()) {
        GTEST_SKIP() << "Wine creates a key level of any length; Windows stops at 255";
    }
    HKEY key = 0;
    EXPECT_EQ(reg.createKey(tree, std::string(256, 'k'), KEY_ALL_ACCESS, key),
              ERROR_INVALID_PARAMETER);
    EXPECT_TRUE(subkeys(tree).empty());
}

TEST_F(RegistryContract, WhatIsMissingIsFileNotFound) {
    HKEY key = 0;
    EXPECT_EQ(reg.openKey(tree, "Missing", KEY_READ, key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(reg.openKey(tree, "Missing\\Deeper", KEY_READ, key), ERROR_FILE_NOT_FOUND);
    DWORD size = 0;
    EXPECT_EQ(reg.queryValue(tree, "Missing", nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(reg.deleteValue(tree, "Missing"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(reg.deleteKey(tree, "Missing"), ERROR_FILE_NOT_FOUND);
}

// createKey makes every missing level; a key with subkeys is not deleted, one without is.
TEST_F(RegistryContract, AKeyWithSubkeysIsNotDeleted) {
    HKEY key = 0;
    ASSERT_EQ(reg.createKey(tree, "Parent\\Child\\Grandchild", KEY_ALL_ACCESS, key), ERROR_SUCCESS);
    reg.closeKey(key);

    EXPECT_EQ(reg.deleteKey(tree, "Parent"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(reg.openKey(tree, "Parent\\Child\\Grandchild", KEY_READ, key), ERROR_SUCCESS);
    reg.closeKey(key);

    EXPECT_EQ(reg.deleteKey(tree, "Parent\\Child\\Grandchild"), ERROR_SUCCESS);
    EXPECT_EQ(reg.deleteKey(tree, "Parent\\Child"), ERROR_SUCCESS);
    EXPECT_EQ(reg.deleteKey(tree, "Parent"), ERROR_SUCCESS);
    EXPECT_EQ(reg.openKey(tree, "Parent", KEY_READ, key), ERROR_FILE_NOT_FOUND);
}

// Subkeys come in the order of their names without regard to case; a name that does not fit
// the buffer is refused. Values are listed each once with type and size (their order is
// Windows' own affair).
TEST_F(RegistryContract, EnumerationListsEveryKeyAndValue) {
    for (const char* name : {"beta", "Alpha", "GAMMA"}) {
        HKEY key = 0;
        ASSERT_EQ(reg.createKey(tree, name, KEY_ALL_ACCESS, key), ERROR_SUCCESS);
        reg.closeKey(key);
    }
    EXPECT_EQ(subkeys(tree), (std::vector<std::string>{"Alpha", "beta", "GAMMA"}));

    char name[256];
    DWORD length = 5;  // "Alpha" and its NUL need 6
    EXPECT_EQ(reg.enumKey(tree, 0, name, &length), ERROR_MORE_DATA);
    length = 6;
    ASSERT_EQ(reg.enumKey(tree, 0, name, &length), ERROR_SUCCESS);
    EXPECT_EQ(length, 5u);
    EXPECT_STREQ(name, "Alpha");

    ASSERT_EQ(set(tree, "Word", REG_DWORD, bytes(std::string("\0\0\0\0", 4))), ERROR_SUCCESS);
    ASSERT_EQ(set(tree, "Text", REG_SZ, bytes(std::string("abc\0", 4))), ERROR_SUCCESS);
    std::vector<std::string> listed;
    for (DWORD i = 0;; ++i) {
        length = sizeof name;
        DWORD type = 0;
        DWORD size = 0;
        const LONG rc = reg.enumValue(tree, i, name, &length, &type, &size);
        if (rc == ERROR_NO_MORE_ITEMS) {
            break;
        }
        ASSERT_EQ(rc, ERROR_SUCCESS);
        listed.push_back(std::string(name, length) + ":" + std::to_string(type) + ":" +
                         std::to_string(size));
    }
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, (std::vector<std::string>{"Text:1:4", "Word:4:4"}));
}

// The local machine reached through RegConnectRegistryA sees the same registry; its handle
// is a key like any other. A machine nobody knows is no network path.
TEST_F(RegistryContract, TheLocalMachineIsReachedThroughConnect) {
    ASSERT_EQ(set(tree, "Seen", REG_DWORD, bytes(std::string("\x07\0\0\0", 4))), ERROR_SUCCESS);
    ASSERT_EQ(reg.flushKey(tree), ERROR_SUCCESS);
    HKEY remote = 0;
    ASSERT_EQ(reg.connectRegistry("", HKEY_CURRENT_USER, remote), ERROR_SUCCESS);
    HKEY key = 0;
    ASSERT_EQ(reg.openKey(remote, kTree, KEY_READ, key), ERROR_SUCCESS);
    DWORD value = 0;
    DWORD size = sizeof value;
    EXPECT_EQ(reg.queryValue(key, "Seen", nullptr, reinterpret_cast<BYTE*>(&value), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(value, 7u);
    EXPECT_EQ(reg.closeKey(key), ERROR_SUCCESS);
    EXPECT_EQ(reg.closeKey(remote), ERROR_SUCCESS);

    EXPECT_EQ(reg.connectRegistry("\\\\NO-SUCH-OMBREL-HOST", HKEY_LOCAL_MACHINE, remote),
              ERROR_BAD_NETPATH);
}

}  // namespace
}  // namespace ombrel::contract
