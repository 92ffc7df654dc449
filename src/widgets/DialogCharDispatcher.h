#pragma once

#include <QChar>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace corvane {

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

}  // namespace corvane
