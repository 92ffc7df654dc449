#include "presets/ui/PresetsBox.h"

#include "widgets/Form.h"

namespace corvane {

PresetsBox::PresetsBox(QWidget* parent) : QGroupBox(" Presets ", parent) {
    setObjectName("GroupBox11");
    setGeometry(8, 224, 482, 110);
    form::label(
        this,
        "Select a preset from the list below.  If you want your own presets to be listed  here, just put them ",
        QPoint(14, 20), "PresetsText1");
    form::label(this, "in the Presets folder.", QPoint(14, 36), "PresetsText2");
    PresetsLbl = form::label(this, "Available &presets:", QPoint(14, 66), "PresetsLbl");
    PresetsLbl->setEnabled(false);
    PresetsCB = form::list(this, "PresetsCB", {}, QRect(120, 62, 200, 21));
    PresetsLbl->SetFocusControl(PresetsCB);
    LoadPresetBtn = form::button(this, "LoadPresetBtn", "&Load", QRect(330, 61, 75, 23));
    LoadPresetBtn->setEnabled(false);
}

}  // namespace corvane
