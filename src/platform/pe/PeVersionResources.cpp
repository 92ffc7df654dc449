#include "platform/pe/PeVersionResources.h"

#include <cstring>

#include "platform/files/BoundedFile.h"
#include "platform/files/WindowsPath.h"
#include "platform/pe/PeImage.h"

namespace corvane {

namespace {

class FileBytes : public pe::ByteSource {
public:
    explicit FileBytes(BoundedFile& file) : m_file(file) {}
    std::uint64_t size() const override { return m_file.size(); }
    bool readAt(std::uint64_t offset, std::size_t length, void* out) override {
        return m_file.readAt(offset, length, out);
    }

private:
    BoundedFile& m_file;
};

}  // namespace

std::vector<std::uint8_t> PeVersionResources::readBlock(const std::string& fileName) {
    BoundedFile file(hostPath(fileName), pe::kMaxFileSize);
    if (!file.ok()) return {};
    FileBytes bytes(file);
    const std::optional<pe::BlockSpan> span = pe::findVersionBlock(bytes);
    if (!span) return {};
    std::vector<std::uint8_t> block(span->size);
    if (!file.readAt(span->offset, block.size(), block.data()) ||
        !pe::fixedFileInfoOffset(block.data(), block.size()))
        return {};
    return block;
}

std::uint32_t PeVersionResources::getFileVersionInfoSize(const std::string& fileName,
                                                         std::uint32_t* handle) {
    if (handle != nullptr) *handle = 0;
    return static_cast<std::uint32_t>(readBlock(fileName).size());
}

bool PeVersionResources::getFileVersionInfo(const std::string& fileName, std::uint32_t,
                                            std::uint32_t size, void* data) {
    if (data == nullptr) return false;
    const std::vector<std::uint8_t> block = readBlock(fileName);
    // A buffer smaller than the block would hand out a block whose own length reaches past it.
    if (block.empty() || size < block.size()) return false;
    std::memcpy(data, block.data(), block.size());
    return true;
}

bool PeVersionResources::verQueryValue(const void* block, const std::string& subBlock,
                                       const void** buffer, std::uint32_t* length) {
    if (block == nullptr || buffer == nullptr) return false;
    // "\" and "" both name the root; so do repeated backslashes, as empty parts are skipped.
    if (subBlock.find_first_not_of('\\') != std::string::npos) return false;
    const auto* bytes = static_cast<const std::uint8_t*>(block);
    // The block's own length bounds it: getFileVersionInfo checked it against the file.
    const std::size_t blockLength = static_cast<std::size_t>(bytes[0] | (bytes[1] << 8));
    const std::optional<std::size_t> at = pe::fixedFileInfoOffset(bytes, blockLength);
    if (!at) return false;
    *buffer = bytes + *at;
    if (length != nullptr) *length = static_cast<std::uint32_t>(bytes[2] | (bytes[3] << 8));
    return true;
}

}  // namespace corvane
