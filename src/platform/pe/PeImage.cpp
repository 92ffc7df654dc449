#include "platform/pe/PeImage.h"

#include <cstring>
#include <vector>

namespace corvane::pe {

namespace {

constexpr std::uint32_t kRtVersion = 16;
constexpr std::uint32_t kVsVersionInfo = 1;
constexpr std::uint32_t kSubdirectory = 0x80000000u;
constexpr std::uint32_t kLanguageNeutral = 0;
constexpr std::uint32_t kLanguageEnglishUs = 0x409;
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kFixedFileInfoSize = 52;
constexpr std::uint32_t kFixedFileInfoSignature = 0xFEEF04BDu;

std::uint16_t u16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t u32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

struct SectionHeader {
    std::uint32_t virtualAddress = 0;
    std::uint32_t rawSize = 0;
    std::uint32_t rawOffset = 0;
};

// The file range that holds the bytes of an RVA range, when one section's raw data holds it.
std::optional<std::uint64_t> fileOffsetOf(const std::vector<SectionHeader>& sections,
                                          std::uint32_t rva, std::uint64_t length) {
    for (const SectionHeader& s : sections) {
        const std::uint64_t start = s.virtualAddress;
        const std::uint64_t end = start + s.rawSize;
        if (rva >= start && rva < end) {
            if (length > end - rva) return std::nullopt;
            return static_cast<std::uint64_t>(s.rawOffset) + (rva - start);
        }
    }
    return std::nullopt;
}

// The resource section's directory tree, read piece by piece within its bounds.
class ResourceTree {
public:
    ResourceTree(ByteSource& file, std::uint64_t start, std::uint64_t end)
        : m_file(file), m_start(start), m_end(end) {}

    struct Entry {
        std::uint32_t name = 0;
        std::uint32_t target = 0;
    };

    // The entries of the directory at offset (from the section's resource root).
    bool readDirectory(std::uint32_t offset, std::vector<Entry>& entries, std::size_t& named) {
        std::uint8_t header[16];
        if (!read(offset, sizeof header, header)) return false;
        named = u16(header + 12);
        const std::size_t count = named + u16(header + 14);
        const std::uint64_t at = static_cast<std::uint64_t>(offset) + 16;
        if (!fits(at, count * 8)) return false;
        std::vector<std::uint8_t> raw(count * 8);
        if (!read(at, raw.size(), raw.data())) return false;
        entries.resize(count);
        for (std::size_t i = 0; i < count; ++i)
            entries[i] = {u32(&raw[i * 8]), u32(&raw[i * 8 + 4])};
        return true;
    }

    bool fits(std::uint64_t offset, std::uint64_t length) const {
        return offset <= m_end - m_start && length <= m_end - m_start - offset;
    }

    bool read(std::uint64_t offset, std::size_t length, void* out) {
        return fits(offset, length) && m_file.readAt(m_start + offset, length, out);
    }

private:
    ByteSource& m_file;
    std::uint64_t m_start;
    std::uint64_t m_end;
};

// The subdirectory an ID entry leads to.
std::optional<std::uint32_t> subdirectoryById(const std::vector<ResourceTree::Entry>& entries,
                                              std::size_t named, std::uint32_t id) {
    for (std::size_t i = named; i < entries.size(); ++i) {
        if (entries[i].name == id) {
            if ((entries[i].target & kSubdirectory) == 0) return std::nullopt;
            return entries[i].target & ~kSubdirectory;
        }
    }
    return std::nullopt;
}

// The data entry of the language Windows would pick for a neutral request.
std::optional<std::uint32_t> dataByLanguage(const std::vector<ResourceTree::Entry>& entries,
                                            std::size_t named) {
    if (entries.empty()) return std::nullopt;
    const ResourceTree::Entry* chosen = &entries.front();
    for (const std::uint32_t language : {kLanguageNeutral, kLanguageEnglishUs}) {
        bool found = false;
        for (std::size_t i = named; i < entries.size() && !found; ++i) {
            if (entries[i].name == language) {
                chosen = &entries[i];
                found = true;
            }
        }
        if (found) break;
    }
    if ((chosen->target & kSubdirectory) != 0) return std::nullopt;
    return chosen->target;
}

}  // namespace

bool MemoryBytes::readAt(std::uint64_t offset, std::size_t length, void* out) {
    if (offset > m_bytes.size() || length > m_bytes.size() - offset) return false;
    // An empty read may come with no buffer at all (an empty block's storage), and memcpy must
    // not be handed one.
    if (length == 0) return true;
    std::memcpy(out, m_bytes.data() + offset, length);
    return true;
}

std::optional<BlockSpan> findVersionBlock(ByteSource& file) {
    const std::uint64_t fileSize = file.size();
    std::uint8_t dos[64];
    if (!file.readAt(0, sizeof dos, dos) || dos[0] != 'M' || dos[1] != 'Z') return std::nullopt;
    const std::uint64_t ntOffset = u32(dos + 0x3C);

    // "PE\0\0" and the file header; NE, LE and LX files stop here.
    std::uint8_t nt[24];
    if (!file.readAt(ntOffset, sizeof nt, nt) || std::memcmp(nt, "PE\0\0", 4) != 0)
        return std::nullopt;
    const std::size_t sectionCount = u16(nt + 6);
    const std::size_t optionalSize = u16(nt + 20);

    std::vector<std::uint8_t> optional(optionalSize);
    if (optionalSize < 64 || !file.readAt(ntOffset + 24, optionalSize, optional.data()))
        return std::nullopt;
    std::size_t directoryCountAt = 0;
    switch (u16(optional.data())) {
        case 0x10B:
            directoryCountAt = 92;
            break;  // PE32
        case 0x20B:
            directoryCountAt = 108;
            break;  // PE32+
        default:
            return std::nullopt;
    }
    const std::size_t resourceEntryAt = directoryCountAt + 4 + 2 * 8;
    if (optionalSize < resourceEntryAt + 8 || u32(&optional[directoryCountAt]) < 3)
        return std::nullopt;
    if (u32(&optional[60]) > fileSize) return std::nullopt;  // SizeOfHeaders
    const std::uint32_t resourceRva = u32(&optional[resourceEntryAt]);
    if (resourceRva == 0 || u32(&optional[resourceEntryAt + 4]) == 0) return std::nullopt;

    std::vector<std::uint8_t> table(sectionCount * kSectionHeaderSize);
    if (!file.readAt(ntOffset + 24 + optionalSize, table.size(), table.data())) return std::nullopt;
    std::vector<SectionHeader> sections(sectionCount);
    for (std::size_t i = 0; i < sectionCount; ++i) {
        const std::uint8_t* h = &table[i * kSectionHeaderSize];
        sections[i] = {u32(h + 12), u32(h + 16), u32(h + 20)};
        // A section whose bytes reach past the end: the file was cut short.
        if (static_cast<std::uint64_t>(sections[i].rawOffset) + sections[i].rawSize > fileSize)
            return std::nullopt;
    }

    // The resource root, and the end of the section that holds it.
    const SectionHeader* home = nullptr;
    for (const SectionHeader& s : sections) {
        if (resourceRva >= s.virtualAddress &&
            resourceRva - static_cast<std::uint64_t>(s.virtualAddress) < s.rawSize) {
            home = &s;
            break;
        }
    }
    if (home == nullptr) return std::nullopt;
    const std::uint64_t root =
        static_cast<std::uint64_t>(home->rawOffset) + (resourceRva - home->virtualAddress);
    ResourceTree tree(file, root, static_cast<std::uint64_t>(home->rawOffset) + home->rawSize);

    // Type, then name, then language: three levels and no more, so no loop can form.
    std::vector<ResourceTree::Entry> entries;
    std::size_t named = 0;
    if (!tree.readDirectory(0, entries, named)) return std::nullopt;
    const std::optional<std::uint32_t> names = subdirectoryById(entries, named, kRtVersion);
    if (!names || !tree.readDirectory(*names, entries, named)) return std::nullopt;
    const std::optional<std::uint32_t> languages = subdirectoryById(entries, named, kVsVersionInfo);
    if (!languages || !tree.readDirectory(*languages, entries, named)) return std::nullopt;
    const std::optional<std::uint32_t> data = dataByLanguage(entries, named);
    std::uint8_t dataEntry[16];
    if (!data || !tree.read(*data, sizeof dataEntry, dataEntry)) return std::nullopt;

    const std::uint32_t dataRva = u32(dataEntry);
    const std::uint32_t dataSize = u32(dataEntry + 4);
    const std::optional<std::uint64_t> offset = fileOffsetOf(sections, dataRva, dataSize);
    if (!offset || dataSize == 0) return std::nullopt;
    return BlockSpan{*offset, dataSize};
}

std::optional<std::size_t> fixedFileInfoOffset(const std::uint8_t* block, std::size_t size) {
    // wLength, wValueLength, wType, L"VS_VERSION_INFO", padding to 4 bytes, the value.
    static constexpr char16_t kKey[] = u"VS_VERSION_INFO";
    constexpr std::size_t keyAt = 6;
    constexpr std::size_t keyBytes = sizeof kKey;  // with its NUL
    constexpr std::size_t valueAt = (keyAt + keyBytes + 3) & ~std::size_t{3};
    if (block == nullptr || size < valueAt) return std::nullopt;
    const std::size_t length = u16(block);
    const std::size_t valueLength = u16(block + 2);
    if (length > size || length < valueAt + kFixedFileInfoSize) return std::nullopt;
    for (std::size_t i = 0; i < keyBytes / 2; ++i) {
        if (u16(block + keyAt + 2 * i) != static_cast<std::uint16_t>(kKey[i])) return std::nullopt;
    }
    if (valueLength < kFixedFileInfoSize || valueAt + valueLength > length) return std::nullopt;
    if (u32(block + valueAt) != kFixedFileInfoSignature) return std::nullopt;
    return valueAt;
}

}  // namespace corvane::pe
