#include "platform/linux/SysfsPortDevice.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace corvane {

SysfsPortDevice::~SysfsPortDevice() {
    for (const auto& [handle, session] : m_sessions)
        ::close(session.fd);
}

PortDevice::Handle SysfsPortDevice::createFile(const std::string& path) {
    constexpr std::string_view kDriver = "\\zentrio.vxd";
    if (path.size() < kDriver.size() ||
        path.compare(path.size() - kDriver.size(), kDriver.size(), kDriver) != 0) {
        m_lastFailure = "no such driver";
        return kInvalidHandle;
    }
    PciDevice device;
    PciResource io;
    int bar = 0;
    if (!findRage128(m_root, device, bar, io)) {
        m_lastFailure = "no Rage 128 with an I/O BAR was found in " + m_root;
        return kInvalidHandle;
    }
    const std::string file = device.path + "/resource" + std::to_string(bar);
    const int fd = ::open(file.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        m_lastFailure = file + ": " + std::strerror(errno);
        return kInvalidHandle;
    }
    const Handle handle = m_next++;
    m_sessions[handle] = Session{fd, io.start, io.size()};
    return handle;
}

bool SysfsPortDevice::deviceIoControl(Handle handle, std::uint32_t code, const void* in,
                                      std::uint32_t inSize, void* out, std::uint32_t outSize,
                                      std::uint32_t* returned) {
    const auto it = m_sessions.find(handle);
    if (it == m_sessions.end()) {
        m_lastFailure = "the driver is not open";
        return false;
    }
    const Session& s = it->second;
    // Only the card's own BAR, a byte at a time at (port - base).
    const auto access = [this, &s](std::uint16_t port, std::uint8_t* byte, bool write) {
        if (port < s.base || port >= s.base + s.size) {
            m_lastFailure = "port outside the Rage 128's I/O range";
            return false;
        }
        const auto offset = static_cast<off_t>(port - s.base);
        const ssize_t done =
            write ? ::pwrite(s.fd, byte, 1, offset) : ::pread(s.fd, byte, 1, offset);
        if (done == 1) return true;
        m_lastFailure = done < 0 ? std::strerror(errno) : "short transfer";
        return false;
    };
    return serve(
        code, in, inSize, out, outSize, returned,
        [&](std::uint16_t port, std::uint8_t& value) { return access(port, &value, false); },
        [&](std::uint16_t port, std::uint8_t value) { return access(port, &value, true); });
}

bool SysfsPortDevice::closeHandle(Handle handle) {
    const auto it = m_sessions.find(handle);
    if (it == m_sessions.end()) return false;
    ::close(it->second.fd);
    m_sessions.erase(it);
    return true;
}

}  // namespace corvane
