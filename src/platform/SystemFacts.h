#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace corvane {

struct OsVersion {
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;
    std::uint32_t platformId = 0;  // 0 Win32s, 1 Windows 95 family, 2 Windows NT family
};

// Byte counts. They are 64-bit so that a machine with more than 4 GB is not misreported.
struct MemoryStatus {
    std::uint64_t totalPhys = 0;
    std::uint64_t availPhys = 0;
    std::uint64_t totalPageFile = 0;
    std::uint64_t availPageFile = 0;
};

// Facts about the computer and its Windows installation. Each may raise an exception when the
// fact can't be had.
class SystemFacts {
public:
    static constexpr std::uint32_t kPlatformWin32s = 0;
    static constexpr std::uint32_t kPlatformWindows = 1;
    static constexpr std::uint32_t kPlatformNt = 2;

    virtual ~SystemFacts() = default;
    virtual std::uint32_t processorType() = 0;  // GetSystemInfo: 386, 486, 586, 8664, ...
    virtual OsVersion version() = 0;            // GetVersionExA
    virtual MemoryStatus memoryStatus() = 0;    // GlobalMemoryStatus
    virtual std::string windowsDirectory() = 0;
    virtual std::string systemDirectory() = 0;
    virtual std::string expandEnvironmentStrings(const std::string& text) = 0;
    virtual std::string computerName() = 0;
    virtual std::string userName() = 0;
};

}  // namespace corvane

namespace corvane {

// Replaces each %NAME% by what lookup gives for NAME; a name lookup does not know stays as it
// was written, as ExpandEnvironmentStrings leaves it.
std::string expandPercentVariables(
    const std::string& text,
    const std::function<std::optional<std::string>(const std::string&)>& lookup);

}  // namespace corvane
