#include "platform/qt/QtShellOpener.h"

#include <QDesktopServices>
#include <QUrl>

namespace corvane {

bool QtShellOpener::open(const std::string& address) {
    const QUrl url(QString::fromStdString(address), QUrl::StrictMode);
    return url.isValid() && QDesktopServices::openUrl(url);
}

}  // namespace corvane
