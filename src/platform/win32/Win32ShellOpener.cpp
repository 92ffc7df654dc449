#include "platform/win32/Win32ShellOpener.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <shellapi.h>  // needs windows.h first

namespace corvane {

bool Win32ShellOpener::open(const std::string& address) {
    const HINSTANCE result =
        ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    // Values above 32 mean success; smaller ones are error codes.
    return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace corvane
