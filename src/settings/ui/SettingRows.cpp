#include "settings/ui/SettingRows.h"

#include "widgets/Form.h"

namespace corvane::settingrows {

TOverCheckBox* checkRow(QWidget* parent, SettingWidgets& settings, const Setting& setting, int left,
                        int top, const QString& labelName) {
    const form::CheckRow row =
        form::checkRow(parent, setting.id, setting.caption, setting.hint, left, top, labelName,
                       setting.labelHint != nullptr ? QString(setting.labelHint) : QString());
    settings.addCheck(setting.id, row.box, row.label);
    return row.box;
}

QComboBox* listRow(QWidget* parent, SettingWidgets& settings, const Setting& setting,
                   const QPoint& labelAt, const QRect& geometry) {
    QStringList items;
    for (const char* item : setting.items)
        items << item;
    QComboBox* combo = form::list(parent, setting.id, items, geometry, setting.hint);
    TCheckLabel* caption =
        form::label(parent, setting.caption, labelAt, QString(setting.id) + "Lbl");
    caption->SetFocusControl(combo);
    form::setHint(caption, setting.hint);
    settings.addList(setting.id, combo, caption);
    return combo;
}

}  // namespace corvane::settingrows
