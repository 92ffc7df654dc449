#include "platform/win32/Win32PrivateProfile.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace corvane {

std::uint32_t Win32PrivateProfile::getPrivateProfileString(const char* section, const char* key,
                                                           const char* defaultValue, char* buffer,
                                                           std::uint32_t size,
                                                           const char* fileName) {
    // With no room there is nothing to copy; the call would fail in its own way on some systems.
    if (buffer == nullptr || size == 0) return 0;
    return GetPrivateProfileStringA(section, key, defaultValue, buffer, size, fileName);
}

bool Win32PrivateProfile::writePrivateProfileString(const char* section, const char* key,
                                                    const char* value, const char* fileName) {
    // Windows would write a text that can't be read back and break the file.
    if (section != nullptr && key != nullptr && value != nullptr &&
        !canStore(section, key, value)) {
        return false;
    }
    return WritePrivateProfileStringA(section, key, value, fileName) != 0;
}

}  // namespace corvane
