#include "settings/ui/DvdPage.h"

#include "widgets/Form.h"

namespace corvane {

DvdPage::DvdPage(SettingWidgets&, QWidget* parent) : QWidget(parent) {
    setObjectName("DVDTab");
    DVDNotFoundLbl = form::label(this, "Not Found", QPoint(190, 150), "DVDNotFoundLbl");
    QFont notFound = form::windowFont();
    notFound.setPixelSize(24);
    notFound.setBold(true);
    DVDNotFoundLbl->setFont(notFound);
    QPalette red = DVDNotFoundLbl->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    DVDNotFoundLbl->setPalette(red);
    DVDNotFoundLbl->hide();
    AudioGroup = form::group(this, " Audio Settings ", QRect(8, 8, 482, 170), "AudioGroup");
    VideoGroup = form::group(this, " Video Settings ", QRect(8, 186, 482, 148), "VideoGroup");
}

}  // namespace corvane
