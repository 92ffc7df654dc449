#pragma once

#include <map>
#include <string>

#include "platform/PortDevice.h"
#include "platform/linux/SysfsPci.h"

namespace corvane {

// The port I/O driver on Linux: the Rage 128's own I/O BAR through its sysfs resource file,
// read and written a byte at a time at (port - base). The kernel bounds the file to that BAR, so
// no other device's ports can be reached. Opening needs the right to write the file (root).
class SysfsPortDevice : public PortDevice {
public:
    explicit SysfsPortDevice(std::string root = kSysfsPciDevices) : m_root(std::move(root)) {}
    ~SysfsPortDevice() override;
    Handle createFile(const std::string& path) override;
    bool deviceIoControl(Handle handle, std::uint32_t code, const void* in, std::uint32_t inSize,
                         void* out, std::uint32_t outSize, std::uint32_t* returned) override;
    bool closeHandle(Handle handle) override;
    std::string lastFailure() const override { return m_lastFailure; }

private:
    struct Session {
        int fd = -1;
        std::uint64_t base = 0;
        std::uint64_t size = 0;
    };
    std::string m_root;
    std::map<Handle, Session> m_sessions;
    Handle m_next = 0x40;
    std::string m_lastFailure;
};

}  // namespace corvane
