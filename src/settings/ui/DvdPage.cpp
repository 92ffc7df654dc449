#include "settings/ui/DvdPage.h"

#include <QSignalBlocker>

#include "settings/DvdSettingsTable.h"
#include "settings/ui/SettingRows.h"
#include "widgets/Form.h"

namespace corvane {

DvdPage::DvdPage(SettingWidgets& settings, QWidget* parent)
    : QWidget(parent), m_settings(settings) {
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
    int top = 24;
    for (const char* id : {"LFE", "UseSurround", "DialogNormalization"}) {
        settingrows::checkRow(AudioGroup, settings, dvdSetting(id), 14, top);
        top += 30;
    }
    settingrows::listRow(AudioGroup, settings, dvdSetting("CompressionModeCB"), QPoint(214, 22),
                         QRect(290, 26, 180, 21));
    settingrows::listRow(AudioGroup, settings, dvdSetting("SampleRate"), QPoint(214, 74),
                         QRect(290, 70, 80, 21));
    settingrows::listRow(AudioGroup, settings, dvdSetting("AC3SPDIFOut"), QPoint(214, 106),
                         QRect(290, 110, 180, 21));

    VideoGroup = form::group(this, " Video Settings ", QRect(8, 186, 482, 148), "VideoGroup");
    settingrows::checkRow(VideoGroup, settings, dvdSetting("HardwareOptimization"), 14, 24);
    settingrows::checkRow(VideoGroup, settings, dvdSetting("TripleBuffering"), 14, 54);
    settingrows::listRow(VideoGroup, settings, dvdSetting("PerformanceClass"), QPoint(16, 98),
                         QRect(110, 94, 240, 21));
}

void DvdPage::useFiveItemSpdifList() {
    QComboBox* list = m_settings.list("AC3SPDIFOut");
    const QSignalBlocker quiet(list);
    list->clear();
    for (const char* item : spdifFiveItemForm())
        list->addItem(item);
    list->setCurrentIndex(-1);
}

void DvdPage::showNotFound() {
    AudioGroup->hide();
    VideoGroup->hide();
    DVDNotFoundLbl->show();
}

}  // namespace corvane
