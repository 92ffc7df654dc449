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

bool SimPortDevice::deviceIoControl(Handle handle, std::uint32_t code, const void* in,
                                    std::uint32_t inSize, void* out, std::uint32_t outSize,
                                    std::uint32_t* returned) {
    const auto it = m_sessions.find(handle);
    Request request;
    if (it == m_sessions.end() || !decode(code, in, inSize, out, outSize, request)) return false;
    const bool ok = request.write
                        ? it->second->write(request.port, request.value)
                        : it->second->read(request.port, *static_cast<std::uint8_t*>(out));
    if (ok && returned != nullptr) *returned = 2;
    return ok;
}

bool SimPortDevice::closeHandle(Handle handle) {
    return m_sessions.erase(handle) == 1;
}

}  // namespace corvane
