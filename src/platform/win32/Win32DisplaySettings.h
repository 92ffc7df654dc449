#pragma once

#include "platform/DisplaySettings.h"

namespace corvane {

// The primary display's modes through user32 and the desktop window's device context.
class Win32DisplaySettings : public DisplaySettings {
public:
    int getDeviceCaps(int index) override;
    bool enumDisplaySettings(std::uint32_t modeNumber, DevMode& mode) override;
    long changeDisplaySettings(const DevMode& mode, std::uint32_t flags) override;
};

}  // namespace corvane
