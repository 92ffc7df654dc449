#include "widgets/DialogChar.h"

#include <QApplication>
#include <QKeyEvent>

namespace corvane {

bool isAccel(QChar key, const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        return caption[i + 1].toUpper() == key.toUpper();
    }
    return false;
}

int labelTextFlags(Qt::Alignment alignment, bool wordWrap, bool showAccelChar) {
    int flags = Qt::TextExpandTabs;
    if (wordWrap) flags |= Qt::TextWordWrap;
    if (showAccelChar) flags |= Qt::TextShowMnemonic;
    if (alignment & Qt::AlignRight) {
        flags |= Qt::AlignRight;
    } else if (alignment & Qt::AlignHCenter) {
        flags |= Qt::AlignHCenter;
    } else {
        flags |= Qt::AlignLeft;
    }
    return flags;
}

QString displayText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const QChar next = i + 1 < text.size() ? text[i + 1] : QChar();
        if ((c == '\r' && next == '\n') || (c == '\n' && next == '\r')) {
            out += '\n';
            ++i;
        } else if (c == '\r') {
            out += '\n';
        } else {
            out += c;
        }
    }
    return out;
}

DialogCharDispatcher::DialogCharDispatcher(QWidget* window) : QObject(window), m_window(window) {
    qApp->installEventFilter(this);
}

DialogCharDispatcher::~DialogCharDispatcher() {
    qApp->removeEventFilter(this);
}

bool DialogCharDispatcher::dispatch(QChar key) {
    if (!m_window) return false;
    for (QWidget* widget : m_window->findChildren<QWidget*>()) {
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
