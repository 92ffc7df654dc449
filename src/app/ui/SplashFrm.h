#pragma once

#include <QLabel>
#include <QWidget>

namespace corvane {

// The picture shown briefly when the main window first appears: no border, 449 x 201, centred.
class TSplashFrm : public QWidget {
    Q_OBJECT

public:
    explicit TSplashFrm(QWidget* owner);

protected:
    void closeEvent(QCloseEvent* event) override;
};

}  // namespace corvane
