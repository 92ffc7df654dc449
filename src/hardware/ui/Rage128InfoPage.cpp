#include "hardware/ui/Rage128InfoPage.h"

#include "widgets/Form.h"

namespace corvane {

Rage128InfoPage::Rage128InfoPage(QWidget* parent) : QWidget(parent) {
    setObjectName("RageInfo");
    form::group(this, " General Informations ", QRect(8, 8, 482, 206), "GeneralInfoGroup");
    form::group(this, " Video In ", QRect(8, 222, 237, 112), "VideoInGroup");
    form::group(this, " Video Out ", QRect(253, 222, 237, 112), "VideoOutGroup");
}

}  // namespace corvane
