#include "platform/sim/SimRage128.h"

#include <cstdio>

namespace corvane {

namespace {
constexpr int kIndexOffset = 8;
constexpr int kDataOffset = 12;
constexpr int kClockRegister = 0x0A;
constexpr int kCoreLatch = 0x0E;
constexpr int kMemoryLatch = 0x0B;
constexpr std::uint8_t kWriteEnable = 0x80;
}  // namespace

SimRage128::SimRage128(SimMachine& machine) : m_machine(machine) {
    m_ioBase = static_cast<std::uint16_t>(machine.number("Rage128", "IOBase", 0));
    m_index = static_cast<std::uint8_t>(machine.number("Rage128", "PllIndex", 0x0A));
    m_indexAtOpen = m_index;
    const std::int64_t core = machine.number("Rage128", "CoreClock", 100);
    const std::int64_t memory = machine.number("Rage128", "MemoryClock", 110);
    m_registers[kClockRegister] = (static_cast<std::uint32_t>((core - 2) & 0xFF) << 16) |
                                  (static_cast<std::uint32_t>((memory - 2) & 0xFF) << 8);
}

SimRage128::~SimRage128() {
    if (m_index == m_indexAtOpen) return;
    try {
        char index[8];
        std::snprintf(index, sizeof index, "0x%02X", m_index);
        m_machine.set("Rage128", "PllIndex", index);
    } catch (const SimMachineError&) {
        // The index only decides what the data port shows first; the clocks are stored already.
    }
}

bool SimRage128::owns(std::uint16_t port) {
    if (m_ioBase != 0 && port >= m_ioBase && port < m_ioBase + kPortCount) return true;
    m_failure = m_ioBase == 0 ? "there is no Rage 128" : "port is not the Rage 128's";
    return false;
}

bool SimRage128::read(std::uint16_t port, std::uint8_t& value) {
    if (!owns(port)) return false;
    const int offset = port - m_ioBase;
    value = 0;
    if (offset == kIndexOffset) value = m_index;
    if (offset >= kDataOffset && offset < kDataOffset + 4)
        value =
            static_cast<std::uint8_t>(m_registers[m_index & 0x3F] >> (8 * (offset - kDataOffset)));
    return true;
}

bool SimRage128::takeEffect(const char* key, std::uint32_t clockByte) {
    const auto mhz = static_cast<std::uint8_t>(clockByte + 2);
    if (mhz == 0) {
        m_failure = std::string("the chip can't run its ") + key + " at 0 MHz";
        return false;
    }
    try {
        m_machine.set("Rage128", key, std::to_string(mhz));
    } catch (const SimMachineError& e) {
        m_failure = e.what();
        return false;
    }
    return true;
}

bool SimRage128::write(std::uint16_t port, std::uint8_t value) {
    if (!owns(port)) return false;
    const int offset = port - m_ioBase;
    if (offset == kIndexOffset) {
        m_index = value;
        return true;
    }
    if (offset < kDataOffset || offset >= kDataOffset + 4 || (m_index & kWriteEnable) == 0)
        return true;  // not a register of the clock unit, or writes disabled
    const int shift = 8 * (offset - kDataOffset);
    selected() = (selected() & ~(0xFFu << shift)) | (static_cast<std::uint32_t>(value) << shift);
    const std::uint32_t clocks = m_registers[kClockRegister];
    if ((m_index & 0x3F) == kCoreLatch) return takeEffect("CoreClock", (clocks >> 16) & 0xFF);
    if ((m_index & 0x3F) == kMemoryLatch) return takeEffect("MemoryClock", (clocks >> 8) & 0xFF);
    return true;
}

}  // namespace corvane
