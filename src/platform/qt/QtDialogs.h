#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/Dialogs.h"

namespace corvane {

// Shows the program's messages and questions as message boxes over the given window (or over
// none), with their captions, icons and buttons.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }
    DialogResult show(const DialogRequest& request) override;
    std::optional<std::string> chooseFile(const FileDialogRequest& request) override;

private:
    QPointer<QWidget> m_parent;
};

}  // namespace corvane
