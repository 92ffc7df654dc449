#include "settings/ui/AdvancedPage.h"

#include "settings/ui/SettingRows.h"
#include "widgets/Form.h"

namespace corvane {

AdvancedPage::AdvancedPage(SettingWidgets& settings, QWidget* parent) : QWidget(parent) {
    setObjectName("Advanced");
    QGroupBox* group =
        form::group(this, " Advanced Settings ", QRect(8, 8, 482, 210), "AdvancedGroup");
    HMDLUseAGP =
        settingrows::checkRow(group, settings, driverSetting("HMDLUseAGP"), 14, 22, "HDMLAgpLbl");
    HDMLAgpLbl = settings.caption("HMDLUseAGP");
    HDMLAgpLbl->setEnabled(false);
    Clocks = new ClockPanel(group);
    Clocks->setGeometry(8, 52, 466, 152);
    settings.addCheck("StartupSettings", Clocks->StartupSettings, Clocks->CheckLabel5);
    Presets = new PresetsBox(this);
}

}  // namespace corvane
