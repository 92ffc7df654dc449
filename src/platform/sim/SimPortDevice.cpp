#include "platform/sim/SimPortDevice.h"

#include <cstring>

namespace corvane {

SimPortDevice::SimPortDevice(SimMachine& machine, std::string systemDirectory)
    : m_machine(machine), m_systemDirectory(std::move(systemDirectory)) {}

PortDevice::Handle SimPortDevice::createFile(const std::string& path) {
    const std::int64_t installed = m_machine.number("Rage128", "PortDriver", 1);
    const bool opens = (installed == 1 && path == "\\\\.\\zentrio.vxd") ||
                       (installed == 2 && path == "\\\\.\\" + m_systemDirectory + "\\zentrio.vxd");
    if (!opens) return kInvalidHandle;
    const Handle handle = m_next++;
    m_sessions.emplace(handle, std::make_unique<SimRage128>(m_machine));
    return handle;
}

bool SimPortDevice::deviceIoControl(Handle handle, std::uint32_t code, const void* in, std::uint32_t inSize,
                                    void* out, std::uint32_t outSize, std::uint32_t* returned) {
    const auto it = m_sessions.find(handle);
    if (it == m_sessions.end() || in == nullptr || out == nullptr || outSize < 2) return false;
    const auto* request = static_cast<const std::uint8_t*>(in);
    const auto port = static_cast<std::uint16_t>(request[0] | (request[1] << 8));
    auto* answer = static_cast<std::uint8_t*>(out);
    if (code == kReadPort && inSize >= 2) {
        std::uint8_t value = 0;
        if (!it->second->read(port, value)) return false;
        answer[0] = value;
    } else if (code == kWritePort && inSize >= 4) {
        if (!it->second->write(port, request[2])) return false;
    } else {
        return false;
    }
    if (returned != nullptr) *returned = 2;
    return true;
}

bool SimPortDevice::closeHandle(Handle handle) { return m_sessions.erase(handle) == 1; }

}  // namespace corvane
