#include "platform/qt/QtDialogs.h"

#include <QMessageBox>

#include "platform/qt/DisplayText.h"

namespace corvane {

DialogResult QtDialogs::show(const DialogRequest& request) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (request.icon) {
        case DialogIcon::Error:
            icon = QMessageBox::Critical;
            break;
        case DialogIcon::Warning:
        case DialogIcon::Exclamation:
            icon = QMessageBox::Warning;
            break;
        case DialogIcon::Information:
            icon = QMessageBox::Information;
            break;
        case DialogIcon::None:
            break;
    }
    const bool question = request.buttons == DialogButtons::YesNo;
    QMessageBox box(icon, QString::fromStdString(request.caption),
                    displayText(QString::fromStdString(request.text)),
                    question ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok, m_parent);
    const int answer = box.exec();
    if (!question) return DialogResult::Ok;
    return answer == QMessageBox::Yes ? DialogResult::Yes : DialogResult::No;
}

}  // namespace corvane
