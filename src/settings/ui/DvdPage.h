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

    // The S/PDIF list as newer player engines have it, with five entries.
    void useFiveItemSpdifList();
    // The player is not installed: only "Not Found" is shown, for as long as the window exists.
    void showNotFound();
    bool notFound() const { return !DVDNotFoundLbl->isHidden(); }

    TCheckLabel* DVDNotFoundLbl;
    QGroupBox* AudioGroup;
    QGroupBox* VideoGroup;

private:
    SettingWidgets& m_settings;
};

}  // namespace corvane
