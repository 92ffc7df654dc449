#include "platform/sim/SimRage128.h"

#include <cstdio>

namespace corvane {

namespace {
constexpr int kClockRegister = 0x0A;
constexpr int kCoreLatch = 0x0E;
constexpr int kMemoryLatch = 0x0B;
}  // namespace

SimRage128::SimRage128(SimMachine& machine) : m_machine(machine) {
    m_ioBase = static_cast<std::uint16_t>(machine.number("Rage128", "IOBase", 0));
    m_index = static_cast<std::uint8_t>(machine.number("Rage128", "PllIndex", 0x0A));
    m_coreClock = machine.number("Rage128", "CoreClock", 100);
    m_memoryClock = machine.number("Rage128", "MemoryClock", 110);
    m_registers[kClockRegister] = (static_cast<std::uint32_t>((m_coreClock - 2) & 0xFF) << 16) |
                                  (static_cast<std::uint32_t>((m_memoryClock - 2) & 0xFF) << 8);
}

SimRage128::~SimRage128() {
    try {
        save();
    } catch (...) {
        // A simulated chip that can't store its state keeps it for this session only.
    }
}

bool SimRage128::read(std::uint16_t port, std::uint8_t& value) const {
    if (m_ioBase == 0 || port < m_ioBase || port >= m_ioBase + kPortCount) return false;
    const int offset = port - m_ioBase;
    value = 0;
    if (offset == 8) value = m_index;
    if (offset >= 12 && offset <= 15)
        value = static_cast<std::uint8_t>(m_registers[m_index & 0x3F] >> (8 * (offset - 12)));
    return true;
}

bool SimRage128::write(std::uint16_t port, std::uint8_t value) {
    if (m_ioBase == 0 || port < m_ioBase || port >= m_ioBase + kPortCount) return false;
    const int offset = port - m_ioBase;
    if (offset == 8) {
        m_changed = m_changed || m_index != value;
        m_index = value;
        return true;
    }
    if (offset < 12 || offset > 15 || (m_index & 0x80) == 0) return true;  // writes disabled
    const int shift = 8 * (offset - 12);
    selected() = (selected() & ~(0xFFu << shift)) | (static_cast<std::uint32_t>(value) << shift);
    const std::uint32_t clocks = m_registers[kClockRegister];
    if ((m_index & 0x3F) == kCoreLatch) {
        m_coreClock = static_cast<std::uint8_t>((clocks >> 16) + 2);
        m_changed = true;
    } else if ((m_index & 0x3F) == kMemoryLatch) {
        m_memoryClock = static_cast<std::uint8_t>((clocks >> 8) + 2);
        m_changed = true;
    }
    return true;
}

void SimRage128::save() {
    if (!m_changed) return;
    m_changed = false;
    char index[8];
    std::snprintf(index, sizeof index, "0x%02X", m_index);
    m_machine.set("Rage128", {{"PllIndex", index},
                              {"CoreClock", std::to_string(m_coreClock)},
                              {"MemoryClock", std::to_string(m_memoryClock)}});
}

}  // namespace corvane
