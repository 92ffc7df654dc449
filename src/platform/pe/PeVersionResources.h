#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/VersionResources.h"

namespace corvane {

// The version calls over PE files read by our own reader (pe::findVersionBlock): only the
// headers and the resource section are read, and a file over pe::kMaxFileSize is not read at
// all. Paths in the Windows form are found as hostPath finds them. The block handed out is the
// VS_VERSION_INFO resource as it lies in the file; verQueryValue answers the root block only,
// and only for a fixed file information record that carries its signature.
class PeVersionResources : public VersionResources {
public:
    std::uint32_t getFileVersionInfoSize(const std::string& fileName,
                                         std::uint32_t* handle) override;
    bool getFileVersionInfo(const std::string& fileName, std::uint32_t handle, std::uint32_t size,
                            void* data) override;
    bool verQueryValue(const void* block, const std::string& subBlock, const void** buffer,
                       std::uint32_t* length) override;

private:
    // The file's version block, checked; empty when it has none.
    static std::vector<std::uint8_t> readBlock(const std::string& fileName);
};

}  // namespace corvane
