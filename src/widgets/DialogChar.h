#pragma once

#include <QChar>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace corvane {

// A control that answers accelerator keys (Alt + the letter marked with "&" in its caption).
class DialogCharTarget {
public:
    virtual ~DialogCharTarget() = default;
    // True when the control took the key; it then goes no further.
    virtual bool dialogChar(QChar key) = 0;
};

// True when key is the accelerator of caption: the character after a single "&", compared
// without regard to case.
bool isAccel(QChar key, const QString& caption);

// Offers Alt + letter keys pressed in one window to every DialogCharTarget in it, in the order
// the controls were created, until one takes the key; a key nobody takes goes on as usual (to
// the menu bar, for instance). Controls on pages that are not shown are asked too: a label
// disabled by its page is what keeps it from answering.
class DialogCharDispatcher : public QObject {
public:
    explicit DialogCharDispatcher(QWidget* window);
    ~DialogCharDispatcher() override;
    bool dispatch(QChar key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_window;
    bool m_swallowNextPress = false;
};

// The text flags of a label: expanded tabs, its horizontal alignment, word breaks when wrapping,
// and the accelerator underlined when "&" marks one.
int labelTextFlags(Qt::Alignment alignment, bool wordWrap, bool showAccelChar);

// Turns the program's texts, written with Windows line breaks ("\r", "\r\n", "\n\r"), into text
// with "\n" breaks; "\r\r" stays a blank line.
QString displayText(const QString& text);

}  // namespace corvane
