#include "hardware/FileVersion.h"

#include <cstring>
#include <vector>

namespace corvane {

bool GetFileVersion(VersionResources& versions, Dialogs& dialogs, const std::string& fileName,
                    ProductVersion& version) {
    version = {0, 0, 0, 0};
    try {
        std::uint32_t handle = 0;
        const std::uint32_t size = versions.getFileVersionInfoSize(fileName, &handle);
        if (size == 0) return false;
        std::vector<std::uint8_t> block(size);
        const void* info = nullptr;
        std::uint32_t length = 0;
        if (!versions.getFileVersionInfo(fileName, handle, size, block.data()) ||
            !versions.verQueryValue(block.data(), "\\", &info, &length) ||
            length < sizeof(VsFixedFileInfo)) {
            return false;
        }
        VsFixedFileInfo fixed{};
        std::memcpy(&fixed, info, sizeof fixed);
        version = {static_cast<std::uint16_t>(fixed.dwProductVersionMS >> 16),
                   static_cast<std::uint16_t>(fixed.dwProductVersionMS & 0xFFFF),
                   static_cast<std::uint16_t>(fixed.dwProductVersionLS >> 16),
                   static_cast<std::uint16_t>(fixed.dwProductVersionLS & 0xFFFF)};
        return true;
    } catch (const std::exception& e) {
        showError(dialogs, std::string("An error has occured in GetFileVersion: ") + e.what());
        return false;
    }
}

}  // namespace corvane
