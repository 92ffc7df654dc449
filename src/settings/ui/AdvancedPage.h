#pragma once

#include <QWidget>

#include "hardware/ui/ClockPanel.h"
#include "presets/ui/PresetsBox.h"
#include "settings/ui/SettingWidgets.h"

namespace corvane {

// The Advanced page: the driver's AGP command stream setting and the clock panel in the
// " Advanced Settings " group, and the presets below it.
class AdvancedPage : public QWidget {
    Q_OBJECT

public:
    AdvancedPage(SettingWidgets& settings, QWidget* parent);

    TOverCheckBox* HMDLUseAGP;
    TCheckLabel* HDMLAgpLbl;
    ClockPanel* Clocks;
    PresetsBox* Presets;
};

}  // namespace corvane
