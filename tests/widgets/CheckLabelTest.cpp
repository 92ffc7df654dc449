#include "widgets/CheckLabel.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QTest>

#include "widgets/DialogCharDispatcher.h"

namespace corvane {
namespace {

class CheckLabelTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.resize(300, 200);
        box = new TOverCheckBox(&window);
        box->SetBitmapUnchecked(QImage(":/images/CheckOff.bmp"));
        box->OnClick = [this](TOverCheckBox* sender) { seen.push_back(sender->Checked()); };
        label = new TCheckLabel(&window);
        label->move(40, 10);
        label->SetCaption("Enable &anti-aliasing");
        label->SetCheckControl(box);
        window.show();
    }
    int count(const QImage& image, const QColor& color) const {
        int n = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                n += image.pixelColor(x, y) == color;
        }
        return n;
    }

    QWidget window;
    DialogCharDispatcher dispatcher{&window};
    TOverCheckBox* box = nullptr;
    TCheckLabel* label = nullptr;
    std::vector<bool> seen;
};

TEST_F(CheckLabelTest, AltLetterActsExactlyAsAMouseClickOnTheBox) {
    // Both ways the handler sees the state before the flip, then the box flips.
    QTest::keyClick(&window, Qt::Key_A, Qt::AltModifier);
    EXPECT_TRUE(box->Checked());
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_FALSE(box->Checked());
    QTest::keyClick(&window, Qt::Key_A, Qt::AltModifier);
    EXPECT_EQ(seen, (std::vector<bool>{false, true, false}));
    QTest::keyClick(&window, Qt::Key_N, Qt::AltModifier);  // not its accelerator
    EXPECT_EQ(seen.size(), 3u);
}

TEST_F(CheckLabelTest, DisabledLabelIgnoresItsAcceleratorAndIsEngraved) {
    label->setEnabled(false);
    QTest::keyClick(&window, Qt::Key_A, Qt::AltModifier);
    EXPECT_FALSE(box->Checked());
    EXPECT_TRUE(seen.empty());
    const QImage disabled = label->grab().toImage();
    label->setEnabled(true);
    const QImage enabled = label->grab().toImage();
    EXPECT_GT(count(disabled, TCustomCheckLabel::highlightColor()), 10);
    EXPECT_GT(count(disabled, TCustomCheckLabel::shadowColor()), 10);
    EXPECT_EQ(count(enabled, TCustomCheckLabel::shadowColor()), 0);
    // The highlight copy lies one pixel right and down of the shadow copy.
    int shifted = 0;
    for (int y = 0; y + 1 < disabled.height(); ++y) {
        for (int x = 0; x + 1 < disabled.width(); ++x) {
            if (disabled.pixelColor(x, y) == TCustomCheckLabel::shadowColor() &&
                disabled.pixelColor(x + 1, y + 1) == TCustomCheckLabel::highlightColor()) {
                ++shifted;
            }
        }
    }
    EXPECT_GT(shifted, 5);
}

TEST_F(CheckLabelTest, ADisabledBoxStaysButItsHandlerStillRuns) {
    box->SetEnabled(false);
    EXPECT_TRUE(label->dialogChar('a'));
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(seen, std::vector<bool>{false});
}

TEST_F(CheckLabelTest, LinksClearWhenTheLinkedControlGoes) {
    auto* list = new QComboBox(&window);
    label->SetFocusControl(list);
    delete box;
    delete list;
    EXPECT_EQ(label->CheckControl(), nullptr);
    EXPECT_EQ(label->FocusControl(), nullptr);
    EXPECT_FALSE(label->dialogChar('a'));
}

TEST_F(CheckLabelTest, FocusLinkGivesTheFocus) {
    auto* list = new QComboBox(&window);
    list->show();
    auto* listLabel = new TCheckLabel(&window);
    listLabel->SetCaption("Force depth &buffer:");
    listLabel->SetFocusControl(list);
    listLabel->show();
    window.activateWindow();
    QTest::keyClick(&window, Qt::Key_B, Qt::AltModifier);
    EXPECT_EQ(window.focusWidget(), list);
}

TEST_F(CheckLabelTest, LayoutAndTransparency) {
    TCheckLabel text(&window);
    text.SetAutoSize(false);
    text.setGeometry(0, 100, 120, 60);
    text.SetCaption("X");
    text.SetColor(QColor(0, 0, 255));
    // The first row and column that hold ink, in each layout.
    auto inkTop = [&](TTextLayout layout) {
        text.SetLayout(layout);
        const QImage image = text.grab().toImage();
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixelColor(x, y) != QColor(0, 0, 255)) return y;
            }
        }
        return -1;
    };
    const int top = inkTop(TTextLayout::tlTop);
    const int centre = inkTop(TTextLayout::tlCenter);
    const int bottom = inkTop(TTextLayout::tlBottom);
    const int spare = 60 - text.fontMetrics().height();
    EXPECT_EQ(centre - top, spare / 2);
    EXPECT_EQ(bottom - top, spare);
    EXPECT_EQ(text.grab().toImage().pixelColor(119, 0),
              QColor(0, 0, 255));  // opaque: filled with Color
    QPalette green = window.palette();
    green.setColor(QPalette::Window, QColor(0, 128, 0));
    window.setPalette(green);
    window.setAutoFillBackground(true);
    text.SetTransparent(true);
    EXPECT_EQ(window.grab().toImage().pixelColor(119, 100),
              QColor(0, 128, 0));  // the parent shows through
}

TEST_F(CheckLabelTest, AutoSize) {
    TCheckLabel blank(&window);
    blank.SetCaption("&");
    EXPECT_EQ(blank.width(), blank.fontMetrics().horizontalAdvance(' '));
    TCheckLabel right(&window);
    right.SetAlignment(Qt::AlignRight);
    right.setGeometry(100, 50, 10, 17);
    right.SetCaption("Subpixel precision:");
    EXPECT_EQ(right.geometry().right(), 109);
    EXPECT_GT(right.width(), 10);
    const int before = right.x();
    right.SetCaption("Subpixel precision, longer:");
    EXPECT_EQ(right.geometry().right(), 109);
    EXPECT_LT(right.x(), before);
    TCheckLabel fixed(&window);
    fixed.SetAutoSize(false);
    fixed.SetCaption("A long caption that would not fit");
    EXPECT_EQ(fixed.size(), QSize(65, 17));
}

}  // namespace
}  // namespace corvane
