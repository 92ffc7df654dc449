#include "platform/sim/SimDisplaySettings.h"

#include <cstdio>
#include <sstream>

namespace corvane {

namespace {
constexpr const char* kDefaultModes = "640x480x8 800x600x16 1024x768x16 1024x768x32";
constexpr const char* kDefaultCurrent = "1024x768x16";
}  // namespace

std::vector<DevMode> SimDisplaySettings::parseModes(const std::string& text) {
    std::vector<DevMode> modes;
    std::string item;
    std::istringstream in(text);
    while (in >> item) {
        if (item.back() == ',') item.pop_back();
        unsigned w = 0;
        unsigned h = 0;
        unsigned bits = 0;
        if (std::sscanf(item.c_str(), "%ux%ux%u", &w, &h, &bits) == 3) {
            DevMode mode;
            mode.pelsWidth = w;
            mode.pelsHeight = h;
            mode.bitsPerPel = bits;
            mode.displayFrequency = 60;
            modes.push_back(mode);
        }
    }
    return modes;
}

int SimDisplaySettings::getDeviceCaps(int index) {
    const auto current = parseModes(m_machine.text("Display", "Current", kDefaultCurrent));
    if (current.empty()) return 0;
    if (index == kHorzRes) return static_cast<int>(current[0].pelsWidth);
    if (index == kVertRes) return static_cast<int>(current[0].pelsHeight);
    if (index == kBitsPixel) return static_cast<int>(current[0].bitsPerPel);
    return 0;
}

bool SimDisplaySettings::enumDisplaySettings(std::uint32_t modeNumber, DevMode& mode) {
    const auto modes = parseModes(m_machine.text("Display", "Modes", kDefaultModes));
    if (modeNumber >= modes.size()) return false;
    mode = modes[modeNumber];
    return true;
}

long SimDisplaySettings::changeDisplaySettings(const DevMode& mode, std::uint32_t flags) {
    if (m_machine.number("Display", "ModeTest", 1) == 0) return kFailed;
    if (flags == kTest) return kSuccessful;
    const std::string current = std::to_string(mode.pelsWidth) + "x" +
                                std::to_string(mode.pelsHeight) + "x" +
                                std::to_string(mode.bitsPerPel);
    try {
        m_machine.set("Display", "Current", current);
        m_machine.increment("Display", "ModeSets");
    } catch (const SimMachineError&) {
        return kFailed;
    }
    return kSuccessful;
}

}  // namespace corvane
