#pragma once

#include <QComboBox>
#include <QPoint>
#include <QRect>
#include <QString>

#include "settings/DriverSettingsTable.h"
#include "settings/ui/SettingWidgets.h"

// Creates a setting's control from its row of the settings table, with its caption label, and
// hands both to the window's setting controls.
namespace corvane::settingrows {

// A check box with its check label to the right; the label is named labelName, or the
// identifier followed by "Lbl".
TOverCheckBox* checkRow(QWidget* parent, SettingWidgets& settings, const Setting& setting, int left,
                        int top, const QString& labelName = {});

// A list with its caption label at labelAt; the label's accelerator focuses the list.
QComboBox* listRow(QWidget* parent, SettingWidgets& settings, const Setting& setting,
                   const QPoint& labelAt, const QRect& geometry);

}  // namespace corvane::settingrows
