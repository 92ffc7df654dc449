#include "platform/qt/LogindRestart.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>

namespace corvane {

bool LogindRestart::exitWindowsEx(std::uint32_t) {
    QDBusInterface manager("org.freedesktop.login1", "/org/freedesktop/login1",
                           "org.freedesktop.login1.Manager", QDBusConnection::systemBus());
    if (!manager.isValid()) return false;
    const QDBusReply<void> reply = manager.call("Reboot", true);
    return reply.isValid();
}

}  // namespace corvane
