#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvane {

// PCI devices as Linux shows them under /sys/bus/pci/devices (a different root for tests).
struct PciDevice {
    std::string path;  // the device's sysfs folder
    std::uint16_t vendor = 0;
    std::uint16_t device = 0;
    std::uint32_t classCode = 0;
    std::uint16_t busDeviceFunction = 0;  // bus in the high byte, device << 3 | function low
};

struct PciResource {
    std::uint64_t start = 0;
    std::uint64_t end = 0;
    std::uint64_t flags = 0;
    bool isIo() const { return (flags & 0x100) != 0; }
    std::uint64_t size() const {
        return end >= start && (start != 0 || end != 0) ? end - start + 1 : 0;
    }
};

inline constexpr const char* kSysfsPciDevices = "/sys/bus/pci/devices";

// In the order of their addresses.
std::vector<PciDevice> listPciDevices(const std::string& root);
std::vector<PciResource> readPciResources(const PciDevice& device);

// The first display adapter of the Rage 128 family, and the index of its I/O BAR.
bool findRage128(const std::string& root, PciDevice& device, int& ioBar, PciResource& io);
bool isRage128DeviceId(std::uint16_t deviceId);

}  // namespace corvane
