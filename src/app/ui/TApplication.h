#pragma once

#include <QApplication>

#include "platform/Dialogs.h"

namespace corvane {

// The application object. An error that escapes an event handler is shown in a message box with
// the application's title and the error's text, and the program goes on, as the class library's
// top-level error handler does; it never ends the program.
class TApplication : public QApplication {
    Q_OBJECT

public:
    TApplication(int& argc, char** argv);
    void setDialogs(Dialogs* dialogs) { m_dialogs = dialogs; }
    bool notify(QObject* receiver, QEvent* event) override;

private:
    Dialogs* m_dialogs = nullptr;
};

}  // namespace corvane
