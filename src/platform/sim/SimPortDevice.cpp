#include "platform/sim/SimPortDevice.h"

namespace corvane {

SimPortDevice::SimPortDevice(SimMachine& machine, std::string systemDirectory)
    : m_machine(machine), m_systemDirectory(std::move(systemDirectory)) {}

PortDevice::Handle SimPortDevice::createFile(const std::string& path) {
    const std::int64_t installed = m_machine.number("Rage128", "PortDriver", 1);
    const bool opens = (installed == 1 && path == "\\\\.\\zentrio.vxd") ||
                       (installed == 2 && path == "\\\\.\\" + m_systemDirectory + "\\zentrio.vxd");
    if (!opens) {
        m_lastFailure = "the port driver is not installed there";
        return kInvalidHandle;
    }
    const Handle handle = m_next++;
    m_sessions.emplace(handle, std::make_unique<SimRage128>(m_machine));
    return handle;
}

bool SimPortDevice::deviceIoControl(Handle handle, std::uint32_t code, const void* in,
                                    std::uint32_t inSize, void* out, std::uint32_t outSize,
                                    std::uint32_t* returned) {
    const auto it = m_sessions.find(handle);
    if (it == m_sessions.end()) {
        m_lastFailure = "the driver is not open";
        return false;
    }
    SimRage128& chip = *it->second;
    const bool ok = serve(
        code, in, inSize, out, outSize, returned,
        [&chip](std::uint16_t port, std::uint8_t& value) { return chip.read(port, value); },
        [&chip](std::uint16_t port, std::uint8_t value) { return chip.write(port, value); });
    if (!ok) m_lastFailure = chip.failure().empty() ? "a malformed request" : chip.failure();
    return ok;
}

bool SimPortDevice::closeHandle(Handle handle) {
    return m_sessions.erase(handle) == 1;
}

}  // namespace corvane
