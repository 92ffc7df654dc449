#pragma once

#include <QWidget>

#include "settings/ui/SettingWidgets.h"

namespace corvane {

// The Direct3D page: the driver's Direct3D switches, the Z-buffer depths and the gamma scale.
class Direct3DPage : public QWidget {
    Q_OBJECT

public:
    Direct3DPage(SettingWidgets& settings, QWidget* parent);

    // The gamma sliders' change: all three follow the one moved while ChangeRGBSim is checked,
    // and the three percentages are shown again.
    void RedGammaChange(TTrackBar* sender);
    // The three percentages beside the sliders, as the sliders stand.
    void showGammaPercentages();
    // Tick marks at 60 % to 140 % in steps of 10 on the three sliders.
    void SetGammaTicks();

    TOverCheckBox* ChangeRGBSim;

private:
    SettingWidgets& m_settings;
};

}  // namespace corvane
