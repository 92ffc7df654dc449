#include "settings/ui/OpenGLPage.h"

#include "settings/ui/SettingRows.h"
#include "widgets/Form.h"

namespace corvane {

OpenGLPage::OpenGLPage(SettingWidgets& settings, QWidget* parent) : QWidget(parent) {
    setObjectName("OpenGL");
    QGroupBox* group = form::group(this, " OpenGL Settings ", QRect(8, 8, 482, 326), "OpenGLGroup");
    int top = 24;
    for (const Setting& s : driverSettings()) {
        if (s.page != SettingPage::OpenGL || s.kind != ControlKind::CheckBox) continue;
        settingrows::checkRow(group, settings, s, 14, top);
        top += 26;
    }
    settingrows::listRow(group, settings, driverSetting("SubpixelCB"), QPoint(16, 190),
                         QRect(140, 186, 60, 21));
    settingrows::listRow(group, settings, driverSetting("ForceDepthBuffer"), QPoint(16, 218),
                         QRect(140, 214, 150, 21));
    settingrows::listRow(group, settings, driverSetting("ModulateFactor"), QPoint(16, 246),
                         QRect(140, 242, 150, 21));

    const Setting& detail = driverSetting("DetailLevel");
    TTrackBar* bar = form::slider(group, detail.id, detail.minimum, detail.maximum,
                                  QRect(134, 270, 170, 30), detail.hint);
    bar->SetFrequency(1);
    TCheckLabel* caption = form::label(group, detail.caption, QPoint(16, 278), "DetailLevelLbl");
    caption->SetFocusControl(bar);
    form::setHint(caption, detail.hint);
    settings.addSlider(detail.id, bar, caption);
    form::label(group, "Fuzzy", QPoint(136, 300), "FuzzyLbl");
    TCheckLabel* sharp = form::label(group, "Sharp", QPoint(0, 300), "SharpLbl");
    sharp->move(304 - sharp->width(), 300);
}

}  // namespace corvane
