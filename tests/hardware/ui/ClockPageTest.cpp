// The clock page driven as a user drives it, by mouse and by keyboard, over a copy of the demo
// machine: its Rage 128 at D000h runs at 103 MHz core and memory.

#include <gtest/gtest.h>

#include <filesystem>

#include "app/ui/WindowTest.h"
#include "hardware/ui/ClockPanel.h"

namespace corvane {
namespace {

class ClockPageTest : public test::WindowTest {
protected:
    ClockPanel& panel() { return *form->Clocks; }
    void showAdvanced() { form->PageControl->setCurrentWidget(form->Advanced); }
    void setClockAnswering(DialogResult answer) {
        dialogs.answers = {answer};
        QTest::mouseClick(panel().SetClockBtn, Qt::LeftButton);
    }
    // A click on the box by mouse or by its label's accelerator, which must act the same.
    void click(TOverCheckBox* box, bool byKeyboard) {
        if (byKeyboard) {
            const Qt::Key key = box == panel().Rage128VR ? Qt::Key_V : Qt::Key_L;
            QTest::keyClick(form.get(), key, Qt::AltModifier);
        } else {
            QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
        }
    }
    std::vector<std::string> warnings() const {
        std::vector<std::string> out;
        for (const auto& r : dialogs.shown) {
            if (r.caption == "Warning") out.push_back(r.text);
        }
        return out;
    }
};

TEST_F(ClockPageTest, AVrCardGetsHalfTheMemoryClockAndTheEvenValueIsStored) {
    store(kProgramKey, kRage128VRValue, 1);
    openShown();
    showAdvanced();
    panel().MemoryTB->setValue(143);
    ASSERT_TRUE(panel().SetClockBtn->isEnabled());
    setClockAnswering(DialogResult::Yes);
    EXPECT_EQ(hardware("Rage128", "MemoryClock"), "71");  // the chip gets 143 div 2
    EXPECT_EQ(panel().MemoryTB->Position(), 142);
    EXPECT_EQ(panel().MemLbl->Caption(), "142 Mhz");
    EXPECT_EQ(panel().MemClock(), 142);
    EXPECT_EQ(stored(kProgramKey, kMemClkValue), "142");
    EXPECT_FALSE(panel().SetClockBtn->isEnabled());
}

TEST_F(ClockPageTest, ReadingAVrCardDoublesTheMemoryClockWhileTheSlidersStopAtTheirEnds) {
    setHardware("Rage128", "CoreClock", "130");
    setHardware("Rage128", "MemoryClock", "80");
    store(kProgramKey, kRage128VRValue, 1);
    open();
    EXPECT_EQ(panel().CoreClock(), 130);
    EXPECT_EQ(panel().ChipTB->Position(), 125);
    EXPECT_EQ(panel().ChipLbl->Caption(), "130 Mhz");
    EXPECT_EQ(panel().MemClock(), 160);
    EXPECT_EQ(panel().MemoryTB->Position(), 150);
    EXPECT_EQ(panel().MemLbl->Caption(), "150 Mhz");
    EXPECT_EQ(stored(kProgramKey, kCoreClkValue), "130");
    EXPECT_EQ(stored(kProgramKey, kMemClkValue), "160");
}

TEST_F(ClockPageTest, AnsweringNoBeforeAnyClockWasReadPutsBothSlidersAtTheirLowestEnds) {
    setHardware("Display", "ModeTest", "0");  // the chip can't be read at creation
    openShown();
    showAdvanced();
    ASSERT_EQ(panel().CoreClock(), 0);
    panel().ChipTB->setValue(100);
    setClockAnswering(DialogResult::No);
    EXPECT_EQ(panel().ChipTB->Position(), 75);
    EXPECT_EQ(panel().MemoryTB->Position(), 75);
    EXPECT_EQ(panel().ChipLbl->Caption(), "75 Mhz");
    EXPECT_EQ(panel().MemLbl->Caption(), "75 Mhz");
    EXPECT_FALSE(panel().SetClockBtn->isEnabled());
    EXPECT_EQ(hardware("Rage128", "CoreClock"), "103");
}

TEST_F(ClockPageTest, AFailedSetClockKeepsTheSlidersAndStoresNothing) {
    openShown();
    showAdvanced();
    setHardware("Display", "ModeTest", "0");
    panel().ChipTB->setValue(110);
    dialogs.shown.clear();
    setClockAnswering(DialogResult::Yes);
    EXPECT_EQ(dialogs.texts().back(), "ChangeDisplaySettings invalid.");
    EXPECT_EQ(panel().ChipTB->Position(), 110);
    EXPECT_EQ(panel().CoreClock(), 103);
    EXPECT_EQ(stored(kProgramKey, kCoreClkValue), "103");
    EXPECT_EQ(hardware("Rage128", "CoreClock"), "103");
    EXPECT_FALSE(panel().SetClockBtn->isEnabled());
}

// A port request that fails (here the chip's state can't be written) is reported as a failed mode
// test is, and nothing is stored: before, it counted as success.
TEST_F(ClockPageTest, AFailedPortRequestIsReportedAndStoresNothing) {
    openShown();
    showAdvanced();
    std::filesystem::permissions(dir.file("hardware.ini"), std::filesystem::perms::owner_read);
    panel().ChipTB->setValue(110);
    dialogs.shown.clear();
    setClockAnswering(DialogResult::Yes);
    ASSERT_FALSE(dialogs.shown.empty());
    EXPECT_EQ(dialogs.shown.back().caption, "Error");
    EXPECT_EQ(dialogs.texts().back().rfind(kPortRequestFailed, 0), 0u) << dialogs.texts().back();
    EXPECT_EQ(panel().ChipTB->Position(), 110);
    EXPECT_EQ(panel().CoreClock(), 103);
    EXPECT_EQ(stored(kProgramKey, kCoreClkValue), "103");
    EXPECT_EQ(hardware("Rage128", "CoreClock"), "103");
}

// Clocks that could not be stored would be undone at the next start: the chip is not touched.
TEST_F(ClockPageTest, ARegistryThatCantBeSavedKeepsTheChipAsItIs) {
    openShown();
    showAdvanced();
    std::filesystem::permissions(dir.file("registry.reg"), std::filesystem::perms::owner_read);
    panel().ChipTB->setValue(110);
    dialogs.shown.clear();
    setClockAnswering(DialogResult::Yes);
    ASSERT_FALSE(dialogs.shown.empty());
    EXPECT_EQ(dialogs.shown.back().caption, "Error");
    EXPECT_EQ(dialogs.texts().back().rfind("The clocks were not set: ", 0), 0u)
        << dialogs.texts().back();
    EXPECT_EQ(hardware("Rage128", "CoreClock"), "103");
    EXPECT_EQ(panel().CoreClock(), 103);
    EXPECT_TRUE(panel().SetClockBtn->isEnabled());  // to try again once the file can be written
}

TEST_F(ClockPageTest, MovingASliderAwayAndBackLeavesSetClockEnabled) {
    openShown();
    showAdvanced();
    EXPECT_FALSE(panel().SetClockBtn->isEnabled());
    panel().ChipTB->setValue(104);
    panel().ChipTB->setValue(103);
    EXPECT_TRUE(panel().SetClockBtn->isEnabled());
    EXPECT_EQ(panel().ChipLbl->Caption(), "103 Mhz");
}

TEST_F(ClockPageTest, TheVrBoxStoresWhatItShowsByMouseAndByKeyboard) {
    for (const bool byKeyboard : {false, true}) {
        SCOPED_TRACE(byKeyboard ? "keyboard" : "mouse");
        openShown();
        showAdvanced();
        click(panel().Rage128VR, byKeyboard);
        EXPECT_TRUE(panel().Rage128VR->Checked());
        EXPECT_EQ(stored(kProgramKey, kRage128VRValue), "1");
        EXPECT_EQ(panel().MemClock(), 206);  // the chip's 103, doubled
        EXPECT_EQ(stored(kProgramKey, kMemClkValue), "206");
        click(panel().Rage128VR, byKeyboard);
        EXPECT_FALSE(panel().Rage128VR->Checked());
        EXPECT_EQ(stored(kProgramKey, kRage128VRValue), "0");
        EXPECT_EQ(stored(kProgramKey, kMemClkValue), "103");
        form->close();
    }
}

TEST_F(ClockPageTest, TickingTheStartupBoxWarnsAndUntickingDoesNot) {
    for (const bool byKeyboard : {false, true}) {
        for (const bool yes : {true, false}) {
            SCOPED_TRACE(std::string(byKeyboard ? "keyboard" : "mouse") + (yes ? ", Yes" : ", No"));
            openShown();
            showAdvanced();
            dialogs.shown.clear();
            dialogs.answers = {yes ? DialogResult::Yes : DialogResult::No};
            click(panel().StartupSettings, byKeyboard);
            ASSERT_EQ(warnings().size(), 1u);
            EXPECT_EQ(warnings()[0], kStartupWarning);
            EXPECT_EQ(panel().StartupSettings->Checked(), yes);
            EXPECT_EQ(applyEnabled(), yes);
            if (yes) {
                QTest::mouseClick(form->ReloadBtn, Qt::LeftButton);
                click(panel().StartupSettings, byKeyboard);  // unticking asks nothing
                EXPECT_EQ(warnings().size(), 1u);
                EXPECT_FALSE(panel().StartupSettings->Checked());
                EXPECT_TRUE(applyEnabled());
            }
            dialogs.answers = {DialogResult::No};  // not to save
            form->close();
        }
    }
}

TEST_F(ClockPageTest, AHiddenPanelIgnoresItsAccelerators) {
    const std::function<void()> setups[] = {
        [this] { setHardware("Rage128", "IOBase", "0"); },  // no Rage 128
        [this] {
            setHardware("Windows", "PlatformId", "2");
            setHardware("Windows", "Version", "4.0");
        },
    };
    for (const auto& setup : setups) {
        setup();
        openShown();
        ASSERT_TRUE(panel().isHidden());
        showAdvanced();
        EXPECT_FALSE(panel().CheckLabel5->isEnabled());
        EXPECT_FALSE(panel().CheckLabel6->isEnabled());
        dialogs.shown.clear();
        QTest::keyClick(form.get(), Qt::Key_V, Qt::AltModifier);
        QTest::keyClick(form.get(), Qt::Key_L, Qt::AltModifier);
        EXPECT_FALSE(panel().Rage128VR->Checked());
        EXPECT_FALSE(panel().StartupSettings->Checked());
        EXPECT_TRUE(dialogs.shown.empty());
        EXPECT_EQ(stored(kProgramKey, kRage128VRValue), "<missing>");
        EXPECT_EQ(stored(kProgramKey, kCoreClkValue), "<missing>");
        form->close();
    }
}

}  // namespace
}  // namespace corvane
