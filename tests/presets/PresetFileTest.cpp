#include "presets/PresetFile.h"

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/inifile/IniFileProfile.h"
#include "presets/PresetTable.h"
#include "settings/Setting.h"
#include "settings/SettingModel.h"

namespace corvane {
namespace {

class PresetFileTest : public ::testing::Test {
protected:
    std::string path() const { return dir.file("Preset.cvt"); }
    int apply(const std::string& text) {
        test::writeFile(path(), text);
        return ApplyPresetFile(profile, path(), controls);
    }

    test::TempDir dir;
    IniFileProfile profile;
    SettingModel controls;
};

// Every control of the presets goes out and comes back as it was.
TEST_F(PresetFileTest, SavingThenLoadingGivesBackEveryControl) {
    int n = 0;
    for (const PresetKey& key : presetKeys()) {
        const Setting& s = windowSetting(key.id);
        switch (s.kind) {
            case ControlKind::CheckBox:
                controls.setChecked(key.id, n % 2 == 0);
                break;
            case ControlKind::List:
                controls.setItemIndex(key.id, n % static_cast<int>(s.items.size()));
                break;
            case ControlKind::Slider:
                controls.setPosition(key.id, s.minimum + n % (s.maximum - s.minimum + 1));
                break;
        }
        ++n;
    }
    SavePresetFile(profile, path(), controls, false);
    SettingModel loaded;
    EXPECT_EQ(ApplyPresetFile(profile, path(), loaded), 5);
    EXPECT_EQ(loaded.boxes, controls.boxes);
    EXPECT_EQ(loaded.lists, controls.lists);
    EXPECT_EQ(loaded.sliders, controls.sliders);
}

TEST_F(PresetFileTest, ANewFileHoldsTheSectionsAndKeysInTheirOrder) {
    controls.setItemIndex("ZBufferCB", 2);
    SavePresetFile(profile, path(), controls, false);
    const std::string text = test::readFile(path());
    std::size_t at = 0;
    std::string section;
    for (const PresetKey& key : presetKeys()) {
        if (section != key.section) {
            section = key.section;
            const std::size_t header = text.find("[" + section + "]", at);
            ASSERT_NE(header, std::string::npos) << section;
            at = header;
        }
        const std::size_t line = text.find(std::string(key.id) + "=", at);
        ASSERT_NE(line, std::string::npos) << key.id;
        at = line;
    }
    EXPECT_NE(text.find("ZBufferCB=2"), std::string::npos);
    EXPECT_NE(text.find("D3DWaitSync=0"), std::string::npos);
}

TEST_F(PresetFileTest, OnWindowsNtTheDirect3DAndDvdSectionsOfAnOlderFileStayAsTheyWere) {
    test::writeFile(path(), "[DVD]\r\nLFE=1\r\n[D3D]\r\nAntiAlias=1\r\nOwn=x\r\n");
    SavePresetFile(profile, path(), controls, true);
    const std::string text = test::readFile(path());
    EXPECT_EQ(text.rfind("[DVD]\r\nLFE=1\r\n[D3D]\r\nAntiAlias=1\r\nOwn=x\r\n", 0), 0u);
    EXPECT_NE(text.find("[Desktop]"), std::string::npos);
    EXPECT_NE(text.find("[OpenGL]"), std::string::npos);
    EXPECT_NE(text.find("[Advanced]"), std::string::npos);
}

TEST_F(PresetFileTest, SavingOverAFileKeepsItsOrderAndWhatItDoesNotKnow) {
    test::writeFile(
        path(),
        "; my preset\r\n[OpenGL]\r\nDetailLevel=4\r\nMine=1\r\n\r\n[Desktop]\r\nD3DTab=1\r\n");
    controls.setPosition("DetailLevel", 6);
    SavePresetFile(profile, path(), controls, false);
    const std::string text = test::readFile(path());
    EXPECT_EQ(text.rfind("; my preset\r\n[OpenGL]\r\nDetailLevel=6\r\nMine=1\r\n", 0), 0u);
    EXPECT_LT(text.find("[OpenGL]"), text.find("[Desktop]"));
    EXPECT_LT(text.find("[Desktop]"), text.find("[D3D]"));  // new sections at the end
}

TEST_F(PresetFileTest, ValuesAreReadAsTheControlsAllow) {
    struct Case {
        const char* file;
        const char* id;
        int expected;   // check state, list index or slider position afterwards
        int start = 0;  // the same before the file is applied, away from the result where it
                        // matters, so that a value read as 0 is told from one left alone
    };
    const Case cases[] = {
        {"[Desktop]\nD3DTab=2\n", "D3DTab", 1},
        {"[Desktop]\nD3DTab=-1\n", "D3DTab", 1},
        {"[Desktop]\nd3dtab=1\n", "D3DTab", 1},       // keys without regard to case
        {"[desktop]\nD3DTab=0\n", "D3DTab", 1, 1},    // sections compare exactly
        {"[Desktop]\nD3DTab=yes\n", "D3DTab", 1, 1},  // no integer: unchanged
        {"[Desktop]\nD3DTab=  1  \n", "D3DTab", 1},
        {"[Desktop]\nD3DTab=0x1\n", "D3DTab", 1},
        {"[Desktop]\nD3DTab=$10\n", "D3DTab", 1},
        {"[Desktop]\nD3DTab=1\n[Desktop]\nD3DTab=0\n", "D3DTab", 1},  // first occurrence
        {"[D3D]\nZBufferCB=7\n", "ZBufferCB", -1, 1},
        {"[D3D]\nZBufferCB=x2\n", "ZBufferCB", 2},
        {"[D3D]\nZBufferCB=2.5\n", "ZBufferCB", 1, 1},  // not wholly an integer: unchanged
        {"[D3D]\nRedGamma=200\n", "RedGamma", 150},
        {"[OpenGL]\nDetailLevel=-3\n", "DetailLevel", 0, 4},
        {"[OpenGL]\nDetailLevel=\n", "DetailLevel", 4, 4},
        {"[DVD]\nSampleRate=1\n", "SampleRate", 1},
        {"[Advanced]\nHMDLUseAGP=1\n", "HMDLUseAGP", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        controls = SettingModel();
        const ControlKind kind = windowSetting(c.id).kind;
        if (kind == ControlKind::CheckBox) controls.setChecked(c.id, c.start != 0);
        if (kind == ControlKind::List) controls.setItemIndex(c.id, c.start);
        if (kind == ControlKind::Slider) controls.setPosition(c.id, c.start);
        apply(c.file);
        const int actual = kind == ControlKind::CheckBox ? controls.checked(c.id)
                           : kind == ControlKind::List   ? controls.itemIndex(c.id)
                                                         : controls.position(c.id);
        EXPECT_EQ(actual, c.expected);
    }
}

TEST_F(PresetFileTest, ADisabledBoxKeepsItsStateAndEverySectionCounts) {
    controls.setCheckEnabled("HMDLUseAGP", false);
    EXPECT_EQ(apply("[Advanced]\nHMDLUseAGP=1\n[Mine]\nX=1\n"), 2);
    EXPECT_FALSE(controls.checked("HMDLUseAGP"));
    EXPECT_EQ(apply("[Something]\nD3DTab=1\n"), 1);  // marks the settings, changes nothing
    EXPECT_FALSE(controls.checked("D3DTab"));
    EXPECT_EQ(apply(""), 0);
    std::filesystem::remove(path());
    EXPECT_EQ(ApplyPresetFile(profile, path(), controls), 0);
}

TEST_F(PresetFileTest, JunkChangesNoControl) {
    const SettingModel before;
    const std::string junk[] = {
        std::string("\0\1\2[Desktop]\0D3DTab=1", 20),
        std::string("\xFF\xFE[\0D\0e\0s\0k\0t\0o\0p\0]\0", 20),  // UTF-16
        std::string(100000, 'x') + "\n",
        "[Desktop\nD3DTab=1\n",
    };
    for (const std::string& text : junk) {
        controls = SettingModel();
        apply(text);
        EXPECT_EQ(controls.boxes, before.boxes);
        EXPECT_EQ(controls.lists, before.lists);
        EXPECT_EQ(controls.sliders, before.sliders);
    }
    // A folder of that name is no preset either.
    std::filesystem::remove(path());
    std::filesystem::create_directory(path());
    EXPECT_EQ(ApplyPresetFile(profile, path(), controls), 0);
}

TEST_F(PresetFileTest, AFileThatCantBeWrittenRaisesItsPath) {
    const std::string missing = dir.file("no/such/folder/x.cvt");
    try {
        SavePresetFile(profile, missing, controls, false);
        FAIL() << "saved into a missing folder";
    } catch (const std::exception& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + missing);
    }
}

}  // namespace
}  // namespace corvane
