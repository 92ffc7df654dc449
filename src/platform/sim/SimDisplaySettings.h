#pragma once

#include <vector>

#include "platform/DisplaySettings.h"
#include "platform/sim/SimMachine.h"

namespace corvane {

// The display of a simulated machine: [Display] Modes lists the modes as WIDTHxHEIGHTxBITS,
// Current is the mode in use, ModeTest 0 makes every test fail. Each mode change is counted in
// ModeSets.
class SimDisplaySettings : public DisplaySettings {
public:
    explicit SimDisplaySettings(SimMachine& machine) : m_machine(machine) {}
    int getDeviceCaps(int index) override;
    bool enumDisplaySettings(std::uint32_t modeNumber, DevMode& mode) override;
    long changeDisplaySettings(const DevMode& mode, std::uint32_t flags) override;

    static std::vector<DevMode> parseModes(const std::string& text);

private:
    SimMachine& m_machine;
};

}  // namespace corvane
