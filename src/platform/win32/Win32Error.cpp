#include "platform/win32/Win32Error.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace corvane {

std::string win32ErrorText(std::uint32_t code) {
    char* buffer = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = length > 0 ? std::string(buffer, length) : std::string();
    LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
        text.pop_back();
    }
    if (text.empty()) text = "error " + std::to_string(code);
    return text;
}

Win32Error::Win32Error(const std::string& call, std::uint32_t code)
    : std::runtime_error(call + " failed: " + win32ErrorText(code)), m_code(code) {}

void throwLastError(const std::string& call) {
    throw Win32Error(call, GetLastError());
}

}  // namespace corvane
