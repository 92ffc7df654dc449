#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace corvane {

// The system's text for a Win32 error code, without the line end it comes with.
std::string win32ErrorText(std::uint32_t code);

// An error that a Win32 call reported: "<call> failed: <system text>".
class Win32Error : public std::runtime_error {
public:
    Win32Error(const std::string& call, std::uint32_t code);
    std::uint32_t code() const { return m_code; }

private:
    std::uint32_t m_code;
};

// Raises Win32Error for the calling thread's last error.
[[noreturn]] void throwLastError(const std::string& call);

}  // namespace corvane
