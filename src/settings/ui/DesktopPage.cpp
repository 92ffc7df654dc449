#include "settings/ui/DesktopPage.h"

#include "settings/ui/SettingRows.h"
#include "widgets/Form.h"

namespace corvane {

DesktopPage::DesktopPage(SettingWidgets& settings, QWidget* parent) : QWidget(parent) {
    setObjectName("GeneralTab");
    QGroupBox* group =
        form::group(this, " Desktop Settings ", QRect(8, 8, 482, 160), "DesktopGroup");
    D3DTab = settingrows::checkRow(group, settings, driverSetting("D3DTab"), 24, 60, "Label36");
    OpenGLTab =
        settingrows::checkRow(group, settings, driverSetting("OpenGLTab"), 24, 90, "OpenGLTabLbl");
    EnableIcon = settingrows::checkRow(group, settings, driverSetting("EnableIcon"), 24, 120,
                                       "EnableIconLbl");
    Label36 = settings.caption("D3DTab");
    OpenGLTabLbl = settings.caption("OpenGLTab");
    EnableIconLbl = settings.caption("EnableIcon");
}

void DesktopPage::applyWindowsNtLayout() {
    D3DTab->hide();
    Label36->hide();
    OpenGLTab->move(OpenGLTab->x(), 60);
    OpenGLTabLbl->move(OpenGLTabLbl->x(), 63);
    EnableIcon->move(EnableIcon->x(), 90);
    EnableIconLbl->move(EnableIconLbl->x(), 93);
}

}  // namespace corvane
