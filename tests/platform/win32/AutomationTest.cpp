// Late-bound automation as the farm library is reached, tried on a class that every Windows
// and every Wine prefix registers: the scripting runtime's dictionary.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/Win32Automation.h"

namespace ombrel::win32 {
namespace {

std::vector<std::string> texts(const std::vector<Variant>& items) {
    std::vector<std::string> result;
    for (const Variant& item : items) {
        result.push_back(item.text());
    }
    return result;
}

class Automation : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(Dispatch::create("Scripting.Dictionary", dictionary), S_OK);
        ASSERT_FALSE(dictionary.empty());
    }
    Dispatch dictionary;
};

TEST(AutomationClasses, AProgIdNobodyRegisteredIsAClassNotRegistered) {
    Dispatch farm;
    EXPECT_EQ(Dispatch::create("VexaroCOM.VexaroFarm", farm), REGDB_E_CLASSNOTREG);
    EXPECT_TRUE(farm.empty());
}

// Automation takes its arguments last first: a key and its item swapped would show here.
TEST_F(Automation, ArgumentsGoInTheirWrittenOrderAndTextsKeepTheCodePage) {
    ASSERT_EQ(dictionary.call(L"Add", {Variant(std::string_view("first")), Variant(1)}), S_OK);
    ASSERT_EQ(dictionary.call(L"Add", {Variant(std::string_view("M\xFCller")),
                                       Variant(std::string_view("Gr\xFC\xDF"
                                                                "e"))}),
              S_OK);
    EXPECT_EQ(dictionary.number(L"Count"), 2);

    Variant item;
    ASSERT_EQ(dictionary.get(L"Item", item, {Variant(std::string_view("M\xFCller"))}), S_OK);
    EXPECT_EQ(item.text(),
              "Gr\xFC\xDF"
              "e");
    ASSERT_EQ(dictionary.get(L"Item", item, {Variant(std::string_view("first"))}), S_OK);
    EXPECT_EQ(item.number(), 1);
    EXPECT_EQ(item.text(), "1");
    EXPECT_TRUE(item.truth());
}

TEST_F(Automation, AnIndexedPropertyIsAssigned) {
    ASSERT_EQ(dictionary.put(L"Item", {Variant(std::string_view("key"))},
                             Variant(std::string_view("value"))),
              S_OK);
    Variant item;
    ASSERT_EQ(dictionary.get(L"Item", item, {Variant(std::string_view("key"))}), S_OK);
    EXPECT_EQ(item.text(), "value");
}

TEST_F(Automation, ForEachWalksTheCollectionInItsOrder) {
    for (const char* key : {"b", "a", "c"}) {
        ASSERT_EQ(dictionary.call(L"Add", {Variant(std::string_view(key)), Variant(0)}), S_OK);
    }
    std::vector<Variant> keys;
    ASSERT_EQ(dictionary.elements(keys), S_OK);
    EXPECT_EQ(texts(keys), (std::vector<std::string>{"b", "a", "c"}));
}

// Objects go in as arguments and come back as objects, as the drivers of the exclusion list do.
TEST_F(Automation, ObjectsPassBothWays) {
    Dispatch inner;
    ASSERT_EQ(Dispatch::create("Scripting.Dictionary", inner), S_OK);
    ASSERT_EQ(inner.call(L"Add", {Variant(std::string_view("x")), Variant(7)}), S_OK);
    ASSERT_EQ(
        dictionary.call(L"Add", {Variant(std::string_view("inner")), Variant(inner.native())}),
        S_OK);

    Variant held;
    ASSERT_EQ(dictionary.get(L"Item", held, {Variant(std::string_view("inner"))}), S_OK);
    const Dispatch back = Dispatch::of(held);
    ASSERT_FALSE(back.empty());
    EXPECT_EQ(back.number(L"Count"), 1);
    EXPECT_TRUE(Dispatch::of(Variant(3)).empty());
}

TEST_F(Automation, FailuresComeBackAsTheirResults) {
    Variant none;
    EXPECT_EQ(dictionary.get(L"NoSuchMember", none), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(dictionary.text(L"NoSuchMember"), "");
    EXPECT_EQ(dictionary.number(L"NoSuchMember"), 0);
    EXPECT_TRUE(dictionary.collection(L"NoSuchMember").empty());

    // The object's own error, raised through its exception information: a key added twice.
    ASSERT_EQ(dictionary.call(L"Add", {Variant(std::string_view("k")), Variant(1)}), S_OK);
    const HRESULT twice = dictionary.call(L"Add", {Variant(std::string_view("k")), Variant(2)});
    EXPECT_TRUE(FAILED(twice));
    EXPECT_NE(twice, DISP_E_EXCEPTION);

    EXPECT_EQ(Dispatch().call(L"Add"), E_POINTER);
}

}  // namespace
}  // namespace ombrel::win32
