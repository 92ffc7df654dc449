#pragma once

#include <QChar>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace corvane {

// Offers Alt + letter keys pressed in one window to every DialogCharTarget in it that the user can
// see (so on the page on show, not on the others), in the order of the window's widget tree,
// until one takes the key; a key nobody takes goes on as usual (to the menu bar, for instance).
// A disabled label does not answer either.
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
