#include "widgets/DialogCharDispatcher.h"

#include <QApplication>
#include <QKeyEvent>

#include "widgets/DialogCharTarget.h"

namespace corvane {

DialogCharDispatcher::DialogCharDispatcher(QWidget* window) : QObject(window), m_window(window) {
    qApp->installEventFilter(this);
}

DialogCharDispatcher::~DialogCharDispatcher() {
    qApp->removeEventFilter(this);
}

bool DialogCharDispatcher::dispatch(QChar key) {
    if (!m_window) return false;
    for (QWidget* widget : m_window->findChildren<QWidget*>()) {
        // A control the user can't see never takes a key: a label on another page would flip a
        // box there unseen.
        if (!widget->isVisibleTo(m_window)) continue;
        if (auto* target = dynamic_cast<DialogCharTarget*>(widget);
            target != nullptr && target->dialogChar(key)) {
            return true;
        }
    }
    return false;
}

bool DialogCharDispatcher::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || !m_window || widget->window() != m_window) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (type == QEvent::KeyPress && m_swallowNextPress) {
        m_swallowNextPress = false;
        return true;
    }
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    const int code = key->key();
    const bool letter =
        (code >= Qt::Key_A && code <= Qt::Key_Z) || (code >= Qt::Key_0 && code <= Qt::Key_9);
    if (mods != Qt::AltModifier || !letter) return false;
    if (!dispatch(QChar(code))) return false;
    if (type == QEvent::ShortcutOverride) {
        // Taken: the menu bar's shortcuts must not see it, and the key press that follows is
        // dropped.
        event->accept();
        m_swallowNextPress = true;
    }
    return true;
}

}  // namespace corvane
