#include "platform/linux/SysfsPci.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace corvane {

namespace {

std::uint64_t readHex(const std::string& file) {
    std::ifstream in(file);
    std::string text;
    in >> text;
    try {
        return std::stoull(text, nullptr, 16);
    } catch (...) {
        return 0;
    }
}

}  // namespace

bool isRage128DeviceId(std::uint16_t id) {
    // Rage 128 GL/VR (RE..RL, SE..SN), Rage 128 Pro (PA..PX, TF..TU) and Rage Mobility M3/M4.
    if (id >= 0x5041 && id <= 0x5058) return true;
    switch (id) {
        case 0x4C45:
        case 0x4C46:
        case 0x4D46:
        case 0x4D4C:
        case 0x5245:
        case 0x5246:
        case 0x5247:
        case 0x524B:
        case 0x524C:
        case 0x5345:
        case 0x5346:
        case 0x5347:
        case 0x5348:
        case 0x534B:
        case 0x534C:
        case 0x534D:
        case 0x534E:
        case 0x5446:
        case 0x544C:
        case 0x5452:
        case 0x5453:
        case 0x5454:
        case 0x5455:
            return true;
        default:
            return false;
    }
}

std::vector<PciDevice> listPciDevices(const std::string& root) {
    std::vector<PciDevice> devices;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(root, error)) {
        PciDevice d;
        d.path = entry.path().string();
        const std::string name = entry.path().filename().string();
        unsigned domain = 0;
        unsigned bus = 0;
        unsigned slot = 0;
        unsigned function = 0;
        if (std::sscanf(name.c_str(), "%x:%x:%x.%x", &domain, &bus, &slot, &function) != 4)
            continue;
        d.busDeviceFunction = static_cast<std::uint16_t>((bus << 8) | (slot << 3) | function);
        d.vendor = static_cast<std::uint16_t>(readHex(d.path + "/vendor"));
        d.device = static_cast<std::uint16_t>(readHex(d.path + "/device"));
        d.classCode = static_cast<std::uint32_t>(readHex(d.path + "/class"));
        devices.push_back(d);
    }
    std::sort(devices.begin(), devices.end(),
              [](const PciDevice& a, const PciDevice& b) { return a.path < b.path; });
    return devices;
}

std::vector<PciResource> readPciResources(const PciDevice& device) {
    std::vector<PciResource> resources;
    std::ifstream in(device.path + "/resource");
    std::string start;
    std::string end;
    std::string flags;
    while (in >> start >> end >> flags) {
        PciResource r;
        try {
            r.start = std::stoull(start, nullptr, 16);
            r.end = std::stoull(end, nullptr, 16);
            r.flags = std::stoull(flags, nullptr, 16);
        } catch (...) {
        }
        resources.push_back(r);
    }
    return resources;
}

bool findRage128(const std::string& root, PciDevice& device, int& ioBar, PciResource& io) {
    for (const PciDevice& d : listPciDevices(root)) {
        if (d.vendor != 0x1002 || !isRage128DeviceId(d.device) || (d.classCode >> 16) != 0x03)
            continue;
        const auto resources = readPciResources(d);
        for (std::size_t i = 0; i < resources.size() && i < 6; ++i) {
            if (resources[i].isIo() && resources[i].size() > 0) {
                device = d;
                ioBar = static_cast<int>(i);
                io = resources[i];
                return true;
            }
        }
    }
    return false;
}

}  // namespace corvane
