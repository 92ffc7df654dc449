#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace corvane::pe {

// The largest file the reader looks into; driver files are a few megabytes.
inline constexpr std::uint64_t kMaxFileSize = 64u * 1024 * 1024;

// Bytes at offsets, from a file or from memory. readAt fails for anything past the end.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t size() const = 0;
    virtual bool readAt(std::uint64_t offset, std::size_t length, void* out) = 0;
};

class MemoryBytes : public ByteSource {
public:
    explicit MemoryBytes(std::string_view bytes) : m_bytes(bytes) {}
    std::uint64_t size() const override { return m_bytes.size(); }
    bool readAt(std::uint64_t offset, std::size_t length, void* out) override;

private:
    std::string_view m_bytes;
};

// Where a file's version information block lies in it.
struct BlockSpan {
    std::uint64_t offset = 0;
    std::uint32_t size = 0;
};

// The version information block of a PE file (PE32 or PE32+): the RT_VERSION resource of ID 1,
// in the neutral language, else US English, else the first one listed. Nothing for a file that
// is not PE (NE and LE files included), whose headers or sections reach past its end (a
// truncated file), or whose resource directory points outside its section. Reads only the
// headers and the parts of the resource section it walks.
std::optional<BlockSpan> findVersionBlock(ByteSource& file);

// The offset of the fixed file information inside a version information block of size bytes:
// the block's length fits, its key is VS_VERSION_INFO, and its value is a VsFixedFileInfo with
// the signature FEEF04BDh. Nothing otherwise.
std::optional<std::size_t> fixedFileInfoOffset(const std::uint8_t* block, std::size_t size);

}  // namespace corvane::pe
