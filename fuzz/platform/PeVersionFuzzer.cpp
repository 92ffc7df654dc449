// The version reader over any bytes: it finds a block only inside the input, and the fixed
// file information it hands out lies inside that block and carries its signature.

#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/pe/PeImage.h"
#include "platform/pe/PeVersionResources.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    corvane::pe::MemoryBytes source(bytes);
    const std::optional<corvane::pe::BlockSpan> span = corvane::pe::findVersionBlock(source);
    if (!span) return 0;
    if (span->offset > size || span->size > size - span->offset) std::abort();
    std::vector<std::uint8_t> block(data + span->offset, data + span->offset + span->size);
    const std::optional<std::size_t> at =
        corvane::pe::fixedFileInfoOffset(block.data(), block.size());
    if (!at) return 0;
    corvane::PeVersionResources versions;
    const void* info = nullptr;
    std::uint32_t length = 0;
    if (!versions.verQueryValue(block.data(), "\\", &info, &length)) std::abort();
    const auto* fixed = static_cast<const std::uint8_t*>(info);
    if (fixed < block.data() || fixed + length > block.data() + block.size()) std::abort();
    std::uint32_t signature = 0;
    std::memcpy(&signature, fixed, 4);
    if (signature != corvane::VersionResources::kFixedFileInfoSignature) std::abort();
    return 0;
}
