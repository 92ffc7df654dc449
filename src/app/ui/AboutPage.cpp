#include "app/ui/AboutPage.h"

#include "widgets/ASLink.h"
#include "widgets/Form.h"

namespace corvane {

namespace {

TASLink* webLink(QWidget* parent, const QString& caption, const QString& address, int top,
                 ShellOpener& shell, const QString& name) {
    auto* link = new TASLink(parent);
    link->setObjectName(name);
    link->setFont(form::windowFont());
    link->SetFontColor(QColor(0, 0, 128));
    link->SetShowAccelChar(false);
    link->SetURLTypeAdd(false);
    link->SetURLType(TURLType::utHttp);
    link->SetLink(address);
    link->SetCaption(caption);
    link->move(24, top);
    link->SetShellOpener(&shell);
    form::setHint(link, address);
    return link;
}

}  // namespace

AboutPage::AboutPage(ShellOpener& shell, QWidget* parent) : QWidget(parent) {
    setObjectName("AboutTab");
    QGroupBox* group = form::group(this, " About ... ", QRect(8, 8, 482, 326), "AboutGroup");
    TCheckLabel* title = form::label(group, "Corvane - Version 1.1", QPoint(24, 28), "VersionLbl");
    QFont big = form::windowFont();
    big.setPixelSize(16);
    big.setBold(true);
    title->setFont(big);

    TCheckLabel* credits = form::label(group, "", QPoint(24, 64), "CreditsLbl");
    credits->SetAutoSize(false);
    credits->SetWordWrap(true);
    credits->setGeometry(24, 64, 440, 60);
    credits->SetCaption(
        "Written by the Corvane developers for owners of ATI Rage 128 cards. "
        "Corvane edits the tuning values of the ATI display driver and of the DVD player that comes with the card, and sets the chip's core and memory clocks.");

    TCheckLabel* notice = form::label(group, "", QPoint(24, 130), "LicenceLbl");
    notice->SetAutoSize(false);
    notice->SetWordWrap(true);
    notice->setGeometry(24, 130, 440, 60);
    notice->SetCaption(
        "Corvane is free software under the MIT License: you may use, copy, change and pass it on, as long as the licence text goes with it. "
        "It comes without any warranty; setting clocks beyond what your card was made for is at your own risk.");

    form::label(group, "On the web:", QPoint(24, 204), "WebLbl");
    webLink(group, "The MIT License", "https://opensource.org/license/mit", 226, shell,
            "LicenceLink");
    webLink(group, "Qt, the toolkit this window is built with", "https://www.qt.io", 248, shell,
            "QtLink");
    webLink(group, "The ATI Rage 128 on Wikipedia",
            "https://en.wikipedia.org/wiki/ATI_Rage#Rage_128", 270, shell, "Rage128Link");
}

}  // namespace corvane
