// The preset commands of the window over a copy of the demo machine, its Presets folder in the
// machine's folder.

#include <gtest/gtest.h>

#include <QAction>
#include <filesystem>

#include "app/ui/WindowTest.h"
#include "presets/PresetFolder.h"

namespace corvane {
namespace {

class PresetsBoxTest : public test::WindowTest {
protected:
    // The demo machine's own presets would be listed with the ones each test writes.
    void SetUp() override {
        test::WindowTest::SetUp();
        std::filesystem::remove_all(presets());
    }
    std::string presets() const { return dir.file("Presets"); }
    void writePreset(const std::string& name, const std::string& text) {
        std::filesystem::create_directories(presets());
        test::writeFile(presets() + "/" + name, text);
    }
    QStringList listed() const {
        QStringList names;
        for (int i = 0; i < form->PresetsCB->count(); ++i)
            names << form->PresetsCB->itemText(i);
        names.sort();
        return names;
    }
    void choose(int index) {
        form->PresetsCB->setCurrentIndex(index);
        emit form->PresetsCB->activated(index);  // as the user's choice
    }
    bool loadEnabled() const { return form->LoadPresetBtn->isEnabled(); }
};

TEST_F(PresetsBoxTest, AnEmptyFolderGivesAnEmptyListAndNoLoad) {
    TForm1& f = open();
    EXPECT_TRUE(std::filesystem::is_directory(presets()));  // created
    EXPECT_EQ(f.PresetsCB->count(), 0);
    EXPECT_FALSE(loadEnabled());
    clickBox("D3DTab");
    EXPECT_FALSE(loadEnabled());  // a change enables Load only when presets exist
}

TEST_F(PresetsBoxTest, TheLoadButtonFollowsTheChoicesAndLoads) {
    writePreset("A.cvt", "[Desktop]\nD3DTab=0\n");
    writePreset("B.cvt", "[Desktop]\nOpenGLTab=0\n");
    writePreset("C.cvt", "[D3D]\nAntiAlias=1\n");
    TForm1& f = openShown();
    EXPECT_EQ(listed(), (QStringList{"A", "B", "C"}));
    EXPECT_EQ(f.PresetsCB->currentIndex(), 0);
    EXPECT_TRUE(loadEnabled());
    f.PageControl->setCurrentWidget(f.Advanced);
    const int c = f.PresetsCB->findText("C");
    choose(c);
    QTest::mouseClick(f.LoadPresetBtn, Qt::LeftButton);
    EXPECT_TRUE(f.settingControls().checked("AntiAlias"));
    EXPECT_TRUE(applyEnabled());
    EXPECT_FALSE(loadEnabled());
    choose(c);  // the same entry again
    EXPECT_FALSE(loadEnabled());
    choose(c == 0 ? 1 : 0);
    EXPECT_TRUE(loadEnabled());
    EXPECT_EQ(stored("\\Software\\ATI Technologies\\Driver\\ddhal", "AntiAlias"), "0");  // not yet
}

TEST_F(PresetsBoxTest, TheLoadButtonReportsPresetsItCantFindAndRefillsTheList) {
    writePreset("Alpha.Beta.cvt", "[Desktop]\nD3DTab=0\n");
    writePreset("Gone.cvt", "");
    TForm1& f = openShown();
    const std::string folder = f.Advanced->Presets->folder();
    struct Case {
        QString choice;  // empty: nothing selected
        std::string missing;
    };
    std::filesystem::remove(presets() + "/Gone.cvt");
    for (const Case& c : {Case{"Alpha", folder + "/Alpha.cvt"}, Case{"Gone", folder + "/Gone.cvt"},
                          Case{"", folder + "/.cvt"}}) {
        SCOPED_TRACE(c.missing);
        dialogs.shown.clear();
        f.Advanced->Presets->FillPresetList();
        f.PresetsCB->addItem("Gone");  // listed before it went
        f.PresetsCB->setCurrentIndex(c.choice.isEmpty() ? -1 : f.PresetsCB->findText(c.choice));
        f.LoadPresetBtnClick();
        EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Cannot find " + c.missing});
        EXPECT_EQ(listed(), QStringList{"Alpha"});
    }
    EXPECT_TRUE(f.settingControls().checked("D3DTab"));  // nothing loaded
}

// A name from an old disk, in Windows-1252: shown with a replacement character, loaded by its
// own bytes.
TEST_F(PresetsBoxTest, APresetWhoseNameIsNotUtf8StillLoads) {
    writePreset("Qualit\xE9.cvt", "[D3D]\nAntiAlias=1\n");
    TForm1& f = openShown();
    f.PageControl->setCurrentWidget(f.Advanced);
    ASSERT_EQ(f.PresetsCB->count(), 1);
    dialogs.shown.clear();
    choose(0);
    QTest::mouseClick(f.LoadPresetBtn, Qt::LeftButton);
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{});
    EXPECT_TRUE(f.settingControls().checked("AntiAlias"));
}

// The fifth S/PDIF entry exists only in the list built for the demo's newer player engine.
TEST_F(PresetsBoxTest, APresetPicksAnEntryOfTheListAsTheWindowBuiltIt) {
    writePreset("Live.cvt", "[DVD]\nAC3SPDIFOut=4\n");
    TForm1& f = openShown();
    f.PageControl->setCurrentWidget(f.Advanced);
    choose(f.PresetsCB->findText("Live"));
    QTest::mouseClick(f.LoadPresetBtn, Qt::LeftButton);
    EXPECT_EQ(f.settingControls().itemIndex("AC3SPDIFOut"), 4);
}

// Windows NT has no Direct3D and DVD pages: their sections are not saved, and loaded into
// controls nobody sees they change nothing that is written.
TEST_F(PresetsBoxTest, OnWindowsNtASaveLeavesTheDirect3DAndDvdSectionsOut) {
    setHardware("Windows", "PlatformId", "2");
    setHardware("Windows", "Version", "4.0");
    TForm1& f = openShown();
    dialogs.chosenFiles = {presets() + "/Nt.cvt"};
    f.control<QAction>("SavePresets1")->trigger();
    const std::string saved = test::readFile(presets() + "/Nt.cvt");
    EXPECT_NE(saved.find("[Desktop]"), std::string::npos);
    EXPECT_NE(saved.find("[OpenGL]"), std::string::npos);
    EXPECT_NE(saved.find("[Advanced]"), std::string::npos);
    EXPECT_EQ(saved.find("[D3D]"), std::string::npos);
    EXPECT_EQ(saved.find("[DVD]"), std::string::npos);
}

TEST_F(PresetsBoxTest, LoadPresetAppliesTheFileChosenAnywhere) {
    writePreset("A.cvt", "");
    test::writeFile(dir.file("elsewhere.cvt"), "[OpenGL]\nDetailLevel=5\n");
    TForm1& f = openShown();
    dialogs.chosenFiles = {std::nullopt, dir.file("elsewhere.cvt"), dir.file("missing.cvt")};
    f.control<QAction>("LoadPresets1")->trigger();  // cancelled
    EXPECT_FALSE(applyEnabled());
    f.control<QAction>("LoadPresets1")->trigger();
    EXPECT_EQ(f.settingControls().position("DetailLevel"), 5);
    EXPECT_TRUE(applyEnabled());
    EXPECT_TRUE(loadEnabled());
    ASSERT_EQ(dialogs.files.size(), 2u);
    EXPECT_FALSE(dialogs.files[1].save);
    EXPECT_EQ(dialogs.files[1].title, "");
    EXPECT_EQ(dialogs.files[1].folder, presets());
    EXPECT_EQ(dialogs.files[1].filter, "Corvane Files (*.cvt)");
    EXPECT_EQ(dialogs.files[1].defaultSuffix, "cvt");
    QTest::mouseClick(f.ReloadBtn, Qt::LeftButton);
    f.control<QAction>("LoadPresets1")->trigger();  // a missing file applies nothing
    EXPECT_FALSE(applyEnabled());
}

TEST_F(PresetsBoxTest, SavePresetWritesListsAndSelectsIt) {
    TForm1& f = openShown();
    f.settingControls().setItemIndex("ZBufferCB", 2);
    dialogs.chosenFiles = {presets() + "/Mine", dir.file("Outside.cvt"), std::nullopt};
    f.control<QAction>("SavePresets1")->trigger();  // typed without an extension
    EXPECT_NE(test::readFile(presets() + "/Mine.cvt").find("ZBufferCB=2"), std::string::npos);
    EXPECT_EQ(f.PresetsCB->currentText(), "Mine");
    EXPECT_FALSE(loadEnabled());
    EXPECT_EQ(dialogs.files[0].title, "Save Current Settings...");
    EXPECT_TRUE(dialogs.files[0].save);
    EXPECT_EQ(dialogs.files[0].fileName, "");
    f.control<QAction>("SavePresets1")->trigger();  // outside the folder: nothing selected
    EXPECT_TRUE(std::filesystem::exists(dir.file("Outside.cvt")));
    EXPECT_EQ(f.PresetsCB->currentIndex(), -1);
    EXPECT_EQ(dialogs.files[1].fileName, presets() + "/Mine.cvt");  // the path last chosen
    f.control<QAction>("SavePresets1")->trigger();                  // cancelled
    EXPECT_EQ(listed(), QStringList{"Mine"});
}

TEST_F(PresetsBoxTest, YesToTheFirstRunQuestionSavesTheDefaultSettings) {
    dialogs.answers = {DialogResult::Yes};
    dialogs.chosenFiles = {presets() + "/Default.cvt"};
    TForm1& f = openShown();
    ASSERT_EQ(dialogs.files.size(), 1u);
    EXPECT_EQ(dialogs.files[0].title, "Save Default Settings...");
    EXPECT_EQ(dialogs.files[0].fileName, "Default.cvt");
    EXPECT_TRUE(std::filesystem::exists(presets() + "/Default.cvt"));
    EXPECT_EQ(f.PresetsCB->currentText(), "Default");
}

TEST_F(PresetsBoxTest, ASaveThatCantBeWrittenStopsWithThePathAndKeepsTheList) {
    writePreset("A.cvt", "");
    TForm1& f = openShown();
    const std::string target = dir.file("no/such/folder/B.cvt");
    dialogs.chosenFiles = {target};
    try {
        f.SavePresets1Click();
        FAIL() << "saved into a missing folder";
    } catch (const std::exception& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + target);
    }
    EXPECT_EQ(listed(), QStringList{"A"});
    EXPECT_TRUE(loadEnabled());
}

}  // namespace
}  // namespace corvane
