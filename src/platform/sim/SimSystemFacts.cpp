#include "platform/sim/SimSystemFacts.h"

#include <cstdio>

namespace corvane {

std::uint32_t SimSystemFacts::processorType() {
    return static_cast<std::uint32_t>(m_machine.number("Processor", "Type", 586));
}

OsVersion SimSystemFacts::version() {
    OsVersion v;
    v.platformId = static_cast<std::uint32_t>(m_machine.number("Windows", "PlatformId", 1));
    const std::string text =
        m_machine.text("Windows", "Version", v.platformId == 2 ? "4.0" : "4.10");
    unsigned major = 0;
    unsigned minor = 0;
    std::sscanf(text.c_str(), "%u.%u", &major, &minor);
    v.major = major;
    v.minor = minor;
    v.build = static_cast<std::uint32_t>(
        m_machine.number("Windows", "Build", v.platformId == 2 ? 1381 : 1998));
    // Windows 95 and 98 put the version into the high word of the build number.
    if (v.platformId == kPlatformWindows)
        v.build = (v.build & 0xFFFF) | (major << 24) | (minor << 16);
    return v;
}

MemoryStatus SimSystemFacts::memoryStatus() {
    constexpr std::uint64_t kKB = 1024;
    MemoryStatus m;
    m.totalPhys = static_cast<std::uint64_t>(m_machine.number("Memory", "TotalKB", 131072)) * kKB;
    m.availPhys =
        static_cast<std::uint64_t>(m_machine.number("Memory", "AvailableKB", 49152)) * kKB;
    m.totalPageFile =
        static_cast<std::uint64_t>(m_machine.number("Memory", "SwapTotalKB", 262144)) * kKB;
    m.availPageFile =
        static_cast<std::uint64_t>(m_machine.number("Memory", "SwapFreeKB", 196608)) * kKB;
    return m;
}

std::string SimSystemFacts::windowsDirectory() {
    return m_machine.text("Windows", "WindowsDirectory",
                          m_machine.isWindowsNt() ? "C:\\WINNT" : "C:\\WINDOWS");
}

std::string SimSystemFacts::systemDirectory() {
    // A real folder of the machine, so that the driver files in it can be read.
    return m_machine.dir() + (m_machine.isWindowsNt() ? "/Windows/System32" : "/Windows/System");
}

std::string SimSystemFacts::expandEnvironmentStrings(const std::string& text) {
    return expandPercentVariables(
        text, [this](const std::string& name) -> std::optional<std::string> {
            constexpr const char* kUnset = "\x01";
            std::string value = m_machine.text("Environment", name, kUnset);
            if (value == kUnset) return std::nullopt;
            return value;
        });
}

std::string SimSystemFacts::computerName() {
    return m_machine.text("Windows", "ComputerName", "RETRO98");
}

std::string SimSystemFacts::userName() {
    return m_machine.text("Windows", "UserName", "Owner");
}

}  // namespace corvane
