#include "widgets/OverCheckBox.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QTest>

namespace corvane {
namespace {

QImage image(const QString& name) {
    return QImage(":/images/" + name);
}

// A box as the window has them: 20 x 20 discs on magenta.
class OverCheckBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent.resize(200, 100);
        box = new TOverCheckBox(&parent);
        box->SetBitmapUnchecked(image("CheckOff.bmp"));
        box->SetBitmapChecked(image("CheckOn.bmp"));
        box->SetBitmapDisabled(image("CheckDisabled.bmp"));
        box->move(10, 10);
        parent.show();
        box->OnClick = [this](TOverCheckBox* sender) { clicks.push_back(sender->Checked()); };
    }
    void clickAt(QPoint p) { QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, p); }

    QWidget parent;
    TOverCheckBox* box = nullptr;
    std::vector<bool> clicks;  // Checked as OnClick saw it
    const QPoint centre{10, 10};
    const QPoint corner{1, 1};  // magenta: transparent (QTest takes 0, 0 for the centre)
};

TEST_F(OverCheckBoxTest, TakesTheSizeOfItsImageWhateverItIsGiven) {
    EXPECT_EQ(box->size(), QSize(20, 20));
    box->resize(60, 45);
    EXPECT_EQ(box->size(), QSize(20, 20));
    TOverCheckBox bare;
    EXPECT_EQ(bare.size(), QSize(50, 50));
    EXPECT_EQ(box->TransparentColor(), QColor(255, 0, 255));
}

TEST_F(OverCheckBoxTest, ClickRaisesOnClickBeforeTheFlip) {
    clickAt(centre);
    EXPECT_EQ(clicks, std::vector<bool>{false});
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(box->visualState(), TOverCheckBox::VisualState::Checked);
    EXPECT_EQ(box->currentImage(), box->BitmapChecked());
    clickAt(centre);
    EXPECT_EQ(clicks, (std::vector<bool>{false, true}));
    EXPECT_FALSE(box->Checked());
}

TEST_F(OverCheckBoxTest, OnlyOpaquePixelsReactToTheMouse) {
    clickAt(corner);
    clickAt({19, 19});
    EXPECT_TRUE(clicks.empty());
    EXPECT_FALSE(box->Checked());
    EXPECT_FALSE(box->HitTest({-1, 5}));
    EXPECT_FALSE(box->HitTest({20, 5}));
    EXPECT_TRUE(box->HitTest(centre));
}

TEST_F(OverCheckBoxTest, ADisabledBoxRaisesOnClickButKeepsItsState) {
    box->SetEnabled(false);
    clickAt(centre);
    EXPECT_EQ(clicks, std::vector<bool>{false});
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(box->visualState(), TOverCheckBox::VisualState::Disabled);
    EXPECT_EQ(box->currentImage(), box->BitmapDisabled());
    box->SetChecked(true);  // ignored while disabled, and also afterwards
    box->SetEnabled(true);
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(box->visualState(), TOverCheckBox::VisualState::Unchecked);
}

TEST_F(OverCheckBoxTest, EnablingAgainShowsTheCheckedImage) {
    box->SetChecked(true);
    box->SetEnabled(false);
    EXPECT_EQ(box->currentImage(), box->BitmapDisabled());
    box->SetEnabled(true);
    EXPECT_EQ(box->currentImage(), box->BitmapChecked());
    EXPECT_TRUE(clicks.empty());  // setting from code raises nothing
}

TEST_F(OverCheckBoxTest, HoverUsesTheOverImagesWhenThereAreAny) {
    box->SetChecked(true);
    QTest::mouseMove(box, centre);
    EXPECT_TRUE(box->mouseInside());
    EXPECT_EQ(box->currentImage(), box->BitmapChecked());
    QImage over = image("CheckDisabled.bmp");
    box->SetBitmapOverChecked(over);
    EXPECT_EQ(box->currentImage(), over);
    QTest::mouseMove(box, corner);
    EXPECT_FALSE(box->mouseInside());
    EXPECT_EQ(box->currentImage(), box->BitmapChecked());
}

TEST_F(OverCheckBoxTest, DrawsOnlyTheDiscOverTheParent) {
    QPalette green = parent.palette();
    green.setColor(QPalette::Window, QColor(0, 128, 0));
    parent.setPalette(green);
    parent.setAutoFillBackground(true);
    const QImage shot = parent.grab().toImage();
    EXPECT_EQ(shot.pixelColor(10, 10), QColor(0, 128, 0));  // the box's transparent corner
    EXPECT_NE(shot.pixelColor(20, 20), QColor(0, 128, 0));  // its disc
    EXPECT_NE(shot.pixelColor(20, 20), QColor(255, 0, 255));
}

TEST_F(OverCheckBoxTest, CaptionMovesOnePixelWhenChecked) {
    QImage blank(20, 20, QImage::Format_RGB888);
    blank.fill(QColor(255, 0, 255));
    box->SetBitmapUnchecked(blank);
    box->SetBitmapChecked(blank);
    box->SetCaption("X");
    const QImage off = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
    box->SetChecked(true);
    const QImage on = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_NE(off, on);
    int inked = 0;
    for (int y = 0; y < 19; ++y) {
        for (int x = 0; x < 19; ++x) {
            EXPECT_EQ(off.pixel(x, y), on.pixel(x + 1, y + 1)) << x << "," << y;
            inked += off.pixel(x, y) != off.pixel(0, 0);
        }
    }
    EXPECT_GT(inked, 3);
}

TEST_F(OverCheckBoxTest, AcceleratorClicksWhileEnabled) {
    box->SetCaption("&Go");
    EXPECT_FALSE(box->dialogChar('X'));
    EXPECT_TRUE(box->dialogChar('g'));
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(clicks, std::vector<bool>{false});
    box->SetEnabled(false);
    EXPECT_FALSE(box->dialogChar('G'));
    EXPECT_EQ(clicks.size(), 1u);
}

}  // namespace
}  // namespace corvane
