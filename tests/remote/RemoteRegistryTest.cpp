#include "remote/RemoteRegistry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

#include "support/ToolContext.h"

namespace ombrel::remote {
namespace {

using namespace ombrel::platform;
using test::ToolContext;
using testing::ElementsAre;
using testing::IsEmpty;

constexpr const char* kPrint = "Software\\Ombrel\\Print";
constexpr const char* kServer = "SRV1";

struct Stored {
    DWORD type = 0;
    std::string bytes;
    bool operator==(const Stored&) const = default;
};

class RemoteRegistryTest : public testing::Test {
  protected:
    RemoteRegistryTest() {
        tool.farm.addMachine(kServer, "10.0.0.11");
        tool.farm.addMachine("DOWN", "10.0.0.12", /*online=*/false);
    }

    // What the server's registry holds, read without the tool; nullopt when absent.
    std::optional<Stored> stored(const std::string& key, const std::string& name,
                                 const std::string& machine = kServer) {
        Registry& reg = tool.farm.farm().registry();
        HKEY root = 0, handle = 0;
        if (reg.connectRegistry(machine, HKEY_LOCAL_MACHINE, root) != 0) {
            return std::nullopt;
        }
        std::optional<Stored> result;
        if (reg.openKey(root, key, KEY_READ, handle) == 0) {
            DWORD type = 0, size = 0;
            if (reg.queryValue(handle, name, &type, nullptr, &size) == 0) {
                std::string bytes(size, '\0');
                reg.queryValue(handle, name, &type, reinterpret_cast<BYTE*>(bytes.data()), &size);
                result = Stored{type, bytes};
            }
            reg.closeKey(handle);
        }
        reg.closeKey(root);
        return result;
    }

    void store(const std::string& key, const std::string& name, DWORD type,
               const std::string& bytes) {
        Registry& reg = tool.farm.farm().registry();
        HKEY root = 0, handle = 0;
        ASSERT_EQ(reg.connectRegistry(kServer, HKEY_LOCAL_MACHINE, root), 0);
        ASSERT_EQ(reg.createKey(root, key, KEY_ALL_ACCESS, handle), 0);
        ASSERT_EQ(reg.setValue(handle, name, type, reinterpret_cast<const BYTE*>(bytes.data()),
                               static_cast<DWORD>(bytes.size())),
                  0);
        reg.closeKey(handle);
        reg.closeKey(root);
    }

    static std::string dword(std::int32_t n) {
        std::string bytes(4, '\0');
        std::memcpy(bytes.data(), &n, 4);
        return bytes;
    }

    ToolContext tool;
    RemoteRegistry registry{tool.context};
};

TEST_F(RemoteRegistryTest, SetValueCreatesTheKeyPathAndWritesEachType) {
    EXPECT_TRUE(registry.SetValue(HKEY_LOCAL_MACHINE, kPrint, "DefaultPrnFlags", 64.0, 4, kServer));
    EXPECT_TRUE(
        registry.SetValue(HKEY_LOCAL_MACHINE, kPrint, "Name", std::string("Café"), 1, kServer));
    EXPECT_TRUE(registry.SetValue(HKEY_LOCAL_MACHINE, "Software\\Ombrel\\UniversalPrintDrivers",
                                  "Driver List", std::string("a\0b\0", 4), 7, kServer));

    EXPECT_EQ(stored(kPrint, "DefaultPrnFlags"), (Stored{REG_DWORD, dword(64)}));
    EXPECT_EQ(stored(kPrint, "Name"), (Stored{REG_SZ, std::string("Caf\xE9\0", 5)}));
    EXPECT_EQ(stored("Software\\Ombrel\\UniversalPrintDrivers", "Driver List"),
              (Stored{REG_MULTI_SZ, std::string("a\0b\0\0", 5)}));

    EXPECT_EQ(registry.GetValue(HKEY_LOCAL_MACHINE, kPrint, "DefaultPrnFlags", kServer),
              RegValue(std::int32_t{64}));
    EXPECT_EQ(registry.GetValue(HKEY_LOCAL_MACHINE, kPrint, "Name", kServer),
              RegValue(std::string("Café")));
    EXPECT_EQ(registry.GetValue(HKEY_LOCAL_MACHINE, "Software\\Ombrel\\UniversalPrintDrivers",
                                "Driver List", kServer),
              RegValue(std::string("a\0b\0", 4)));
}

TEST_F(RemoteRegistryTest, LeadingBackslashNamesTheSameKey) {
    registry.SetValue(HKEY_LOCAL_MACHINE, "\\Software\\Ombrel\\Print", "CompressionLevel", 3.0, 4,
                      kServer);
    EXPECT_EQ(registry.GetValue(HKEY_LOCAL_MACHINE, kPrint, "CompressionLevel", kServer),
              RegValue(std::int32_t{3}));
    EXPECT_EQ(registry.GetValue(HKEY_LOCAL_MACHINE, "\\Software\\Ombrel\\Print", "CompressionLevel",
                                kServer),
              RegValue(std::int32_t{3}));
}

TEST_F(RemoteRegistryTest, ExistingTypeWinsOverTheCallers) {
    store(kPrint, "AsText", REG_SZ, std::string("0\0", 2));
    store(kPrint, "AsNumber", REG_DWORD, dword(5));
    store(kPrint, "AsBinary", REG_BINARY, "\x01\x02");
    store(kPrint, "AsExpand", REG_EXPAND_SZ, std::string("%X%\0", 4));
    store(kPrint, "AsList", REG_MULTI_SZ, std::string("old\0\0", 5));

    EXPECT_TRUE(registry.SetValue(HKEY_LOCAL_MACHINE, kPrint, "AsText", 1.0, 4, kServer));
    EXPECT_TRUE(
        registry.SetValue(HKEY_LOCAL_MACHINE, kPrint, "AsNumber", std::string("12"), 1, kServer));
    EXPECT_TRUE(
        registry.SetValue(HKEY_LOCAL_MACHINE, kPrint, "AsBinary", std::string("x"), 1, kServer));
    EXPECT_TRUE(registry.SetValue(HKEY_LOCAL_MACHINE, kPrint, "AsExpand", 7.0, 4, kServer));
    EXPECT_TRUE(registry.SetValue(HKEY_LOCAL_MACHINE, kPrint, "AsList",
                                  std::string("new\0two\0", 8), 1, kServer));

    EXPECT_EQ(stored(kPrint, "AsText"), (Stored{REG_SZ, std::string("1\0", 2)}));
    EXPECT_EQ(stored(kPrint, "AsNumber"), (Stored{REG_DWORD, dword(12)}));
    EXPECT_EQ(stored(kPrint, "AsBinary"), (Stored{REG_BINARY, "\x01\x02"}));
    EXPECT_EQ(stored(kPrint, "AsExpand"), (Stored{REG_EXPAND_SZ, std::string("%X%\0", 4)}));
    EXPECT_EQ(stored(kPrint, "AsList"), (Stored{REG_MULTI_SZ, std::string("new\0two\0\0", 9)}));
}

TEST_F(RemoteRegistryTest, UnconvertibleNumbersWriteNothingAndTrace) {
    store(kPrint, "AsNumber", REG_DWORD, dword(5));
    tool.takeTraces();

    EXPECT_FALSE(
        registry.SetValue(HKEY_LOCAL_MACHINE, kPrint, "AsNumber", std::string("abc"), 1, kServer));
    EXPECT_FALSE(registry.SetValue(HKEY_LOCAL_MACHINE, kPrint, "Big", 2147483648.0, 4, kServer));
    EXPECT_TRUE(registry.SetValue(HKEY_LOCAL_MACHINE, kPrint, "Max", 2147483647.0, 4, kServer));
    EXPECT_TRUE(registry.SetValue(HKEY_LOCAL_MACHINE, kPrint, "Half", 2.5, 4, kServer));

    EXPECT_EQ(stored(kPrint, "AsNumber"), (Stored{REG_DWORD, dword(5)}));
    EXPECT_EQ(stored(kPrint, "Big"), std::nullopt);
    EXPECT_EQ(stored(kPrint, "Max"), (Stored{REG_DWORD, dword(2147483647)}));
    EXPECT_EQ(stored(kPrint, "Half"), (Stored{REG_DWORD, dword(2)}));
    EXPECT_THAT(tool.takeTraces(), ElementsAre("ERROR: SetValue Could not access SRV1 registry",
                                               "ERROR: SetValue Could not access SRV1 registry"));
}

TEST_F(RemoteRegistryTest, UnreachableComputersShapeTheResultWithoutTrace) {
    for (const char* computer : {"DOWN", "NOSUCH"}) {
        EXPECT_TRUE(registry.SetValue(HKEY_LOCAL_MACHINE, kPrint, "X", 1.0, 4, computer));
        EXPECT_TRUE(isEmpty(registry.GetValue(HKEY_LOCAL_MACHINE, kPrint, "X", computer)));
        EXPECT_EQ(registry.DeleteValue(HKEY_LOCAL_MACHINE, kPrint, "X", computer), 0);
        EXPECT_FALSE(registry.CreateKey(HKEY_LOCAL_MACHINE, kPrint, computer));
        EXPECT_FALSE(registry.DeleteKey(HKEY_LOCAL_MACHINE, kPrint, computer));
        EXPECT_EQ(registry.EnumKey(HKEY_LOCAL_MACHINE, "Software", 0, computer), "");
    }
    EXPECT_THAT(tool.takeTraces(), IsEmpty());
    EXPECT_THAT(tool.boxes.boxes, IsEmpty());
}

TEST_F(RemoteRegistryTest, GetValueBySizeAndType) {
    store(kPrint, "Long", REG_SZ, std::string(300, 'x') + '\0');
    store(kPrint, "Fits", REG_SZ, std::string(254, 'y') + '\0');
    store(kPrint, "Empty", REG_SZ, std::string(1, '\0'));
    store(kPrint, "Binary", REG_BINARY, "\x01\x02\x03\x04");
    store(kPrint, "Flags", REG_DWORD, dword(-1));
    tool.takeTraces();

    EXPECT_TRUE(isEmpty(registry.GetValue(HKEY_LOCAL_MACHINE, kPrint, "Long", kServer)));
    EXPECT_EQ(registry.GetValue(HKEY_LOCAL_MACHINE, kPrint, "Fits", kServer),
              RegValue(std::string(254, 'y')));
    EXPECT_EQ(registry.GetValue(HKEY_LOCAL_MACHINE, kPrint, "Empty", kServer),
              RegValue(std::string()));
    EXPECT_TRUE(isEmpty(registry.GetValue(HKEY_LOCAL_MACHINE, kPrint, "Binary", kServer)));
    EXPECT_TRUE(isEmpty(registry.GetValue(HKEY_LOCAL_MACHINE, kPrint, "Absent", kServer)));
    EXPECT_TRUE(isEmpty(registry.GetValue(HKEY_LOCAL_MACHINE, "Software\\Nowhere", "X", kServer)));
    EXPECT_EQ(registry.GetValue(HKEY_LOCAL_MACHINE, kPrint, "Flags", kServer),
              RegValue(std::int32_t{-1}));
    EXPECT_THAT(tool.takeTraces(), ElementsAre("GetValue 0 -1"));
}

TEST_F(RemoteRegistryTest, TextFormsOfResults) {
    EXPECT_EQ(textOf(RegValue(std::int32_t{1})), "1");
    EXPECT_EQ(textOf(RegValue(std::string("x"))), "x");
    EXPECT_EQ(textOf(RegValue(RegEmpty{})), "");
    EXPECT_EQ(textOf(RegValue(RegNull{})), "");
}

TEST_F(RemoteRegistryTest, DeleteValueGivesTheWindowsCode) {
    store(kPrint, "Gone", REG_DWORD, dword(1));
    EXPECT_EQ(registry.DeleteValue(HKEY_LOCAL_MACHINE, kPrint, "Gone", kServer), 0);
    EXPECT_EQ(stored(kPrint, "Gone"), std::nullopt);
    EXPECT_EQ(registry.DeleteValue(HKEY_LOCAL_MACHINE, kPrint, "Gone", kServer), 2);
    EXPECT_EQ(registry.DeleteValue(HKEY_LOCAL_MACHINE, "Software\\Nowhere", "Gone", kServer), 0);
}

TEST_F(RemoteRegistryTest, KeysAreCreatedEnumeratedAndDeletedDeepestFirst) {
    EXPECT_TRUE(registry.CreateKey(HKEY_USERS, "Software\\Ombrel\\PrinterProperties\\B", kServer));
    EXPECT_TRUE(registry.CreateKey(HKEY_USERS, "Software\\Ombrel\\PrinterProperties\\a", kServer));
    EXPECT_TRUE(registry.CreateKey(HKEY_USERS, "Software\\Ombrel\\PrinterProperties\\a", kServer));

    const char* parent = "Software\\Ombrel\\PrinterProperties";
    EXPECT_EQ(registry.EnumKey(HKEY_USERS, parent, 0, kServer), "a");
    EXPECT_EQ(registry.EnumKey(HKEY_USERS, parent, 1, kServer), "B");
    EXPECT_EQ(registry.EnumKey(HKEY_USERS, parent, 2, kServer), "");
    EXPECT_EQ(registry.EnumKey(HKEY_USERS, parent, 0, ""),
              "");  // another machine's registry

    tool.takeTraces();
    EXPECT_FALSE(registry.DeleteKey(HKEY_USERS, parent, kServer));
    EXPECT_THAT(tool.takeTraces(),
                ElementsAre("Could not delete registry key Software\\Ombrel\\PrinterProperties"));
    EXPECT_TRUE(
        registry.DeleteKey(HKEY_USERS, "\\Software\\Ombrel\\PrinterProperties\\a", kServer));
    EXPECT_TRUE(registry.DeleteKey(HKEY_USERS, "Software\\Ombrel\\PrinterProperties\\B", kServer));
    EXPECT_TRUE(registry.DeleteKey(HKEY_USERS, parent, kServer));
    EXPECT_EQ(registry.EnumKey(HKEY_USERS, "Software\\Ombrel", 0, kServer), "");
}

TEST_F(RemoteRegistryTest, EmptyComputerNameIsTheLocalMachine) {
    registry.SetValue(HKEY_LOCAL_MACHINE, "Software\\Ombrel\\Install", "Location",
                      std::string("C:\\Program Files\\Ombrel\\"), 1, "");
    EXPECT_EQ(registry.GetValue(HKEY_LOCAL_MACHINE, "Software\\Ombrel\\Install", "Location",
                                test::TempFarm::kLocal),
              RegValue(std::string("C:\\Program Files\\Ombrel\\")));
}

// A registry that fails inside the operation, as a broken connection would.
class FaultingRegistry : public Registry {
  public:
    explicit FaultingRegistry(Registry& inner) : inner_(inner) {}
    LONG connectRegistry(std::string_view m, HKEY r, HKEY& out) override {
        return inner_.connectRegistry(m, r, out);
    }
    LONG createKey(HKEY, std::string_view, DWORD, HKEY&) override {
        throw std::runtime_error("fault");
    }
    LONG openKey(HKEY, std::string_view, DWORD, HKEY&) override {
        throw std::runtime_error("fault");
    }
    LONG queryValue(HKEY, std::string_view, DWORD*, BYTE*, DWORD*) override { return 2; }
    LONG setValue(HKEY, std::string_view, DWORD, const BYTE*, DWORD) override { return 5; }
    LONG deleteValue(HKEY, std::string_view) override { return 5; }
    LONG deleteKey(HKEY, std::string_view) override { throw std::runtime_error("fault"); }
    LONG enumKey(HKEY, DWORD, char*, DWORD*) override { return 259; }
    LONG enumValue(HKEY, DWORD, char*, DWORD*, DWORD*, DWORD*) override { return 259; }
    LONG flushKey(HKEY) override { return 0; }
    LONG closeKey(HKEY key) override {
        ++closed;
        return inner_.closeKey(key);
    }
    int closed = 0;

  private:
    Registry& inner_;
};

TEST_F(RemoteRegistryTest, FaultsAreAbsorbedWithTheirTraceOrBox) {
    FaultingRegistry faulting(tool.farm.farm().registry());
    Platform platform = tool.farm.platform();
    Platform broken{faulting,          platform.services, platform.eventLog,
                    platform.messages, platform.spooler,  platform.icmp,
                    platform.system,   platform.shell,    platform.farm};
    core::AppContext context(broken, tool.state, tool.boxes);
    RemoteRegistry faultyRegistry(context);
    tool.takeTraces();

    EXPECT_FALSE(faultyRegistry.CreateKey(HKEY_LOCAL_MACHINE, kPrint, kServer));
    EXPECT_FALSE(faultyRegistry.DeleteKey(HKEY_LOCAL_MACHINE, kPrint, kServer));
    EXPECT_EQ(faultyRegistry.EnumKey(HKEY_LOCAL_MACHINE, kPrint, 0, kServer), "");
    EXPECT_FALSE(faultyRegistry.SetValue(HKEY_LOCAL_MACHINE, kPrint, "X", 1.0, 4, kServer));
    EXPECT_EQ(faultyRegistry.GetValue(HKEY_LOCAL_MACHINE, kPrint, "X", kServer),
              RegValue(RegNull{}));
    EXPECT_EQ(faultyRegistry.DeleteValue(HKEY_LOCAL_MACHINE, kPrint, "X", kServer), 1);

    EXPECT_THAT(tool.takeTraces(), ElementsAre("ERROR: Could not access SRV1 registry",
                                               "ERROR: Could not access SRV1 registry",
                                               "ERROR: Could not access SRV1 registry",
                                               // SetValue's own CreateKey, then SetValue itself
                                               "ERROR: Could not access SRV1 registry",
                                               "ERROR: SetValue Could not access SRV1 registry"));
    const test::RecordedBox box{"Could not access SRV1 registry", "Ombrel Printing Tool",
                                core::BoxIcon::None, core::BoxButtons::Ok};
    EXPECT_THAT(tool.boxes.boxes, ElementsAre(box, box));
    EXPECT_EQ(faulting.closed, 7);  // every connection opened was closed again
}

}  // namespace
}  // namespace ombrel::remote
