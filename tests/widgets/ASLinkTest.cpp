#include "widgets/ASLink.h"

#include <gtest/gtest.h>

#include <QTest>

#include "fakes/FakePlatform.h"

namespace corvane {
namespace {

class ASLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.resize(400, 100);
        link = new TASLink(&window);
        link->SetCaption("Write to us");
        link->SetShellOpener(&opener);
        link->OnClick = [this](TASLink*) {
            order.push_back("click:" + std::to_string(opener.opened.size()));
        };
        window.show();
    }
    QWidget window;
    TASLink* link = nullptr;
    test::RecordingShell opener;
    std::vector<std::string> order;
};

TEST_F(ASLinkTest, PrefixesTheSchemeUnlessToldNot) {
    link->SetLink("owner@example.org");
    QTest::mouseClick(link, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    link->SetURLTypeAdd(false);
    link->Click();
    EXPECT_EQ(opener.opened,
              (std::vector<std::string>{"mailto:owner@example.org", "owner@example.org"}));
    EXPECT_EQ(order, (std::vector<std::string>{"click:0", "click:1"}));  // OnClick comes first
}

TEST_F(ASLinkTest, EveryUrlTypeHasItsPrefix) {
    const std::pair<TURLType, const char*> table[] = {
        {TURLType::utFile, "file://"},     {TURLType::utFtp, "ftp://"},
        {TURLType::utGopher, "gopher://"}, {TURLType::utHttp, "http://"},
        {TURLType::utHttps, "https://"},   {TURLType::utMailto, "mailto:"},
        {TURLType::utNews, "news:"},       {TURLType::utTelnet, "telnet:"},
        {TURLType::utWais, "wais:"}};
    for (const auto& [type, prefix] : table)
        EXPECT_EQ(urlPrefix(type), prefix);
}

TEST_F(ASLinkTest, NothingOpensWithoutALinkOrWhenDisabled) {
    link->Click();
    link->SetLink("www.qt.io");
    link->SetURLEnabled(false);
    link->Click();
    EXPECT_TRUE(opener.opened.empty());
    EXPECT_EQ(order.size(), 2u);
}

TEST_F(ASLinkTest, LongAddressesGoOverWhole) {
    const std::string longPath(300, 'a');
    link->SetURLTypeAdd(false);
    link->SetLink(QString::fromStdString("https://example.org/" + longPath));
    link->Click();
    ASSERT_EQ(opener.opened.size(), 1u);
    EXPECT_EQ(opener.opened[0], "https://example.org/" + longPath);
}

TEST_F(ASLinkTest, HoverShowsTheLinkColourAndLeavingRestoresTheOldOne) {
    link->SetFontColor(Qt::black);
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(link, &enter);
    EXPECT_EQ(link->FontColor(), QColor(0, 0, 255));
    link->SetFontColor(Qt::red);  // changed meanwhile
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(link, &leave);
    EXPECT_EQ(link->FontColor(), Qt::black);
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(ASLinkTest, AutoSizeFitsTheTextWhateverTheAlignment) {
    link->SetCaption("The ATI Rage 128 on Wikipedia");
    const int fitted = link->width();
    ASSERT_GT(fitted, 20);
    ASSERT_LT(fitted, 400);
    for (const Qt::Alignment alignment : {Qt::AlignHCenter, Qt::AlignRight}) {
        link->SetAlignment(alignment);
        link->SetCaption("The ATI Rage 128 on Wikipedia, again");
        EXPECT_GT(link->width(), fitted);
        EXPECT_LT(link->width(), 400);
        link->SetCaption("The ATI Rage 128 on Wikipedia");
        EXPECT_EQ(link->width(), fitted);
    }
}

TEST_F(ASLinkTest, ShadowSizeZeroHidesTheShadowUnderTheText) {
    link->SetShadowColor(QColor(255, 0, 0));
    link->SetFontColor(QColor(0, 0, 0));
    link->SetShadowSize(0);
    const QImage plain = link->grab().toImage();
    bool red = false;
    for (int y = 0; y < plain.height(); ++y) {
        for (int x = 0; x < plain.width(); ++x)
            red = red || plain.pixelColor(x, y) == QColor(255, 0, 0);
    }
    EXPECT_FALSE(red);
    link->SetShadowSize(2);
    const QImage shadowed = link->grab().toImage();
    for (int y = 0; y < shadowed.height(); ++y) {
        for (int x = 0; x < shadowed.width(); ++x)
            red = red || shadowed.pixelColor(x, y) == QColor(255, 0, 0);
    }
    EXPECT_TRUE(red);
}

}  // namespace
}  // namespace corvane
