#include "settings/Registry.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "TestSupport.h"
#include "platform/regfile/MemoryRegistryStore.h"
#include "settings/RegIniFile.h"
#ifdef _WIN32
#include "platform/win32/ScratchRegistryStore.h"
#else
#include "platform/regfile/RegFileStore.h"
#endif

namespace corvane {
namespace {

using win::kHKeyLocalMachine;

// Every registry rule must hold the same on each back end.
struct Backend {
    const char* name;
    std::function<std::unique_ptr<RegistryStore>(const test::TempDir&)> make;
    bool sortsSubkeys = false;  // the Windows registry lists subkeys by name
};

void PrintTo(const Backend& backend, std::ostream* out) {
    *out << backend.name;
}

const Backend kBackends[] = {
    {"memory", [](const test::TempDir&) { return std::make_unique<MemoryRegistryStore>(); }},
#ifdef _WIN32
    {"win32", [](const test::TempDir&) { return std::make_unique<test::ScratchRegistryStore>(); },
     true},
#else
    {"regfile",
     [](const test::TempDir& dir) {
         return std::make_unique<RegFileStore>(dir.file("registry.reg"));
     }},
#endif
};

class RegistryRules : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override {
        store = GetParam().make(dir);
        reg = std::make_unique<TRegistry>(*store);
        reg->SetRootKey(kHKeyLocalMachine);
    }

    std::string raisedBy(const std::function<void()>& action) {
        try {
            action();
        } catch (const ERegistryException& e) {
            return e.what();
        }
        return "nothing raised";
    }

    test::TempDir dir;
    std::unique_ptr<RegistryStore> store;
    std::unique_ptr<TRegistry> reg;
};

TEST_P(RegistryRules, NewObjectStartsAtCurrentUserWithNoKey) {
    TRegistry fresh(*store);
    EXPECT_EQ(fresh.RootKey(), win::kHKeyCurrentUser);
    EXPECT_EQ(fresh.CurrentKey(), 0u);
    EXPECT_EQ(fresh.CurrentPath(), "");
}

TEST_P(RegistryRules, FailedOpenKeepsThePreviousKeyCurrent) {
    ASSERT_TRUE(reg->OpenKey("\\Software\\Ostrelle\\Corvane", true));
    reg->WriteInteger("CoreClk", 110);
    EXPECT_FALSE(reg->OpenKey("\\Software\\Missing", false));
    EXPECT_EQ(reg->CurrentPath(), "Software\\Ostrelle\\Corvane");
    EXPECT_EQ(ReadIntegerDef(*reg, "CoreClk", 0), 110);
}

TEST_P(RegistryRules, RelativePathsStartAtTheCurrentKey) {
    ASSERT_TRUE(reg->OpenKey("Software", true));  // no current key: from the root
    EXPECT_EQ(reg->CurrentPath(), "Software");
    ASSERT_TRUE(reg->OpenKey("ATI Technologies\\Driver", true));
    EXPECT_EQ(reg->CurrentPath(), "Software\\ATI Technologies\\Driver");
    ASSERT_TRUE(reg->OpenKey("\\SOFTWARE\\ati technologies", false));
    EXPECT_EQ(reg->CurrentPath(), "SOFTWARE\\ati technologies");
    std::vector<std::string> names;
    reg->GetKeyNames(names);
    EXPECT_EQ(names, std::vector<std::string>{"Driver"});  // keeps its spelling
}

TEST_P(RegistryRules, ReadDefOperationsFallBackAsTheWindowExpects) {
    ASSERT_TRUE(reg->OpenKey("\\Software\\ATI Technologies\\Driver\\ddhal", true));
    reg->WriteString("AntiAlias", "1");
    reg->WriteInteger("Dword", 5);
    struct Case {
        const char* name;
        const char* fallback;
        const char* expected;
    };
    // A missing string reads as the empty text, not as the fallback.
    for (const Case& c :
         {Case{"Missing", "1", ""}, Case{"Dword", "0", "0"}, Case{"AntiAlias", "0", "1"}}) {
        EXPECT_EQ(ReadStringDef(*reg, c.name, c.fallback), c.expected) << c.name;
    }
    EXPECT_EQ(ReadIntegerDef(*reg, "AntiAlias", 7), 7);  // REG_SZ "1" is no number
    EXPECT_EQ(ReadIntegerDef(*reg, "Missing", 9), 9);
    EXPECT_EQ(ReadIntegerDef(*reg, "Dword", 9), 5);
}

TEST_P(RegistryRules, ReadsRaiseTheirMessages) {
    ASSERT_TRUE(reg->OpenKey("\\Software\\Test", true));
    reg->WriteString("Text", "abc");
    reg->WriteInteger("Number", -2);
    EXPECT_EQ(raisedBy([&] { reg->ReadInteger("Gone"); }), "Failed to get data for 'Gone'");
    EXPECT_EQ(raisedBy([&] { reg->ReadInteger("Text"); }), "Invalid data type for 'Text'");
    EXPECT_EQ(raisedBy([&] { reg->ReadBool("Text"); }), "Invalid data type for 'Text'");
    EXPECT_EQ(raisedBy([&] { reg->ReadString("Number"); }), "Invalid data type for 'Number'");
    EXPECT_EQ(reg->ReadInteger("Number"), -2);
    EXPECT_TRUE(reg->ReadBool("Number"));
    EXPECT_EQ(reg->ReadString("Gone"), "");
}

TEST_P(RegistryRules, ReadStringTakesExpandStringsUnexpandedAndStopsAtNul) {
    ASSERT_TRUE(reg->OpenKey("\\Software\\Test", true));
    const std::string expand("%TEMP%\\x\0tail\0", 14);
    ASSERT_EQ(store->setValue(reg->CurrentKey(), "Expand", win::kRegExpandSz,
                              reinterpret_cast<const std::uint8_t*>(expand.data()), 14),
              0);
    ASSERT_EQ(store->setValue(reg->CurrentKey(), "NoData", win::kRegSz, nullptr, 0), 0);
    EXPECT_EQ(reg->ReadString("Expand"), "%TEMP%\\x");
    EXPECT_EQ(reg->ReadString("NoData"), "");
}

TEST_P(RegistryRules, ReadBinaryDataRules) {
    ASSERT_TRUE(reg->OpenKey("\\Hardware\\Test", true));
    const std::uint8_t bytes[] = {1, 2, 3, 4, 5};
    ASSERT_EQ(store->setValue(reg->CurrentKey(), "Bin", win::kRegBinary, bytes, 5), 0);
    ASSERT_EQ(store->setValue(reg->CurrentKey(), "Multi", win::kRegMultiSz,
                              reinterpret_cast<const std::uint8_t*>("a\0\0"), 3),
              0);
    reg->WriteString("Text", "x");
    reg->WriteInteger("Dword", 1);
    std::uint8_t buffer[8] = {};
    EXPECT_EQ(reg->ReadBinaryData("Missing", buffer, 8), 0);
    EXPECT_EQ(reg->ReadBinaryData("Bin", buffer, 8), 5);
    EXPECT_EQ(buffer[4], 5);
    EXPECT_EQ(reg->ReadBinaryData("Multi", buffer, 8), 3);
    EXPECT_EQ(raisedBy([&] { reg->ReadBinaryData("Bin", buffer, 4); }),
              "Invalid data type for 'Bin'");
    EXPECT_EQ(raisedBy([&] { reg->ReadBinaryData("Text", buffer, 8); }),
              "Invalid data type for 'Text'");
    EXPECT_EQ(raisedBy([&] { reg->ReadBinaryData("Dword", buffer, 8); }),
              "Invalid data type for 'Dword'");
}

TEST_P(RegistryRules, WritesAndDeletes) {
    ASSERT_TRUE(reg->OpenKey("\\Software\\Test", true));
    reg->WriteString("", "default");
    reg->WriteBool("Flag", true);
    reg->WriteInteger("Neg", -1);
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    ASSERT_EQ(store->queryValue(reg->CurrentKey(), "", &type, nullptr, &size), 0);
    EXPECT_EQ(type, win::kRegSz);
    EXPECT_EQ(size, 8u);  // text and its terminating NUL
    EXPECT_EQ(reg->ReadString(""), "default");
    EXPECT_EQ(reg->ReadInteger("Flag"), 1);
    EXPECT_EQ(reg->ReadInteger("Neg"), -1);
    EXPECT_TRUE(reg->ValueExists("flag"));
    EXPECT_TRUE(reg->DeleteValue("FLAG"));
    EXPECT_FALSE(reg->ValueExists("Flag"));
    EXPECT_FALSE(reg->DeleteValue("Flag"));
}

TEST_P(RegistryRules, WritingWithoutAKeyRaises) {
    TRegistry loose(*store);
    EXPECT_EQ(raisedBy([&] { loose.WriteInteger("x", 1); }), "Failed to set data for 'x'");
    EXPECT_EQ(raisedBy([&] { loose.WriteString("y", "1"); }), "Failed to set data for 'y'");
}

TEST_P(RegistryRules, GetKeyNamesListsSubkeysInStoreOrder) {
    ASSERT_TRUE(reg->OpenKey("\\Software\\ATI Technologies\\Driver\\ATIDAL", true));
    std::vector<std::string> names{"stale"};
    reg->GetKeyNames(names);
    EXPECT_TRUE(names.empty());
    reg->CreateKey("0001");
    reg->CreateKey("0000");
    reg->GetKeyNames(names);
    const std::vector<std::string> made{"0001", "0000"};
    const std::vector<std::string> sorted{"0000", "0001"};
    EXPECT_EQ(names, GetParam().sortsSubkeys ? sorted : made);
    TRegistry none(*store);
    none.GetKeyNames(names);
    EXPECT_TRUE(names.empty());
}

TEST_P(RegistryRules, CreateKeyLeavesTheCurrentKeyAlone) {
    ASSERT_TRUE(reg->OpenKey("\\Software\\Test", true));
    reg->CreateKey("Sub");
    reg->CreateKey("Sub");  // existing: fine
    reg->CreateKey("\\Software\\Elsewhere");
    EXPECT_EQ(reg->CurrentPath(), "Software\\Test");
    EXPECT_TRUE(reg->OpenKey("\\Software\\Elsewhere", false));
    // A path may not begin with a backslash once the root's own is taken off.
    EXPECT_EQ(raisedBy([&] { reg->CreateKey("\\\\name"); }), "Failed to create key \\\\name");
}

TEST_P(RegistryRules, SetRootKeyClosesTheCurrentKeyOnlyWhenItChanges) {
    ASSERT_TRUE(reg->OpenKey("\\Software", true));
    reg->SetRootKey(kHKeyLocalMachine);
    EXPECT_EQ(reg->CurrentPath(), "Software");
    reg->SetRootKey(win::kHKeyCurrentUser);
    EXPECT_EQ(reg->CurrentKey(), 0u);
    EXPECT_FALSE(reg->OpenKey("\\Software", false));
}

TEST_P(RegistryRules, RegIniFileReadsSectionsWithoutMovingTheCurrentKey) {
    {
        TRegistry writer(*store);
        writer.SetRootKey(kHKeyLocalMachine);
        ASSERT_TRUE(writer.OpenKey("\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion", true));
        writer.WriteString("RegisteredOwner", "Ada");
        writer.WriteInteger("RegisteredOrganization", 3);
    }
    TRegIniFile ini(*store, "");
    ini.SetRootKey(kHKeyLocalMachine);
    ini.OpenKey("\\SOFTWARE\\Microsoft\\Windows", false);
    EXPECT_EQ(ini.ReadString("CurrentVersion", "RegisteredOwner", "unknown"), "Ada");
    EXPECT_EQ(ini.ReadString("CurrentVersion", "Missing", "unknown"), "unknown");
    EXPECT_EQ(ini.ReadString("NoSuchSection", "RegisteredOwner", "unknown"), "unknown");
    EXPECT_EQ(
        raisedBy([&] { ini.ReadString("CurrentVersion", "RegisteredOrganization", "unknown"); }),
        "Invalid data type for 'RegisteredOrganization'");
    EXPECT_EQ(ini.CurrentPath(), "SOFTWARE\\Microsoft\\Windows");
}

TEST(RegistryHandles, EveryOpenedKeyIsReleased) {
    MemoryRegistryStore store;
    {
        TRegistry reg(store);
        reg.SetRootKey(kHKeyLocalMachine);
        for (int i = 0; i < 5; ++i) {
            ASSERT_TRUE(reg.OpenKey("\\Software\\Key" + std::to_string(i), true));
            reg.CreateKey("Sub");
            reg.OpenKey("\\Missing", false);
        }
        TRegIniFile ini(store, "");
        ini.SetRootKey(kHKeyLocalMachine);
        ini.OpenKey("\\Software", false);
        ini.ReadString("Key1", "x", "y");
        EXPECT_EQ(store.openHandleCount(), 2u);  // the two current keys
    }
    EXPECT_EQ(store.openHandleCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Backends, RegistryRules, ::testing::ValuesIn(kBackends),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace corvane
