#pragma once

#include "platform/VersionResources.h"

namespace corvane {

// Version resources through version.dll.
class Win32VersionResources : public VersionResources {
public:
    std::uint32_t getFileVersionInfoSize(const std::string& fileName,
                                         std::uint32_t* handle) override;
    bool getFileVersionInfo(const std::string& fileName, std::uint32_t handle, std::uint32_t size,
                            void* data) override;
    bool verQueryValue(const void* block, const std::string& subBlock, const void** buffer,
                       std::uint32_t* length) override;
};

}  // namespace corvane
