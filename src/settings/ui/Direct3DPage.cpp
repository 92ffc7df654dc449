#include "settings/ui/Direct3DPage.h"

#include <array>

#include "settings/ui/SettingRows.h"
#include "widgets/Form.h"

namespace corvane {

namespace {

constexpr std::array<const char*, 3> kGammaSliders = {"RedGamma", "GreenGamma", "BlueGamma"};

}  // namespace

Direct3DPage::Direct3DPage(SettingWidgets& settings, QWidget* parent)
    : QWidget(parent), m_settings(settings) {
    setObjectName("Direct3DTab");
    QGroupBox* group = form::group(this, " Direct 3D ", QRect(8, 8, 482, 326), "Direct3DGroup");
    int top = 24;
    for (const Setting& s : driverSettings()) {
        if (s.page != SettingPage::Direct3D || s.kind != ControlKind::CheckBox) continue;
        settingrows::checkRow(group, settings, s, 14, top);
        top += 26;
    }
    settingrows::listRow(group, settings, driverSetting("ZBufferCB"), QPoint(16, 216),
                         QRect(16, 234, 150, 21));

    TCheckLabel* heading = form::label(group, "Gamma scale:", QPoint(262, 24), "GammaScaleLbl");
    form::setHint(heading, kGammaHint);
    for (std::size_t i = 0; i < kGammaSliders.size(); ++i) {
        const Setting& s = driverSetting(kGammaSliders[i]);
        const int rowTop = 48 + static_cast<int>(i) * 40;
        TTrackBar* bar =
            form::slider(group, s.id, s.minimum, s.maximum, QRect(286, rowTop, 150, 30));
        bar->SetPosition(s.initial);
        TCheckLabel* caption =
            form::label(group, s.caption, QPoint(262, rowTop + 6), QString(s.id) + "Lbl");
        caption->SetFocusControl(bar);
        settings.addSlider(s.id, bar, caption);
        const QString position = QString(s.id) + "PosLbl";
        settings.addLabel(position.toStdString(),
                          form::label(group, "n/a", QPoint(440, rowTop + 6), position));
    }
    form::label(group, "50%", QPoint(286, 168), "Gamma50Lbl");
    form::label(group, "100%", QPoint(350, 168), "Gamma100Lbl");
    form::label(group, "150%", QPoint(414, 168), "Gamma150Lbl");
    const form::CheckRow simultaneous =
        form::checkRow(group, "ChangeRGBSim", "&Change RGB simultaneously",
                       "Check this to move all the settings simultaneously.", 262, 196);
    simultaneous.box->SetChecked(true);
    ChangeRGBSim = simultaneous.box;
    settings.addCheck("ChangeRGBSim", simultaneous.box, simultaneous.label);
}

void Direct3DPage::RedGammaChange(TTrackBar* sender) {
    if (ChangeRGBSim->Checked()) {
        for (const char* id : kGammaSliders)
            m_settings.setPosition(id, sender->Position());
    }
    showGammaPercentages();
}

void Direct3DPage::showGammaPercentages() {
    for (const char* id : kGammaSliders) {
        m_settings.setLabelText(std::string(id) + "PosLbl",
                                std::to_string(m_settings.position(id)) + "%");
    }
}

void Direct3DPage::SetGammaTicks() {
    for (int position = 60; position <= 140; position += 10) {
        for (const char* id : kGammaSliders)
            m_settings.slider(id)->SetTick(position);
    }
}

}  // namespace corvane
