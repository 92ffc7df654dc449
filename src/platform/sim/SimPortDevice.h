#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/PortDevice.h"
#include "platform/sim/SimMachine.h"
#include "platform/sim/SimRage128.h"

namespace corvane {

// The port I/O driver of a simulated machine. [Rage128] PortDriver says where it is installed:
// 1 (the default) under its own device name, 2 only in the Windows system folder, 0 nowhere.
// Every open handle is a session with the simulated chip; only the chip's ports answer.
class SimPortDevice : public PortDevice {
public:
    SimPortDevice(SimMachine& machine, std::string systemDirectory);
    Handle createFile(const std::string& path) override;
    bool deviceIoControl(Handle handle, std::uint32_t code, const void* in, std::uint32_t inSize,
                         void* out, std::uint32_t outSize, std::uint32_t* returned) override;
    bool closeHandle(Handle handle) override;
    std::string lastFailure() const override { return m_lastFailure; }

private:
    SimMachine& m_machine;
    std::string m_systemDirectory;
    std::map<Handle, std::unique_ptr<SimRage128>> m_sessions;
    Handle m_next = 0x40;
    std::string m_lastFailure;
};

}  // namespace corvane
