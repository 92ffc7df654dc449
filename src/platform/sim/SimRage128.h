#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/sim/SimMachine.h"

namespace corvane {

// The clock unit of a simulated Rage 128, as the chip has it: the index port at base + 8 (bit 7
// enables writes to the clock registers, the low six bits pick one), the data port at base + 12
// to base + 15 showing the picked register's four bytes. Register 0Ah holds the memory clock
// (byte 1) and the core clock (byte 2), each as MHz - 2. A new core clock takes effect when
// register 0Eh is written, a new memory clock when register 0Bh is written.
//
// The chip's state is read from the machine when a driver session opens. A clock that takes
// effect is stored at once ([Rage128] CoreClock or MemoryClock, that key alone); the index is
// stored when the session closes.
class SimRage128 {
public:
    static constexpr std::uint16_t kPortCount = 256;

    explicit SimRage128(SimMachine& machine);
    ~SimRage128();
    SimRage128(const SimRage128&) = delete;
    SimRage128& operator=(const SimRage128&) = delete;

    std::uint16_t ioBase() const { return m_ioBase; }
    // False, with the reason in failure(), for a port that does not belong to the chip or a
    // clock change that could not be stored.
    bool read(std::uint16_t port, std::uint8_t& value);
    bool write(std::uint16_t port, std::uint8_t value);
    const std::string& failure() const { return m_failure; }

private:
    std::uint32_t& selected() { return m_registers[m_index & 0x3F]; }
    bool owns(std::uint16_t port);
    bool takeEffect(const char* key, std::uint32_t clockByte);

    SimMachine& m_machine;
    std::uint16_t m_ioBase = 0;
    std::uint8_t m_index = 0x0A;
    std::uint8_t m_indexAtOpen = 0x0A;
    std::array<std::uint32_t, 64> m_registers{};
    std::string m_failure;
};

}  // namespace corvane
