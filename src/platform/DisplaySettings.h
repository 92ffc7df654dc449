#pragma once

#include <cstdint>

namespace corvane {

// The fields of the Windows DEVMODEA record that mode handling looks at.
struct DevMode {
    std::uint32_t bitsPerPel = 0;
    std::uint32_t pelsWidth = 0;
    std::uint32_t pelsHeight = 0;
    std::uint32_t displayFlags = 0;
    std::uint32_t displayFrequency = 0;
    std::uint32_t fields = 0;
    bool operator==(const DevMode&) const = default;
};

// The display's modes, as EnumDisplaySettingsA, ChangeDisplaySettingsA and GetDeviceCaps of the
// desktop's device context give them.
class DisplaySettings {
public:
    static constexpr int kHorzRes = 8;
    static constexpr int kVertRes = 10;
    static constexpr int kBitsPixel = 12;
    static constexpr std::uint32_t kTest = 2;  // CDS_TEST
    static constexpr long kSuccessful = 0;     // DISP_CHANGE_SUCCESSFUL
    static constexpr long kFailed = -1;        // DISP_CHANGE_FAILED

    virtual ~DisplaySettings() = default;
    virtual int getDeviceCaps(int index) = 0;
    virtual bool enumDisplaySettings(std::uint32_t modeNumber, DevMode& mode) = 0;
    virtual long changeDisplaySettings(const DevMode& mode, std::uint32_t flags) = 0;
};

}  // namespace corvane
