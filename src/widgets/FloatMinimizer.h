#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <stdexcept>

namespace corvane {

class EThereCanBeOnlyOne : public std::runtime_error {
public:
    EThereCanBeOnlyOne() : std::runtime_error("Only one TFloatMinimizer per app!") {}
};
class EOwnerMustBeForm : public std::runtime_error {
public:
    explicit EOwnerMustBeForm(const QString& owner)
        : std::runtime_error((owner + " is not a form").toStdString()) {}
};
class EOwnerMustBeMainForm : public std::runtime_error {
public:
    explicit EOwnerMustBeMainForm(const QString& owner)
        : std::runtime_error((owner + " is not the main form").toStdString()) {}
};
class EAssertionFailed : public std::logic_error {
public:
    EAssertionFailed() : std::logic_error("Assertion failure") {}
};

// Gives the main window its own taskbar entry and makes minimising minimise the main window
// itself. At most one may exist in a program, owned by the main window. On the desktops of Linux
// a top-level window already has its own entry and minimises itself, so what remains here is the
// single-instance rule, the owner checks and copying the application title into the caption.
class TFloatMinimizer : public QObject {
    Q_OBJECT

public:
    // Raises EThereCanBeOnlyOne, EAssertionFailed (no owner), EOwnerMustBeForm or
    // EOwnerMustBeMainForm.
    explicit TFloatMinimizer(QObject* owner);
    ~TFloatMinimizer() override;

    bool CopyTitle() const { return m_copyTitle; }
    void SetCopyTitle(bool copy) { m_copyTitle = copy; }
    bool RestoreStyle() const { return m_restoreStyle; }
    void SetRestoreStyle(bool restore) { m_restoreStyle = restore; }

    // The application's main window, set once the main window has been created; none while it is
    // being created.
    static QWidget* applicationMainForm();
    static void setApplicationMainForm(QWidget* form);
    // The slot of the one instance stays taken until the program ends; tests that build several
    // windows in one process clear it between them.
    static void releaseSlotForTests();

private:
    void hook(QObject* owner);

    bool m_copyTitle = true;
    bool m_restoreStyle = false;
    QPointer<QWidget> m_form;
};

}  // namespace corvane
