// The Rage 128 Info page over a copy of the demo machine: three adapter instances, the second of
// which has no ASIC key.

#include <gtest/gtest.h>

#include "app/ui/WindowTest.h"
#include "hardware/ChipInfo.h"

namespace corvane {
namespace {

using Rage128InfoPageTest = test::WindowTest;

TEST_F(Rage128InfoPageTest, TheAdaptersAreListedAndTheFirstIsShown) {
    TForm1& f = open();
    Rage128InfoPage& page = *f.RageInfo;
    ASSERT_EQ(page.ChipIdCB->count(), 2);
    EXPECT_EQ(page.ChipIdCB->itemText(0), "Rage 128 GL AGP");
    EXPECT_EQ(page.ChipIdCB->itemText(1), "Rage 128 Pro");
    EXPECT_EQ(page.ChipIdCB->currentIndex(), 0);
    EXPECT_EQ(page.ChipKeyPaths().size(), 2u);
    EXPECT_EQ(page.text("BusTypeLbl"), "AGP 2x");
    EXPECT_EQ(page.text("BiosVersionLbl"), "GR-xlint.3-12.011");
    EXPECT_EQ(page.text("TunerTypeLbl"), "n/a");  // no Tuner key
    EXPECT_EQ(page.text("OutChipTypeLbl"), "ImpacTV2+ (NTSC)");
    EXPECT_EQ(page.LastChipIndex(), 0);
}

TEST_F(Rage128InfoPageTest, PickingAnotherAdapterShowsItsFactsAndPickingItAgainReadsNothing) {
    TForm1& f = openShown();
    f.PageControl->setCurrentWidget(f.RageInfo);
    QComboBox* list = f.RageInfo->ChipIdCB;
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(f.RageInfo->LastChipIndex(), 1);
    EXPECT_EQ(f.RageInfo->text("BusTypeLbl"), "PCI");
    EXPECT_EQ(f.RageInfo->text("BiosDateLbl"), "n/a");  // no BIOS key
    EXPECT_EQ(f.RageInfo->text("TunerTypeLbl"), "Philips FI1236 - NTSC-M");
    EXPECT_EQ(f.RageInfo->text("AIWLbl"), "Yes");
    f.RageInfo->setText("BusTypeLbl", "shown");
    f.ChipIdCBChange();  // the entry on show picked again
    EXPECT_EQ(f.RageInfo->text("BusTypeLbl"), "shown");
    EXPECT_FALSE(applyEnabled());  // information, not settings
}

}  // namespace
}  // namespace corvane
