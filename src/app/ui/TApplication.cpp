#include "app/ui/TApplication.h"

#include <QMessageBox>
#include <exception>

namespace corvane {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        if (m_dialogs != nullptr) {
            m_dialogs->show({applicationDisplayName().toStdString(), e.what(), DialogIcon::Error,
                             DialogButtons::Ok});
        }
    }
    return false;
}

}  // namespace corvane
