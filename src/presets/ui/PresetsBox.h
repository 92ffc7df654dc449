#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>

#include "widgets/CheckLabel.h"

namespace corvane {

// The Presets group of the Advanced page: the presets kept in the Presets folder, and the button
// that loads the one chosen.
class PresetsBox : public QGroupBox {
    Q_OBJECT

public:
    explicit PresetsBox(QWidget* parent);

    TCheckLabel* PresetsLbl;
    QComboBox* PresetsCB;
    QPushButton* LoadPresetBtn;
};

}  // namespace corvane
