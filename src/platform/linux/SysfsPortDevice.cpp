#include "platform/linux/SysfsPortDevice.h"

#include <fcntl.h>
#include <unistd.h>

namespace corvane {

SysfsPortDevice::~SysfsPortDevice() {
    for (const auto& [handle, session] : m_sessions)
        ::close(session.fd);
}

PortDevice::Handle SysfsPortDevice::createFile(const std::string& path) {
    constexpr std::string_view kDriver = "\\zentrio.vxd";
    if (path.size() < kDriver.size() ||
        path.compare(path.size() - kDriver.size(), kDriver.size(), kDriver) != 0) {
        return kInvalidHandle;
    }
    PciDevice device;
    PciResource io;
    int bar = 0;
    if (!findRage128(m_root, device, bar, io)) return kInvalidHandle;
    const std::string file = device.path + "/resource" + std::to_string(bar);
    const int fd = ::open(file.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return kInvalidHandle;
    const Handle handle = m_next++;
    m_sessions[handle] = Session{fd, io.start, io.size()};
    return handle;
}

bool SysfsPortDevice::deviceIoControl(Handle handle, std::uint32_t code, const void* in,
                                      std::uint32_t inSize, void* out, std::uint32_t outSize,
                                      std::uint32_t* returned) {
    const auto it = m_sessions.find(handle);
    Request request;
    if (it == m_sessions.end() || !decode(code, in, inSize, out, outSize, request)) return false;
    const Session& s = it->second;
    if (request.port < s.base || request.port >= s.base + s.size) return false;
    const auto offset = static_cast<off_t>(request.port - s.base);
    const ssize_t done =
        request.write ? ::pwrite(s.fd, &request.value, 1, offset) : ::pread(s.fd, out, 1, offset);
    if (done != 1) return false;
    if (returned != nullptr) *returned = 2;
    return true;
}

bool SysfsPortDevice::closeHandle(Handle handle) {
    const auto it = m_sessions.find(handle);
    if (it == m_sessions.end()) return false;
    ::close(it->second.fd);
    m_sessions.erase(it);
    return true;
}

}  // namespace corvane
