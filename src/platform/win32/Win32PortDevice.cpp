#include "platform/win32/Win32PortDevice.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace corvane {

namespace {

// Kernel handles carry 32 significant bits, so they travel as 32-bit numbers and come back
// sign-extended (the invalid handle, all bits set, stays invalid).
HANDLE toHandle(PortDevice::Handle handle) {
    return LongToHandle(static_cast<LONG>(handle));
}

}  // namespace

PortDevice::Handle Win32PortDevice::createFile(const std::string& path) {
    const HANDLE handle = CreateFileA(path.c_str(), 0, 0, nullptr, 0, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return kInvalidHandle;
    return HandleToULong(handle);
}

bool Win32PortDevice::deviceIoControl(Handle handle, std::uint32_t code, const void* in,
                                      std::uint32_t inSize, void* out, std::uint32_t outSize,
                                      std::uint32_t* returned) {
    DWORD count = 0;
    const BOOL ok = DeviceIoControl(toHandle(handle), code, const_cast<void*>(in), inSize, out,
                                    outSize, &count, nullptr);
    if (returned != nullptr) *returned = count;
    return ok != 0;
}

bool Win32PortDevice::closeHandle(Handle handle) {
    return CloseHandle(toHandle(handle)) != 0;
}

}  // namespace corvane
