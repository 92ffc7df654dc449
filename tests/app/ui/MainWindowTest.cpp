// The main window driven as a user drives it, over a copy of the demo machine.

#include "app/ui/RegEditFrm.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "TestSupport.h"
#include "app/DemoMachine.h"
#include "app/PlatformFactory.h"
#include "app/ProgramKey.h"
#include "app/Restart.h"
#include "app/Startup.h"
#include "app/ui/SplashFrm.h"
#include "app/ui/WindowTest.h"
#include "fakes/FakePlatform.h"
#include "platform/regfile/RegFileStore.h"
#include "platform/sim/SimMachine.h"
#include "widgets/ASLink.h"

namespace corvane {
namespace {

using MainWindowTest = test::WindowTest;

TEST_F(MainWindowTest, FrameButtonsAndPages) {
    TForm1& f = open();
    EXPECT_EQ(f.windowTitle(), "Corvane");
    EXPECT_EQ(f.centralWidget()->size(), QSize(521, 406));
    EXPECT_EQ(f.PageControl->geometry(), QRect(7, 0, 506, 368));
    EXPECT_EQ(f.ReloadBtn->geometry(), QRect(7, 377, 75, 22));
    EXPECT_EQ(f.OkBtn->geometry(), QRect(278, 376, 75, 23));
    EXPECT_EQ(f.CancelBtn->geometry(), QRect(358, 376, 75, 23));
    EXPECT_EQ(f.ApplyBtn->geometry(), QRect(438, 376, 75, 23));
    EXPECT_TRUE(f.OkBtn->isDefault());
    EXPECT_FALSE(f.ApplyBtn->isEnabled());
    EXPECT_FALSE(f.ReloadBtn->isEnabled());
    QStringList tabs;
    for (int i = 0; i < f.PageControl->count(); ++i)
        tabs << f.PageControl->tabText(i);
    EXPECT_EQ(tabs, (QStringList{"Desktop", "Direct3D", "OpenGL", "Advanced", "DVD",
                                 "Rage 128 Info", "System Info", "About"}));
    EXPECT_EQ(f.PageControl->currentWidget(), f.GeneralTab);
    QStringList menu;
    for (QAction* a : f.menuBar()->actions().front()->menu()->actions())
        menu << a->text();
    EXPECT_EQ(menu, (QStringList{"&Load Preset", "&Save Preset", "", "&Exit"}));
    EXPECT_EQ(f.control<TOverCheckBox>("D3DTab")->y(), 60);
    EXPECT_EQ(f.control<TOverCheckBox>("EnableIcon")->y(), 120);
    EXPECT_EQ(f.control<TCheckLabel>("AntiAliasLbl")->toolTip().contains("effect"), true);
}

TEST_F(MainWindowTest, CreationReadsTheStoredSettings) {
    TForm1& f = open();
    SettingControls& c = f.settingControls();
    EXPECT_FALSE(c.checked("D3DWaitSync"));  // Break "1"
    EXPECT_TRUE(c.checked("Dithering"));
    EXPECT_TRUE(c.checked("EnableIcon"));
    EXPECT_EQ(c.itemIndex("ZBufferCB"), 1);
    EXPECT_EQ(c.position("RedGamma"), 130);
    EXPECT_EQ(f.control<TCheckLabel>("RedGammaPosLbl")->Caption(), "130%");
    EXPECT_EQ(c.itemIndex("SubpixelCB"), 0);
    EXPECT_TRUE(c.checked("HMDLUseAGP"));
    EXPECT_TRUE(c.checkEnabled("HMDLUseAGP"));
    EXPECT_TRUE(c.checked("ChangeRGBSim"));
    EXPECT_TRUE(f.StartIcon());
    EXPECT_TRUE(f.StartAGP());
    EXPECT_FALSE(applyEnabled());
    EXPECT_EQ(f.IOBase(), 0xD000);
    EXPECT_FALSE(f.Clocks->isHidden());
    EXPECT_EQ(f.Clocks->ChipLbl->Caption(), "103 Mhz");
    EXPECT_EQ(stored(kProgramKey, "CoreClk"), "103");
    EXPECT_EQ(stored(kProgramKey, "FirstRun"), "0");
    EXPECT_EQ(stored(kProgramKey, "NewDrivers"), "0");
    EXPECT_EQ(
        stored("\\Software\\ATI Technologies\\Desktop\\IconTA\\Settings\\Corvane", "Executable"),
        "/opt/corvane/corvane");
    EXPECT_EQ(f.SysDir(), dir.path().string() + "/Windows/System");
    EXPECT_EQ(f.SysInfo().WinType(), "Windows 98");
    EXPECT_EQ(f.control<TCheckLabel>("ApertureSizeLbl")->Caption(), "64 MB");
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(MainWindowTest, SettingControlsFromCodeMarksNothing) {
    TForm1& f = open();
    SettingControls& c = f.settingControls();
    c.setChecked("AntiAlias", true);
    c.setItemIndex("ModulateFactor", 2);
    c.setPosition("DetailLevel", 5);
    c.setPosition("GreenGamma", 60);
    // The controls took the values, without a change event.
    EXPECT_TRUE(c.checked("AntiAlias"));
    EXPECT_EQ(c.itemIndex("ModulateFactor"), 2);
    EXPECT_EQ(c.position("DetailLevel"), 5);
    EXPECT_EQ(c.position("GreenGamma"), 60);
    EXPECT_FALSE(applyEnabled());
    f.ReadRegistry();
    EXPECT_FALSE(c.checked("AntiAlias"));
    EXPECT_FALSE(applyEnabled());
    EXPECT_FALSE(f.ReloadBtn->isEnabled());
}

TEST_F(MainWindowTest, AControlNameTheWindowDoesNotKnowFailsLoudly) {
    TForm1& f = open();
    SettingControls& c = f.settingControls();
    EXPECT_THROW(c.checked("AntiAliasing"), std::out_of_range);
    EXPECT_THROW(c.itemIndex("ZBuffer"), std::out_of_range);
    EXPECT_THROW(c.position("Detail"), std::out_of_range);
    EXPECT_THROW(c.itemIndex("AntiAlias"), std::out_of_range);  // a box is no list
}

// Every control of the settings table marks the settings as changed when the user changes it,
// and shows the change; Reload puts it back.
TEST_F(MainWindowTest, EveryControlOfTheTableMarksTheSettings) {
    TForm1& f = openShown();
    SettingWidgets& c = f.settingControls();
    std::vector<std::pair<std::string, ControlKind>> controls;
    for (const Setting* s : windowSettings())
        controls.emplace_back(s->id, s->kind);
    controls.emplace_back("ChangeRGBSim", ControlKind::CheckBox);
    for (const auto& [id, kind] : controls) {
        SCOPED_TRACE(id);
        const int before = kind == ControlKind::CheckBox ? c.checked(id)
                           : kind == ControlKind::List   ? c.itemIndex(id)
                                                         : c.position(id);
        changeAsUser(id, kind);
        const int after = kind == ControlKind::CheckBox ? c.checked(id)
                          : kind == ControlKind::List   ? c.itemIndex(id)
                                                        : c.position(id);
        EXPECT_NE(after, before);
        EXPECT_TRUE(applyEnabled());
        EXPECT_TRUE(f.ReloadBtn->isEnabled());
        QTest::mouseClick(f.ReloadBtn, Qt::LeftButton);
        EXPECT_FALSE(applyEnabled());
    }
}

TEST_F(MainWindowTest, EveryKindOfUserChangeMarksTheSettings) {
    TForm1& f = openShown();
    struct Case {
        const char* what;
        std::function<void()> act;
    };
    const Case cases[] = {
        {"mouse on a check box", [&] { clickBox("D3DTab"); }},
        {"list by keyboard",
         [&] {
             f.PageControl->setCurrentWidget(f.OpenGL);
             QComboBox* list = f.control<QComboBox>("ModulateFactor");
             list->setFocus();
             QTest::keyClick(list, Qt::Key_Down);
         }},
        {"slider by keyboard",
         [&] {
             f.PageControl->setCurrentWidget(f.OpenGL);
             QTest::keyClick(f.control<TTrackBar>("DetailLevel"), Qt::Key_Right);
         }},
        {"gamma slider",
         [&] {
             f.PageControl->setCurrentWidget(f.Direct3DTab);
             QTest::keyClick(f.control<TTrackBar>("GreenGamma"), Qt::Key_Left);
         }},
        {"Alt + letter on a check label",
         [&] {
             f.PageControl->setCurrentWidget(f.Direct3DTab);
             QTest::keyClick(&f, Qt::Key_A, Qt::AltModifier);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(applyEnabled());
        c.act();
        EXPECT_TRUE(applyEnabled());
        EXPECT_TRUE(f.ReloadBtn->isEnabled());
        QTest::mouseClick(f.ReloadBtn, Qt::LeftButton);
        EXPECT_FALSE(applyEnabled());
    }
    EXPECT_FALSE(f.settingControls().checked("AntiAlias"));  // Reload put it back
}

TEST_F(MainWindowTest, GammaSlidersMoveTogetherOrAlone) {
    TForm1& f = openShown();
    f.PageControl->setCurrentWidget(f.Direct3DTab);
    TTrackBar* green = f.control<TTrackBar>("GreenGamma");
    green->setValue(80);
    SettingControls& c = f.settingControls();
    EXPECT_EQ(c.position("RedGamma"), 80);
    EXPECT_EQ(c.position("BlueGamma"), 80);
    EXPECT_EQ(f.control<TCheckLabel>("RedGammaPosLbl")->Caption(), "80%");
    clickBox("ChangeRGBSim");
    f.control<TTrackBar>("BlueGamma")->setValue(140);
    EXPECT_EQ(c.position("RedGamma"), 80);
    EXPECT_EQ(f.control<TCheckLabel>("BlueGammaPosLbl")->Caption(), "140%");
    QTest::mouseClick(f.ApplyBtn, Qt::LeftButton);
    EXPECT_EQ(stored("\\Software\\ATI Technologies\\Driver\\ATIDAL\\0000", "DALGameGammaScale"),
              std::to_string(80 * 65536 + 80 * 256 + 140));
}

TEST_F(MainWindowTest, ApplyWritesAndClosingAsksNothing) {
    TForm1& f = openShown();
    clickBox("D3DWaitSync");
    QTest::mouseClick(f.ApplyBtn, Qt::LeftButton);
    EXPECT_EQ(stored("\\Software\\ATI Technologies\\Driver\\ddhal", "Break"), "0");
    EXPECT_FALSE(applyEnabled());
    dialogs.shown.clear();
    f.close();
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(MainWindowTest, OkAloneNeverWrites) {
    TForm1& f = openShown();
    const std::string before = test::readFile(dir.file("registry.reg"));
    dialogs.shown.clear();
    QTest::mouseClick(f.OkBtn, Qt::LeftButton);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(test::readFile(dir.file("registry.reg")), before);
}

TEST_F(MainWindowTest, SaveQuestionYesWritesNoReadsBack) {
    for (const bool yes : {true, false}) {
        SCOPED_TRACE(yes);
        TForm1& f = openShown();
        dialogs.shown.clear();
        dialogs.answers = {yes ? DialogResult::Yes : DialogResult::No};
        clickBox("AntiAlias");
        QTest::keyClick(&f, Qt::Key_Escape);  // Cancel closes too
        EXPECT_EQ(questionsAsked(),
                  std::vector<std::string>{"Some settings have not been changed.\r\r"
                                           "Do you want to save them?"});
        EXPECT_EQ(stored("\\Software\\ATI Technologies\\Driver\\ddhal", "AntiAlias"),
                  yes ? "1" : "0");
        EXPECT_EQ(f.settingControls().checked("AntiAlias"), yes);
        if (yes) {
            TRegistry reg(*platform.registry);
            reg.SetRootKey(win::kHKeyLocalMachine);
            reg.OpenKey("\\Software\\ATI Technologies\\Driver\\ddhal", false);
            reg.WriteString("AntiAlias", "0");
        }
    }
}

TEST_F(MainWindowTest, RestartIsOfferedForTheTraySettingAndAgp) {
    for (const char* box : {"EnableIcon", "HMDLUseAGP"}) {
        SCOPED_TRACE(box);
        TForm1& f = openShown();
        dialogs.shown.clear();
        dialogs.answers = {DialogResult::Yes};
        f.PageControl->setCurrentWidget(
            std::string(box) == "EnableIcon" ? static_cast<QWidget*>(f.GeneralTab) : f.Advanced);
        clickBox(box);
        QTest::mouseClick(f.ApplyBtn, Qt::LeftButton);
        f.close();
        EXPECT_EQ(questionsAsked(), std::vector<std::string>{kRestartQuestion});
    }
    EXPECT_EQ(SimMachine(dir.path().string()).number("Restart", "Count", 0), 2);
}

TEST_F(MainWindowTest, NoRestartWhenTheStoredStateIsBackWhereItStarted) {
    TForm1& f = openShown();
    clickBox("EnableIcon");
    clickBox("EnableIcon");
    QTest::mouseClick(f.ApplyBtn, Qt::LeftButton);
    clickBox("HMDLUseAGP");
    dialogs.shown.clear();
    dialogs.answers = {DialogResult::No};  // to saving: the box returns to its stored state
    f.close();
    EXPECT_EQ(questionsAsked().size(), 1u);  // only whether to save
    EXPECT_TRUE(f.settingControls().checked("HMDLUseAGP"));
}

TEST_F(MainWindowTest, WindowsNt) {
    setHardware("Windows", "PlatformId", "2");
    setHardware("Windows", "Version", "4.0");
    TForm1& f = openShown();
    EXPECT_FALSE(f.PageControl->isTabVisible(f.PageControl->indexOf(f.Direct3DTab)));
    EXPECT_FALSE(f.PageControl->isTabVisible(f.PageControl->indexOf(f.DVDTab)));
    EXPECT_FALSE(f.control<TOverCheckBox>("D3DTab")->isVisibleTo(&f));
    EXPECT_EQ(f.control<TOverCheckBox>("OpenGLTab")->y(), 60);
    EXPECT_EQ(f.control<TCheckLabel>("OpenGLTabLbl")->y(), 63);
    EXPECT_EQ(f.control<TOverCheckBox>("EnableIcon")->y(), 90);
    EXPECT_EQ(f.control<TCheckLabel>("EnableIconLbl")->y(), 93);
    EXPECT_TRUE(f.Clocks->isHidden());
    // A changed AGP setting asks nothing on Windows NT.
    dialogs.shown.clear();
    f.PageControl->setCurrentWidget(f.Advanced);
    clickBox("HMDLUseAGP");
    QTest::mouseClick(f.ApplyBtn, Qt::LeftButton);
    f.close();
    EXPECT_TRUE(questionsAsked().empty());
}

TEST_F(MainWindowTest, ClickingADisabledBoxChangesNothing) {
    TForm1& f = openShown();
    f.settingControls().setCheckEnabled("HMDLUseAGP", false);
    f.PageControl->setCurrentWidget(f.Advanced);
    clickBox("HMDLUseAGP");
    EXPECT_FALSE(applyEnabled());
    EXPECT_TRUE(f.settingControls().checked("HMDLUseAGP"));
}

TEST_F(MainWindowTest, FirstRunNewDriversAndTheSwitch) {
    openShown();
    EXPECT_EQ(ticks.slept, std::vector<std::uint32_t>{1001});  // the splash, begun at 5.999 s
    EXPECT_EQ(form->SplashDone(), 1);
    const std::string firstRun =
        "Since you are running Corvane for the first time,\n\rit is suggested to save your default settings.\r\r"
        "Do you want to save your default settings now?";
    EXPECT_EQ(questionsAsked(), std::vector<std::string>{firstRun});
    form->close();

    dialogs.shown.clear();
    openShown();
    EXPECT_TRUE(questionsAsked().empty());
    form->close();

    openShown("/FIRSTRUN");
    EXPECT_EQ(questionsAsked(), std::vector<std::string>{firstRun});
    form->close();

    dialogs.shown.clear();
    {
        RegFileStore store(dir.file("registry.reg"));
        TRegistry reg(store);
        reg.SetRootKey(win::kHKeyLocalMachine);
        reg.OpenKey(kProgramKey, false);
        reg.DeleteValue(kNewDriversValue);
    }
    openShown();
    ASSERT_EQ(questionsAsked().size(), 1u);
    EXPECT_EQ(questionsAsked()[0].rfind("Since you have installed new drivers,", 0), 0u);
}

TEST_F(MainWindowTest, SplashIsTheProgramsPictureAndGoesAwayWhenClosed) {
    QPointer<TSplashFrm> splash = new TSplashFrm(nullptr);
    EXPECT_EQ(splash->size(), QSize(449, 201));
    const auto* image = splash->findChild<QLabel*>("Image1");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->pixmap().size(), QSize(449, 201));
    EXPECT_TRUE(splash->windowFlags() & Qt::FramelessWindowHint);
    splash->show();
    splash->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(splash.isNull());
}

TEST_F(MainWindowTest, PageChangesEnableOnlyTheActivePagesLabels) {
    TForm1& f = openShown();
    EXPECT_TRUE(
        f.control<TCheckLabel>("D3DWaitSyncLbl")->isEnabled());  // as designed, before any change
    EXPECT_FALSE(f.control<TCheckLabel>("HDMLAgpLbl")->isEnabled());
    EXPECT_TRUE(f.SysInfoTimer->isActive());
    f.PageControl->setCurrentWidget(f.Direct3DTab);
    EXPECT_FALSE(f.control<TCheckLabel>("Label36")->isEnabled());
    EXPECT_TRUE(f.control<TCheckLabel>("D3DWaitSyncLbl")->isEnabled());
    EXPECT_FALSE(f.SysInfoTimer->isActive());
    EXPECT_EQ(f.control<TTrackBar>("RedGamma")->ticks().size(), 9u);
    f.PageControl->setCurrentWidget(f.Advanced);
    EXPECT_TRUE(f.control<TCheckLabel>("CheckLabel5")->isEnabled());
    EXPECT_TRUE(f.control<TCheckLabel>("HDMLAgpLbl")->isEnabled());
    EXPECT_FALSE(f.control<TCheckLabel>("D3DWaitSyncLbl")->isEnabled());
    f.PageControl->setCurrentWidget(f.SysInfoTab);
    EXPECT_TRUE(f.SysInfoTimer->isActive());
    EXPECT_FALSE(f.control<TCheckLabel>("CheckLabel5")->isEnabled());
    f.PageControl->setCurrentWidget(f.Direct3DTab);
    EXPECT_EQ(f.control<TTrackBar>("GreenGamma")->ticks().size(),
              9u);  // no more ticks the second time
    // A disabled label's accelerator is dead: the Desktop page's "&Icon" is not on show.
    QTest::keyClick(&f, Qt::Key_I, Qt::AltModifier);
    EXPECT_FALSE(applyEnabled());
}

TEST_F(MainWindowTest, AboutLinksOpenTheirAddresses) {
    TForm1& f = openShown();
    f.PageControl->setCurrentWidget(f.AboutTab);
    QTest::mouseClick(f.control<TASLink>("QtLink"), Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
    EXPECT_EQ(shell.opened, std::vector<std::string>{"https://www.qt.io"});
}

}  // namespace
}  // namespace corvane
