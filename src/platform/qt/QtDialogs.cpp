#include "platform/qt/QtDialogs.h"

#include <QFileDialog>
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

std::optional<std::string> QtDialogs::chooseFile(const FileDialogRequest& request) {
    QFileDialog dialog(m_parent, QString::fromStdString(request.title),
                       QString::fromStdString(request.folder),
                       QString::fromStdString(request.filter));
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // Opening does not ask for an existing file: a name of a missing one simply applies nothing.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultSuffix));
    if (!request.fileName.empty()) dialog.selectFile(QString::fromStdString(request.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

}  // namespace corvane
