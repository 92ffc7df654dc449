#include "platform/win32/Win32DisplaySettings.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace corvane {

int Win32DisplaySettings::getDeviceCaps(int index) {
    const HWND desktop = GetDesktopWindow();
    const HDC dc = GetDC(desktop);
    if (dc == nullptr) return 0;
    const int value = GetDeviceCaps(dc, index);
    ReleaseDC(desktop, dc);
    return value;
}

bool Win32DisplaySettings::enumDisplaySettings(std::uint32_t modeNumber, DevMode& mode) {
    DEVMODEA record{};
    record.dmSize = sizeof record;
    if (!EnumDisplaySettingsA(nullptr, modeNumber, &record)) return false;
    mode.bitsPerPel = record.dmBitsPerPel;
    mode.pelsWidth = record.dmPelsWidth;
    mode.pelsHeight = record.dmPelsHeight;
    mode.displayFlags = record.dmDisplayFlags;
    mode.displayFrequency = record.dmDisplayFrequency;
    mode.fields = record.dmFields;
    return true;
}

long Win32DisplaySettings::changeDisplaySettings(const DevMode& mode, std::uint32_t flags) {
    // Only the fields the mode selects are looked at; the others stay zero.
    DEVMODEA record{};
    record.dmSize = sizeof record;
    record.dmFields = mode.fields;
    record.dmBitsPerPel = mode.bitsPerPel;
    record.dmPelsWidth = mode.pelsWidth;
    record.dmPelsHeight = mode.pelsHeight;
    record.dmDisplayFlags = mode.displayFlags;
    record.dmDisplayFrequency = mode.displayFrequency;
    return ChangeDisplaySettingsA(&record, flags);
}

}  // namespace corvane
