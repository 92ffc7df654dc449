#include "platform/linux/SysfsFirmware.h"

#include <fcntl.h>
#include <unistd.h>

namespace corvane {

namespace {

constexpr std::uint8_t kDeviceNotFound = 0x86;

// The aperture size register's value for an aperture of so many bytes; 01h (no size) otherwise.
std::uint16_t apertureRegisterForSize(std::uint64_t bytes) {
    constexpr std::uint64_t kMB = 1024 * 1024;
    switch (bytes / kMB) {
        case 256:
            return 0x00;
        case 128:
            return 0x20;
        case 64:
            return 0x30;
        case 32:
            return 0x38;
        case 16:
            return 0x3C;
        case 8:
            return 0x3E;
        case 4:
            return 0x3F;
        default:
            return 0x01;
    }
}

}  // namespace

std::uint8_t SysfsFirmware::findPciDevice(std::uint16_t deviceId, std::uint16_t vendorId,
                                          std::uint16_t index, std::uint16_t& busDeviceFunction) {
    std::uint16_t seen = 0;
    for (const PciDevice& d : listPciDevices(m_root)) {
        if (d.vendor != vendorId || d.device != deviceId) continue;
        if (seen++ == index) {
            busDeviceFunction = d.busDeviceFunction;
            return 0;
        }
    }
    return kDeviceNotFound;
}

std::uint16_t SysfsFirmware::readPciConfigWord(std::uint16_t busDeviceFunction,
                                               std::uint16_t offset) {
    for (const PciDevice& d : listPciDevices(m_root)) {
        if (d.busDeviceFunction != busDeviceFunction) continue;
        std::uint8_t word[2] = {0xFF, 0xFF};
        const int fd = ::open((d.path + "/config").c_str(), O_RDONLY | O_CLOEXEC);
        const ssize_t n = fd >= 0 ? ::pread(fd, word, 2, offset) : -1;
        if (fd >= 0) ::close(fd);
        if (n == 2) return static_cast<std::uint16_t>(word[0] | (word[1] << 8));
        if (d.vendor == 0x8086 && d.device == 0x7190 && offset == 0xB4) {
            const auto resources = readPciResources(d);
            if (!resources.empty()) return apertureRegisterForSize(resources[0].size());
        }
        return 0xFFFF;
    }
    return 0xFFFF;
}

std::uint16_t SysfsFirmware::videoBiosA005() {
    PciDevice device;
    PciResource io;
    int bar = 0;
    return findRage128(m_root, device, bar, io) ? static_cast<std::uint16_t>(io.start & 0xFFFF) : 0;
}

}  // namespace corvane
