#pragma once

#include <memory>

#include "platform/DisplaySettings.h"

namespace corvane {

// The display modes of this computer. With an X display they come from XRandR (loaded when
// first needed, so the program runs where X is not installed). Without any display nothing can
// be disturbed by a clock change: the one mode reported always passes its test and setting it
// again does nothing.
class HostDisplaySettings : public DisplaySettings {
public:
    HostDisplaySettings();
    ~HostDisplaySettings() override;
    HostDisplaySettings(const HostDisplaySettings&) = delete;
    HostDisplaySettings& operator=(const HostDisplaySettings&) = delete;

    int getDeviceCaps(int index) override;
    bool enumDisplaySettings(std::uint32_t modeNumber, DevMode& mode) override;
    long changeDisplaySettings(const DevMode& mode, std::uint32_t flags) override;

private:
    class X11;
    bool connect();
    std::unique_ptr<X11> m_x11;
    bool m_tried = false;
};

}  // namespace corvane
