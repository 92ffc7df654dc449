#pragma once

#include <QGroupBox>
#include <QWidget>

#include "settings/ui/SettingWidgets.h"

namespace corvane {

// The DVD page: the DVD player's audio and video decoder settings, or "Not Found" when the
// player is not installed.
class DvdPage : public QWidget {
    Q_OBJECT

public:
    DvdPage(SettingWidgets& settings, QWidget* parent);

    TCheckLabel* DVDNotFoundLbl;
    QGroupBox* AudioGroup;
    QGroupBox* VideoGroup;
};

}  // namespace corvane
