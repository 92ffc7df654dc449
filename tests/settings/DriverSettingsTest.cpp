#include "settings/DriverSettings.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>
#include <variant>

#include "app/ProgramKey.h"
#include "app/RegistryRoutines.h"
#include "fakes/FailingStore.h"
#include "fakes/FakeControls.h"
#include "fakes/FakePlatform.h"
#include "fakes/RegistryValues.h"
#include "settings/DriverSettingsTable.h"

namespace corvane {
namespace {

using test::Value;

class DriverSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { put(kAtiKey, "", Value{}); }

    void put(const std::string& key, const std::string& name, const Value& value) {
        ASSERT_TRUE(values.put(key, name, value));
    }
    Value get(const std::string& key, const std::string& name) { return values.get(key, name); }
    bool keyExists(const std::string& key) { return values.keyExists(key); }
    bool read() {
        TRegistry reg(store);
        return ReadRegistry(reg, controls, dialogs);
    }
    void write() {
        TRegistry reg(store);
        WriteRegistry(reg, controls, "C:\\Tools\\prog.exe", dialogs);
    }

    test::FailingStore store;
    test::RegistryValues values{store};
    test::FakeControls controls;
    test::ScriptedDialogs dialogs;
};

TEST_F(DriverSettingsTest, CheckBoxEncodingsAndFallbacks) {
    struct Case {
        const char* id;
        Value stored;
        bool checked;
    };
    const Case cases[] = {
        {"D3DWaitSync", Value{}, false},
        {"D3DWaitSync", std::string("0"), true},
        {"D3DWaitSync", std::string("1"), false},
        {"D3DWaitSync", std::int32_t{5}, true},
        {"EnableIcon", Value{}, false},
        {"EnableIcon", std::int32_t{0}, true},
        {"EnableIcon", std::string("1"), true},
        {"EnableIcon", std::string("yes"), false},
        {"AntiAlias", std::int32_t{0}, true},
        {"PaletteBased", std::int32_t{1}, false},
        {"Dithering", std::string("1"), true},
        {"D3DTab", Value{}, true},
        {"D3DTab", std::string("1"), true},
        {"D3DTab", std::int32_t{2}, false},
        {"OpenGLTab", std::int32_t{1}, true},
        {"Convert32To16", Value{}, true},
        {"DisDitherAlpha", Value{}, false},
        {"OpenWaitVertSync", std::int32_t{1}, true},
        {"KTXBufferRegion", std::int32_t{0}, false},
        {"MultiTexture", Value{}, true},
        {"HMDLUseAGP", std::int32_t{1}, true},
        {"HMDLUseAGP", std::string("1"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.id) + " " + std::to_string(c.stored.index()));
        controls = test::FakeControls();
        put(kVxdKey, "", Value{});
        const Setting& s = driverSetting(c.id);
        put(s.key, s.valueName, c.stored);
        controls.boxes[c.id] = !c.checked;
        ASSERT_TRUE(read());
        EXPECT_EQ(controls.checked(c.id), c.checked);
        TRegistry reg(store);
        reg.SetRootKey(win::kHKeyLocalMachine);
        ASSERT_TRUE(reg.OpenKey(s.key, true));
        reg.DeleteValue(s.valueName);
    }
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(DriverSettingsTest, ListsAndSliders) {
    struct Case {
        const char* id;
        const char* key;
        const char* name;
        Value stored;
        int before;
        int after;
    };
    const Case cases[] = {
        {"ZBufferCB", kDdhalKey, "ZBufferBitDepth", Value{}, -1, 2},
        {"ZBufferCB", kDdhalKey, "ZBufferBitDepth", std::string("0"), -1, 2},
        {"ZBufferCB", kDdhalKey, "ZBufferBitDepth", std::string("2"), -1, 0},
        {"ZBufferCB", kDdhalKey, "ZBufferBitDepth", std::string("1"), -1, 1},
        {"ZBufferCB", kDdhalKey, "ZBufferBitDepth", std::string("7"), 1, -1},
        {"ZBufferCB", kDdhalKey, "ZBufferBitDepth", std::string("abc"), 1, 2},
        {"ZBufferCB", kDdhalKey, "ZBufferBitDepth", std::int32_t{1}, 1, 2},
        {"SubpixelCB", kOpenGLKey, "OGLSubPixelPrecision", Value{}, -1, 0},
        {"SubpixelCB", kOpenGLKey, "OGLSubPixelPrecision", std::int32_t{4}, -1, 1},
        {"SubpixelCB", kOpenGLKey, "OGLSubPixelPrecision", std::int32_t{3}, -1, 0},
        {"SubpixelCB", kOpenGLKey, "OGLSubPixelPrecision", std::int32_t{5}, -1, 1},
        {"SubpixelCB", kOpenGLKey, "OGLSubPixelPrecision", std::int32_t{8}, 0, -1},
        {"SubpixelCB", kOpenGLKey, "OGLSubPixelPrecision", std::int32_t{1}, 0, -1},
        {"ForceDepthBuffer", kOpenGLPrivateKey, "forceDepthBuffer", std::int32_t{16}, 3, 3},
        {"ForceDepthBuffer", kOpenGLPrivateKey, "forceDepthBuffer", std::int32_t{18}, 3, 2},
        {"ForceDepthBuffer", kOpenGLPrivateKey, "forceDepthBuffer", Value{}, 3, 0},
        {"ModulateFactor", kOpenGLPrivateKey, "modulateFactor", std::int32_t{3}, 1, 1},
        {"ModulateFactor", kOpenGLPrivateKey, "modulateFactor", std::int32_t{4}, 1, 2},
        {"DetailLevel", kOpenGLKey, "OGLLODBias", std::int32_t{9}, 0, 6},
        {"DetailLevel", kOpenGLKey, "OGLLODBias", std::int32_t{-3}, 4, 0},
        {"DetailLevel", kOpenGLKey, "OGLLODBias", Value{}, 4, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.id) + " was " + std::to_string(c.before));
        put(c.key, c.name, c.stored);
        const bool slider = std::string(c.id) == "DetailLevel";
        if (slider) {
            controls.sliders[c.id] = c.before;
        } else {
            controls.lists[c.id] = c.before;
        }
        read();
        EXPECT_EQ(slider ? controls.position(c.id) : controls.itemIndex(c.id), c.after);
        TRegistry reg(store);
        reg.SetRootKey(win::kHKeyLocalMachine);
        ASSERT_TRUE(reg.OpenKey(c.key, false));
        reg.DeleteValue(c.name);
    }
}

TEST_F(DriverSettingsTest, GammaWord) {
    struct Case {
        Value stored;
        int red, green, blue;
    };
    const Case cases[] = {
        {Value{}, 130, 120, 120},
        {std::int32_t{0x00643264}, 100, 50, 100},
        {std::int32_t{0x01000000}, 150, 50, 50},
        {std::int32_t{0x00FF0000}, 150, 50, 50},
    };
    for (const Case& c : cases) {
        put(std::string(kAtiDalKey) + "\\0000", kGammaValue, c.stored);
        read();
        EXPECT_EQ(controls.position("RedGamma"), c.red);
        EXPECT_EQ(controls.position("GreenGamma"), c.green);
        EXPECT_EQ(controls.position("BlueGamma"), c.blue);
        EXPECT_EQ(controls.labels["RedGammaPosLbl"], std::to_string(c.red) + "%");
        EXPECT_EQ(controls.labels["BlueGammaPosLbl"], std::to_string(c.blue) + "%");
    }
    EXPECT_EQ(gammaWord(100, 100, 100), 6579300);
    EXPECT_EQ(gammaWord(150, 50, 100), 0x963264);
}

TEST_F(DriverSettingsTest, GammaComesFromTheFirstDeviceAndGoesToAll) {
    put(std::string(kAtiDalKey) + "\\0001", kGammaValue, std::int32_t{0x00646464});
    put(std::string(kAtiDalKey) + "\\0000", kGammaValue, std::int32_t{0x00505050});
    read();
    EXPECT_EQ(controls.position("RedGamma"), 100);
    controls.sliders["RedGamma"] = 150;
    controls.sliders["GreenGamma"] = 50;
    controls.sliders["BlueGamma"] = 100;
    write();
    EXPECT_EQ(get(std::string(kAtiDalKey) + "\\0000", kGammaValue), Value{std::int32_t{0x963264}});
    EXPECT_EQ(get(std::string(kAtiDalKey) + "\\0001", kGammaValue), Value{std::int32_t{0x963264}});
}

TEST_F(DriverSettingsTest, AnAtiDalKeyWithoutDevicesGainsOne) {
    put(kAtiDalKey, "", Value{});
    read();
    EXPECT_TRUE(keyExists(std::string(kAtiDalKey) + "\\0000"));
    EXPECT_EQ(controls.position("GreenGamma"), 120);
}

TEST_F(DriverSettingsTest, HiddenDirect3DPageLeavesItsKeysAlone) {
    controls.direct3dVisible = false;
    read();
    write();
    EXPECT_FALSE(keyExists(kDdhalKey));
    EXPECT_FALSE(keyExists(kAtiDalKey));
    EXPECT_TRUE(keyExists(kOpenGLPrivateKey));
}

TEST_F(DriverSettingsTest, MissingVxdKeyDisablesHmdlForGood) {
    controls.boxes["HMDLUseAGP"] = false;
    read();
    EXPECT_FALSE(controls.checkEnabled("HMDLUseAGP"));
    EXPECT_EQ(controls.hints["HMDLUseAGP"], "This option is not available under Windows NT.");
    EXPECT_TRUE(dialogs.shown.empty());
    put(kVxdKey, "HMDL_UseAGP", std::int32_t{1});
    read();
    EXPECT_FALSE(controls.checked("HMDLUseAGP"));  // a disabled box keeps its state
    // Apply creates the key and stores the disabled box's state.
    TRegistry reg(store);
    reg.SetRootKey(win::kHKeyLocalMachine);
    reg.OpenKey(kVxdKey, false);
    reg.DeleteValue("HMDL_UseAGP");
    write();
    EXPECT_EQ(get(kVxdKey, "HMDL_UseAGP"), Value{std::int32_t{0}});
}

TEST_F(DriverSettingsTest, ReadingFailures) {
    struct Case {
        const char* blocked;
        const char* message;
        bool desktopRead;
        bool openGLRead;
    };
    const Case cases[] = {
        {"Software\\ATI Technologies\\Driver\\ddhal",
         "Error in ReadRegistry: Cannot access \"ddhal\" registry key.", true, false},
        {"Software\\ATI Technologies\\Driver\\OpenGL",
         "Error in ReadRegistry: Cannot access \"OpenGL\" registry key.", true, false},
        {"Software\\ATI Technologies\\Driver\\OpenGL\\Private",
         "Error in ReadRegistry: Cannot access \"OpenGL(Private)\" registry key.", true, true},
        {"0000", "Error in ReadRegistry: Failed to create key 0000", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.blocked);
        test::FailingStore fresh;
        test::FakeControls view;
        test::ScriptedDialogs shown;
        {
            TRegistry seed(fresh);
            seed.SetRootKey(win::kHKeyLocalMachine);
            seed.OpenKey(kAtiKey, true);
            seed.OpenKey(kDesktopKey, true);
            seed.WriteInteger("D3D", 0);
            seed.OpenKey(kAtiDalKey, true);
        }
        fresh.uncreatable = {c.blocked};
        view.boxes["D3DTab"] = true;
        TRegistry reg(fresh);
        EXPECT_TRUE(ReadRegistry(reg, view, shown));
        EXPECT_EQ(shown.texts(), std::vector<std::string>{c.message});
        EXPECT_EQ(!view.checked("D3DTab"), c.desktopRead);
        EXPECT_EQ(view.checked("Convert32To16"), c.openGLRead);
        EXPECT_TRUE(view.checkEnabled("HMDLUseAGP"));  // never reached
    }
}

TEST_F(DriverSettingsTest, MissingAtiKeyReadsNothing) {
    test::FailingStore empty;
    TRegistry reg(empty);
    controls.boxes["D3DTab"] = false;
    EXPECT_FALSE(ReadRegistry(reg, controls, dialogs));
    EXPECT_FALSE(controls.checked("D3DTab"));
    EXPECT_TRUE(dialogs.shown.empty());
    write();  // on this store the key exists
    test::ScriptedDialogs shown;
    WriteRegistry(reg, controls, "x", shown);
    EXPECT_EQ(shown.texts(), std::vector<std::string>{
                                 "Error in WriteRegistry: Cannot find ATI Technologies registry."});
    EXPECT_EQ(empty.writeCount, 0);
}

TEST_F(DriverSettingsTest, WritingEncodings) {
    put(kDesktopKey, "", Value{});
    put("\\Software\\Microsoft\\Windows\\CurrentVersion\\RunServices", "", Value{});
    for (const auto& [id, checked] : {std::pair{"D3DWaitSync", true},
                                      {"AntiAlias", true},
                                      {"D3DTab", false},
                                      {"OpenGLTab", true},
                                      {"MultiTexture", true}})
        controls.boxes[id] = checked;
    for (const auto& [id, index] : {std::pair{"ZBufferCB", 0},
                                    {"SubpixelCB", -1},
                                    {"ForceDepthBuffer", 3},
                                    {"ModulateFactor", -1}})
        controls.lists[id] = index;
    controls.sliders["DetailLevel"] = 5;
    write();
    const std::pair<std::pair<const char*, const char*>, Value> expected[] = {
        {{kDdhalKey, "Break"}, std::string("0")},
        {{kDdhalKey, "AntiAlias"}, std::string("1")},
        {{kDdhalKey, "Palette"}, std::string("0")},
        {{kDdhalKey, "ZBufferBitDepth"}, std::string("2")},
        {{kDesktopKey, "D3D"}, std::int32_t{0}},
        {{kDesktopKey, "OpenGL"}, std::int32_t{1}},
        {{kOpenGLKey, "OGLSubPixelPrecision"}, Value{}},  // no entry chosen: nothing written
        {{kOpenGLKey, "OGLLODBias"}, std::int32_t{5}},
        {{kOpenGLKey, "OGLConvertTextures32To16"}, std::int32_t{0}},
        {{kOpenGLPrivateKey, "forceDepthBuffer"}, std::int32_t{20}},
        {{kOpenGLPrivateKey, "modulateFactor"}, Value{}},
        {{kOpenGLPrivateKey, "enableMultiTexture"}, std::int32_t{1}},
        {{kVxdKey, "HMDL_UseAGP"}, std::int32_t{0}},
        {{kProgramKey, "LoadOnStartup"}, std::int32_t{0}},
    };
    for (const auto& [where, value] : expected)
        EXPECT_EQ(get(where.first, where.second), value) << where.second;
    controls.boxes["D3DWaitSync"] = false;
    controls.lists["ZBufferCB"] = -1;
    controls.lists["SubpixelCB"] = 1;
    write();
    EXPECT_EQ(get(kDdhalKey, "Break"), Value{std::string("1")});
    EXPECT_EQ(get(kDdhalKey, "ZBufferBitDepth"), Value{std::string("2")});  // kept
    EXPECT_EQ(get(kOpenGLKey, "OGLSubPixelPrecision"), Value{std::int32_t{4}});
    EXPECT_TRUE(dialogs.shown.empty());
}

// A stored value that no entry of its list stands for shows no selection; Apply then keeps it
// rather than overwriting what the driver or another tool set.
TEST_F(DriverSettingsTest, AppliedListsKeepValuesTheyCouldNotShow) {
    put(kDesktopKey, "", Value{});
    put("\\Software\\Microsoft\\Windows\\CurrentVersion\\RunServices", "", Value{});
    const std::tuple<const char*, const char*, const char*, Value> cases[] = {
        {"ZBufferCB", kDdhalKey, "ZBufferBitDepth", std::string("7")},
        {"SubpixelCB", kOpenGLKey, "OGLSubPixelPrecision", std::int32_t{8}},
        {"ForceDepthBuffer", kOpenGLPrivateKey, "forceDepthBuffer", std::int32_t{16}},
        {"ModulateFactor", kOpenGLPrivateKey, "modulateFactor", std::int32_t{3}},
    };
    for (const auto& [id, key, name, value] : cases)
        put(key, name, value);
    read();
    write();
    for (const auto& [id, key, name, value] : cases) {
        EXPECT_EQ(controls.itemIndex(id), -1) << id;
        EXPECT_EQ(get(key, name), value) << name;
    }
}

TEST_F(DriverSettingsTest, EnableIconIsWrittenOnlyWhenItDiffers) {
    put(kDesktopKey, "", Value{});
    put("\\Software\\Microsoft\\Windows\\CurrentVersion\\RunServices", "", Value{});
    controls.boxes["EnableIcon"] = false;
    write();
    EXPECT_EQ(get(kDesktopKey, "EnableIcon"), Value{});  // missing stays missing
    put(kDesktopKey, "EnableIcon", std::string("1"));
    controls.boxes["EnableIcon"] = true;
    store.writes.clear();
    write();
    EXPECT_EQ(store.writes.count("EnableIcon"), 0u);
    controls.boxes["EnableIcon"] = false;
    write();
    EXPECT_EQ(get(kDesktopKey, "EnableIcon"), Value{std::string("0")});
}

TEST_F(DriverSettingsTest, WritingFailuresKeepWhatWasWritten) {
    for (const Setting& s : driverSettings()) {
        if (s.kind == ControlKind::List) controls.lists[s.id] = 0;
    }
    struct Case {
        std::function<void(test::FailingStore&)> block;
        const char* message;
        const char* writtenBefore;
        const char* notWritten;
    };
    const Case cases[] = {
        {[](auto& s) { s.uncreatable = {"Software\\ATI Technologies\\Driver\\ddhal"}; },
         "Error in WriteRegistry: Cannot access \"ddhal\" registry key.", "D3D", "Break"},
        {[](auto& s) { s.uncreatable = {"Software\\ATI Technologies\\Driver\\OpenGL"}; },
         "Error in WriteRegistry: Cannot access \"OpenGL\" registry key.", "DALGameGammaScale",
         "OGLConvertTextures32To16"},
        {[](auto& s) { s.uncreatable = {"Software\\ATI Technologies\\Driver\\OpenGL\\Private"}; },
         "Error in WriteRegistry: Cannot access \"OpenGL(Private)\" registry key.", "OGLLODBias",
         "enableMultiTexture"},
        {[](auto& s) { s.uncreatable = {"Software\\ATI Technologies\\Driver\\VXD"}; },
         "Error in WriteRegistry: Cannot access \"VXD\" registry key.", "modulateFactor",
         "LoadOnStartup"},
        {[](auto& s) { s.unwritable = {"Palette"}; },
         "Error in WriteRegistry: Failed to set data for 'Palette'", "AntiAlias", "DitherInit"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        test::FailingStore fresh;
        {
            TRegistry seed(fresh);
            seed.SetRootKey(win::kHKeyLocalMachine);
            seed.OpenKey(kDesktopKey, true);
            seed.OpenKey(std::string(kAtiDalKey) + "\\0000", true);
        }
        c.block(fresh);
        fresh.writes.clear();
        test::ScriptedDialogs shown;
        TRegistry reg(fresh);
        WriteRegistry(reg, controls, "x", shown);
        EXPECT_EQ(shown.texts(), std::vector<std::string>{c.message});
        EXPECT_EQ(fresh.writes.count(c.writtenBefore), 1u);
        EXPECT_EQ(fresh.writes.count(c.notWritten), 0u);
    }
}

TEST_F(DriverSettingsTest, StartupEntryFollowsTheBox) {
    const std::string runServices = "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
    put(runServices, "Other", std::string("keep"));
    controls.boxes["StartupSettings"] = true;
    write();
    EXPECT_EQ(get(kProgramKey, "LoadOnStartup"), Value{std::int32_t{1}});
    EXPECT_EQ(get(runServices, "Corvane"), Value{std::string("\"C:\\Tools\\prog.exe\" /setclock")});
    EXPECT_EQ(startupEntryData("C:\\Tools\\prog.exe").size(), 29u);
    controls.boxes["StartupSettings"] = false;
    write();
    EXPECT_EQ(get(kProgramKey, "LoadOnStartup"), Value{std::int32_t{0}});
    EXPECT_EQ(get(runServices, "Corvane"), Value{});
    EXPECT_EQ(get(runServices, "Other"), Value{std::string("keep")});
    write();  // nothing to delete: still no message
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(DriverSettingsTest, StartupEntryWithoutRunServicesOrProgramKey) {
    controls.boxes["StartupSettings"] = true;
    write();
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Cannot find RunServices registry"});
    EXPECT_EQ(get(kProgramKey, "LoadOnStartup"), Value{std::int32_t{1}});
    dialogs.shown.clear();
    put("\\Software\\Microsoft\\Windows\\CurrentVersion\\RunServices", "", Value{});
    store.unopenable = {"Software\\Ostrelle\\Corvane"};
    controls.boxes["StartupSettings"] = false;
    write();
    EXPECT_TRUE(dialogs.shown.empty());
    store.unopenable.clear();
    EXPECT_EQ(get(kProgramKey, "LoadOnStartup"), Value{std::int32_t{1}});  // skipped silently
}

TEST_F(DriverSettingsTest, ProgramKeyAtWindowCreation) {
    struct Case {
        Value firstRun;
        Value newDrivers;
        bool isFirstRun;
        bool hasNewDrivers;
    };
    const Case cases[] = {
        {Value{}, Value{}, true, true},
        {std::int32_t{0}, Value{}, false, true},
        {std::int32_t{2}, std::int32_t{0}, false, false},
        {std::string("1"), std::string("0"), true, true},
        {std::int32_t{1}, std::int32_t{7}, true, true},
    };
    for (const Case& c : cases) {
        TRegistry reg(store);
        reg.SetRootKey(win::kHKeyLocalMachine);
        reg.OpenKey(kProgramKey, true);
        reg.DeleteValue(kFirstRunValue);
        reg.DeleteValue(kNewDriversValue);
        put(kProgramKey, kFirstRunValue, c.firstRun);
        put(kProgramKey, kNewDriversValue, c.newDrivers);
        put(kProgramKey, kIOBaseValue, std::int32_t{0x1D000});
        const ProgramKeyAtCreation key = readProgramKeyAtCreation(reg);
        EXPECT_TRUE(key.opened);
        EXPECT_EQ(key.isFirstRun, c.isFirstRun);
        EXPECT_EQ(key.hasNewDrivers, c.hasNewDrivers);
        EXPECT_EQ(key.ioBase, 0xD000);
        EXPECT_EQ(get(kProgramKey, kFirstRunValue), Value{std::int32_t{0}});
        EXPECT_EQ(get(kProgramKey, kNewDriversValue), Value{std::int32_t{0}});
    }
    store.unopenable = {"Software\\Ostrelle\\Corvane"};
    TRegistry reg(store);
    const ProgramKeyAtCreation none = readProgramKeyAtCreation(reg);
    EXPECT_FALSE(none.opened);
    EXPECT_TRUE(none.isFirstRun);
    EXPECT_TRUE(none.hasNewDrivers);
}

TEST_F(DriverSettingsTest, TrayIconEntries) {
    store.uncreatable = {"Software\\ATI Technologies\\Desktop\\IconTA\\Settings\\Corvane"};
    TRegistry reg(store);
    reg.SetRootKey(win::kHKeyLocalMachine);
    RegisterTrayIconEntry(reg, "/opt/corvane/corvane");
    const std::string key = "\\Software\\ATI Technologies\\Desktop\\Icon\\Settings\\Corvane";
    EXPECT_EQ(get(key, ""), Value{std::string("Corvane")});
    EXPECT_EQ(get(key, "Executable"), Value{std::string("/opt/corvane/corvane")});
    EXPECT_EQ(get(key, "Icon"), Value{std::string("/opt/corvane/corvane")});
    EXPECT_EQ(get(key, "IconIndex"), Value{std::string("0")});
    EXPECT_FALSE(keyExists("\\Software\\ATI Technologies\\Desktop\\IconTA\\Settings\\Corvane"));
}

}  // namespace
}  // namespace corvane
