#pragma once

#include <array>
#include <cstdint>

#include "platform/sim/SimMachine.h"

namespace corvane {

// The clock unit of a simulated Rage 128, as the chip has it: the index port at base + 8 (bit 7
// enables writes to the clock registers, the low six bits pick one), the data port at base + 12
// to base + 15 showing the picked register's four bytes. Register 0Ah holds the memory clock
// (byte 1) and the core clock (byte 2), each as MHz - 2. A new core clock takes effect when
// register 0Eh is written, a new memory clock when register 0Bh is written.
//
// The chip's state is read from the machine when a driver session opens and stored back when it
// closes: the index, and the clocks in effect ([Rage128] CoreClock and MemoryClock).
class SimRage128 {
public:
    static constexpr std::uint16_t kPortCount = 256;

    explicit SimRage128(SimMachine& machine);
    ~SimRage128();
    SimRage128(const SimRage128&) = delete;
    SimRage128& operator=(const SimRage128&) = delete;

    std::uint16_t ioBase() const { return m_ioBase; }
    // False for a port that does not belong to the chip.
    bool read(std::uint16_t port, std::uint8_t& value) const;
    bool write(std::uint16_t port, std::uint8_t value);
    void save();

private:
    std::uint32_t& selected() { return m_registers[m_index & 0x3F]; }

    SimMachine& m_machine;
    std::uint16_t m_ioBase = 0;
    std::uint8_t m_index = 0x0A;
    std::array<std::uint32_t, 64> m_registers{};
    std::int64_t m_coreClock = 0;
    std::int64_t m_memoryClock = 0;
    bool m_changed = false;
};

}  // namespace corvane
