// The DVD page over a copy of the demo machine, whose player stores a mix of values.

#include <gtest/gtest.h>

#include "app/ui/WindowTest.h"
#include "settings/DvdSettingsTable.h"

namespace corvane {
namespace {

class DvdPageTest : public test::WindowTest {
protected:
    // The player's key under another version number: the player is not installed.
    void uninstallPlayer() {
        std::string text = test::readFile(dir.file("registry.reg"));
        for (std::size_t at; (at = text.find("Cinemaster\\0.9")) != std::string::npos;)
            text.replace(at, 14, "Cinemaster\\0.8");
        test::writeFile(dir.file("registry.reg"), text);
    }
};

TEST_F(DvdPageTest, CreationShowsThePlayersSettings) {
    TForm1& f = open();
    SettingControls& c = f.settingControls();
    EXPECT_TRUE(c.checked("LFE"));
    EXPECT_TRUE(c.checked("UseSurround"));
    EXPECT_FALSE(c.checked("DialogNormalization"));
    EXPECT_EQ(c.itemIndex("CompressionModeCB"), 1);
    EXPECT_EQ(c.itemIndex("SampleRate"), 2);  // 48000
    EXPECT_TRUE(c.checked("HardwareOptimization"));
    EXPECT_FALSE(c.checked("TripleBuffering"));
    EXPECT_EQ(c.itemIndex("PerformanceClass"), 4);
    EXPECT_TRUE(f.DVDNotFoundLbl->isHidden());
    EXPECT_FALSE(applyEnabled());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(DvdPageTest, ApplyWritesThePlayersValuesAndReloadReadsThemBack) {
    TForm1& f = openShown();
    changeAsUser("LFE", ControlKind::CheckBox);
    changeAsUser("PerformanceClass", ControlKind::List);
    QTest::mouseClick(f.ApplyBtn, Qt::LeftButton);
    EXPECT_EQ(stored(kDvdAudioKey, "UseLFE"), "0");
    EXPECT_EQ(stored(kDvdVideoKey, "PerformanceClass"), "5");
    EXPECT_EQ(stored(kDvdAudioKey, "SampleRate"), "48000");
    changeAsUser("LFE", ControlKind::CheckBox);
    QTest::mouseClick(f.ReloadBtn, Qt::LeftButton);
    EXPECT_FALSE(f.settingControls().checked("LFE"));
}

TEST_F(DvdPageTest, WithoutThePlayerThePageSaysNotFoundAndNothingIsWritten) {
    uninstallPlayer();
    TForm1& f = openShown();
    EXPECT_FALSE(f.DVDNotFoundLbl->isHidden());
    EXPECT_EQ(f.DVDNotFoundLbl->Caption(), "Not Found");
    EXPECT_TRUE(f.DVDTab->AudioGroup->isHidden());
    EXPECT_TRUE(f.DVDTab->VideoGroup->isHidden());
    clickBox("D3DWaitSync");
    QTest::mouseClick(f.ApplyBtn, Qt::LeftButton);
    QTest::mouseClick(f.ReloadBtn, Qt::LeftButton);
    EXPECT_EQ(stored(kDvdAudioKey, "UseLFE"), "<missing>");
    EXPECT_EQ(test::readFile(dir.file("registry.reg")).find("Cinemaster\\0.9"), std::string::npos);
    EXPECT_FALSE(f.DVDNotFoundLbl->isHidden());  // for as long as the window exists
}

TEST_F(DvdPageTest, OnWindowsNtThePlayerIsNeitherReadNorWritten) {
    setHardware("Windows", "PlatformId", "2");
    setHardware("Windows", "Version", "4.0");
    TForm1& f = openShown();
    EXPECT_FALSE(f.settingControls().checked("LFE"));  // as designed: not read
    f.settingControls().setChecked("LFE", false);
    f.PageControl->setCurrentWidget(f.OpenGL);
    clickBox("MultiTexture");
    QTest::mouseClick(f.ApplyBtn, Qt::LeftButton);
    EXPECT_EQ(stored(kDvdAudioKey, "UseLFE"), "1");
}

}  // namespace
}  // namespace corvane
