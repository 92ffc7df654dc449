#include "platform/win32/Win32VersionResources.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace corvane {

std::uint32_t Win32VersionResources::getFileVersionInfoSize(const std::string& fileName,
                                                            std::uint32_t* handle) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(fileName.c_str(), &ignored);
    if (handle != nullptr) *handle = 0;
    return size;
}

bool Win32VersionResources::getFileVersionInfo(const std::string& fileName, std::uint32_t handle,
                                               std::uint32_t size, void* data) {
    return GetFileVersionInfoA(fileName.c_str(), handle, size, data) != 0;
}

bool Win32VersionResources::verQueryValue(const void* block, const std::string& subBlock,
                                          const void** buffer, std::uint32_t* length) {
    void* found = nullptr;
    UINT foundLength = 0;
    if (!VerQueryValueA(block, subBlock.c_str(), &found, &foundLength)) return false;
    if (buffer != nullptr) *buffer = found;
    if (length != nullptr) *length = foundLength;
    return true;
}

}  // namespace corvane
