#pragma once

#include "platform/SystemFacts.h"
#include "platform/sim/SimMachine.h"

namespace corvane {

// The facts of a simulated machine, from the [Windows], [Processor], [Memory] and [Environment]
// sections of hardware.ini. Its system folder is the machine folder's Windows/System (Windows NT:
// Windows/System32), where its driver files lie.
class SimSystemFacts : public SystemFacts {
public:
    explicit SimSystemFacts(SimMachine& machine) : m_machine(machine) {}
    std::uint32_t processorType() override;
    OsVersion version() override;
    MemoryStatus memoryStatus() override;
    std::string windowsDirectory() override;
    std::string systemDirectory() override;
    std::string expandEnvironmentStrings(const std::string& text) override;
    std::string computerName() override;
    std::string userName() override;

private:
    SimMachine& m_machine;
};

}  // namespace corvane
