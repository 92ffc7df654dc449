#include "app/ui/TApplication.h"

#include <QMessageBox>
#include <exception>

namespace corvane {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // The title is the name alone. A display name would be appended by the window system to every
    // caption ("Error - Corvane"), and the dialogs' captions are exactly "Error", "Warning" and
    // "Corvane".
    setApplicationName("Corvane");
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        if (m_dialogs != nullptr) {
            m_dialogs->show(
                {applicationName().toStdString(), e.what(), DialogIcon::Error, DialogButtons::Ok});
        }
    }
    return false;
}

}  // namespace corvane
