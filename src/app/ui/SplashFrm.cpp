#include "app/ui/SplashFrm.h"

#include <QCloseEvent>
#include <QScreen>

namespace corvane {

TSplashFrm::TSplashFrm(QWidget* owner)
    : QWidget(owner, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName("SplashFrm");
    setWindowTitle("SplashFrm");
    setFixedSize(449, 201);
    auto* panel = new QWidget(this);
    panel->setObjectName("Panel1");
    panel->setGeometry(rect());
    auto* image = new QLabel(panel);
    image->setObjectName("Image1");
    image->setGeometry(rect());
    image->setPixmap(QPixmap(":/images/Splash.bmp"));
    if (const QScreen* screen = this->screen()) move(screen->geometry().center() - rect().center());
}

void TSplashFrm::closeEvent(QCloseEvent* event) {
    // Closing the splash frees it.
    setAttribute(Qt::WA_DeleteOnClose);
    QWidget::closeEvent(event);
}

}  // namespace corvane
