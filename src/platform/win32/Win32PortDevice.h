#pragma once

#include "platform/PortDevice.h"

namespace corvane {

// The port I/O driver opened by its device path with CreateFileA and spoken to with
// DeviceIoControl. Windows 95 and 98 load a virtual device driver that way; the NT family
// refuses the path, so there the device never opens.
class Win32PortDevice : public PortDevice {
public:
    Handle createFile(const std::string& path) override;
    bool deviceIoControl(Handle handle, std::uint32_t code, const void* in, std::uint32_t inSize,
                         void* out, std::uint32_t outSize, std::uint32_t* returned) override;
    bool closeHandle(Handle handle) override;
};

}  // namespace corvane
