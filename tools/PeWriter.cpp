#include "PeWriter.h"

#include <cstdio>

namespace corvane::tools {

namespace {

constexpr std::uint32_t kFileAlignment = 0x200;
constexpr std::uint32_t kSectionAlignment = 0x1000;
constexpr std::size_t kDosHeaderSize = 64;
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::uint16_t kRtVersion = 16;
constexpr std::uint16_t kVsVersionInfo = 1;
constexpr std::uint16_t kCodePage = 1252;

std::uint32_t alignUp(std::uint32_t value, std::uint32_t alignment) {
    return (value + alignment - 1) / alignment * alignment;
}

// Little-endian stores into a growing byte string.
class Bytes {
public:
    std::string data;

    std::size_t size() const { return data.size(); }
    void u8(std::uint8_t v) { data.push_back(static_cast<char>(v)); }
    void u16(std::uint16_t v) {
        u8(static_cast<std::uint8_t>(v));
        u8(static_cast<std::uint8_t>(v >> 8));
    }
    void u32(std::uint32_t v) {
        u16(static_cast<std::uint16_t>(v));
        u16(static_cast<std::uint16_t>(v >> 16));
    }
    void u64(std::uint64_t v) {
        u32(static_cast<std::uint32_t>(v));
        u32(static_cast<std::uint32_t>(v >> 32));
    }
    void zeros(std::size_t n) { data.append(n, '\0'); }
    void padTo(std::size_t alignment) {
        while (data.size() % alignment != 0)
            u8(0);
    }
    void text16(const std::string& ascii) {
        for (const char c : ascii)
            u16(static_cast<std::uint8_t>(c));
        u16(0);
    }
    void put16(std::size_t at, std::uint16_t v) {
        data[at] = static_cast<char>(v);
        data[at + 1] = static_cast<char>(v >> 8);
    }
    void put32(std::size_t at, std::uint32_t v) {
        put16(at, static_cast<std::uint16_t>(v));
        put16(at + 2, static_cast<std::uint16_t>(v >> 16));
    }
};

// One node of a version resource: length, value length, type, key, value, children, with
// every part starting on a 4-byte boundary of the block.
struct VersionNode {
    std::string key;
    std::uint16_t type = 0;  // 1: the value is text
    std::string value;       // raw bytes (text already in UTF-16 with its NUL)
    std::uint16_t valueLength = 0;
    std::vector<VersionNode> children;
};

void writeNode(Bytes& out, const VersionNode& node) {
    const std::size_t start = out.size();
    out.u16(0);  // length, filled in below
    out.u16(node.valueLength);
    out.u16(node.type);
    out.text16(node.key);
    out.padTo(4);
    out.data += node.value;
    for (const VersionNode& child : node.children) {
        out.padTo(4);
        writeNode(out, child);
    }
    out.put16(start, static_cast<std::uint16_t>(out.size() - start));
}

VersionNode textNode(const std::string& key, const std::string& text) {
    Bytes value;
    value.text16(text);
    return {key, 1, value.data, static_cast<std::uint16_t>(text.size() + 1), {}};
}

std::string fixedFileInfo(const PeDescription& description) {
    auto ms = [](const Version& v) { return static_cast<std::uint32_t>(v[0]) << 16 | v[1]; };
    auto ls = [](const Version& v) { return static_cast<std::uint32_t>(v[2]) << 16 | v[3]; };
    Bytes b;
    b.u32(0xFEEF04BDu);
    b.u32(0x00010000u);  // structure version 1.0
    b.u32(ms(description.fileVersion));
    b.u32(ls(description.fileVersion));
    b.u32(ms(description.productVersion));
    b.u32(ls(description.productVersion));
    b.u32(0x3F);                                       // flags mask
    b.u32(0);                                          // flags
    b.u32(description.pe32Plus ? 0x00040004u : 0x4u);  // VOS_NT_WINDOWS32 : VOS__WINDOWS32
    b.u32(2);                                          // VFT_DLL
    b.u32(0);                                          // subtype
    b.u32(0);                                          // date
    b.u32(0);
    return b.data;
}

std::string versionBlock(const PeDescription& description, std::size_t& fixedAt) {
    char table[16];
    std::snprintf(table, sizeof table, "%04X%04X", description.language, kCodePage);
    VersionNode strings{table, 1, {}, 0, {}};
    for (const auto& [key, text] : description.strings)
        strings.children.push_back(textNode(key, text));
    Bytes translation;
    translation.u16(description.language);
    translation.u16(kCodePage);
    VersionNode root{"VS_VERSION_INFO", 0, fixedFileInfo(description), 52, {}};
    root.children.push_back({"StringFileInfo", 1, {}, 0, {strings}});
    root.children.push_back(
        {"VarFileInfo", 1, {}, 0, {{"Translation", 0, translation.data, 4, {}}}});
    Bytes out;
    writeNode(out, root);
    fixedAt = 40;  // 6 bytes of header and the 32-byte key, padded to 4
    return out.data;
}

// The standard image checksum: 16-bit sums with the carries folded in, plus the file length.
std::uint32_t imageChecksum(const std::string& bytes, std::size_t checksumAt) {
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        if (i == checksumAt || i == checksumAt + 2) continue;
        const auto lo = static_cast<std::uint8_t>(bytes[i]);
        const auto hi = i + 1 < bytes.size() ? static_cast<std::uint8_t>(bytes[i + 1]) : 0;
        sum += static_cast<std::uint32_t>(lo | hi << 8);
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<std::uint32_t>(sum + bytes.size());
}

}  // namespace

PeFile makeVersionedPe(const PeDescription& description) {
    PeFile file;
    PeLayout& layout = file.layout;
    const bool code = description.codeSize > 0;
    const std::uint16_t sectionCount = code ? 2 : 1;
    const std::uint16_t optionalSize = description.pe32Plus ? 240 : 224;

    layout.ntHeaders = kDosHeaderSize;
    layout.optionalHeader = layout.ntHeaders + 24;
    layout.sectionTable = layout.optionalHeader + optionalSize;
    const std::uint32_t headersSize =
        alignUp(static_cast<std::uint32_t>(layout.sectionTable + sectionCount * kSectionHeaderSize),
                kFileAlignment);

    // The resource section: three directory levels of one entry each, the data entry, and the
    // version block.
    std::size_t fixedAt = 0;
    const std::string block = versionBlock(description, fixedAt);
    constexpr std::uint32_t kDirectorySize = 16 + 8;
    constexpr std::uint32_t kBlockAt = 3 * kDirectorySize + 16;
    const auto resourceSize = static_cast<std::uint32_t>(kBlockAt + block.size());

    const std::uint32_t codeRva = kSectionAlignment;
    const std::uint32_t codeRaw = code ? alignUp(description.codeSize, kFileAlignment) : 0;
    const std::uint32_t resourceRva =
        code ? alignUp(codeRva + description.codeSize, kSectionAlignment) : kSectionAlignment;
    const std::uint32_t resourceRaw = alignUp(resourceSize, kFileAlignment);
    const std::uint32_t codeOffset = headersSize;
    const std::uint32_t resourceOffset = headersSize + codeRaw;
    const std::uint32_t imageSize = alignUp(resourceRva + resourceSize, kSectionAlignment);
    layout.resourceRva = resourceRva;

    Bytes out;
    // DOS header: "MZ" and the offset of the PE headers; no DOS program.
    out.u16(0x5A4D);
    out.zeros(kDosHeaderSize - 2 - 4);
    out.u32(static_cast<std::uint32_t>(layout.ntHeaders));

    // PE signature and file header.
    out.u32(0x00004550);
    out.u16(description.pe32Plus ? 0x8664 : 0x014C);
    out.u16(sectionCount);
    out.u32(0);  // time stamp
    out.u32(0);  // symbol table
    out.u32(0);
    out.u16(optionalSize);
    out.u16(description.pe32Plus ? 0x2022
                                 : 0x2102);  // DLL, executable image, large address / 32-bit

    // Optional header.
    std::size_t checksumAt = 0;
    out.u16(description.pe32Plus ? 0x20B : 0x10B);
    out.u8(0);  // linker version
    out.u8(0);
    out.u32(codeRaw);      // size of code
    out.u32(resourceRaw);  // size of initialised data
    out.u32(0);            // size of uninitialised data
    out.u32(0);            // entry point: none, which a DLL may have
    out.u32(codeRva);      // base of code
    if (description.pe32Plus) {
        out.u64(0x180000000ull);
    } else {
        out.u32(resourceRva);  // base of data
        out.u32(0x10000000u);
    }
    out.u32(kSectionAlignment);
    out.u32(kFileAlignment);
    const std::uint16_t osMajor = description.pe32Plus ? 5 : 4;
    const std::uint16_t osMinor = description.pe32Plus ? 2 : 0;
    out.u16(osMajor);  // operating system version
    out.u16(osMinor);
    out.u16(0);  // image version
    out.u16(0);
    out.u16(osMajor);  // subsystem version
    out.u16(osMinor);
    out.u32(0);  // Win32 version value
    out.u32(imageSize);
    out.u32(headersSize);
    checksumAt = out.size();
    out.u32(0);  // checksum, filled in at the end
    out.u16(2);  // Windows GUI subsystem
    out.u16(0);  // DLL characteristics
    for (const std::uint32_t size : {0x100000u, 0x1000u, 0x100000u, 0x1000u}) {
        if (description.pe32Plus) {
            out.u64(size);
        } else {
            out.u32(size);
        }
    }
    out.u32(0);   // loader flags
    out.u32(16);  // data directories
    for (int i = 0; i < 16; ++i) {
        out.u32(i == 2 ? resourceRva : 0);
        out.u32(i == 2 ? resourceSize : 0);
    }

    // Section table.
    auto section = [&out](const char* name, std::uint32_t virtualSize, std::uint32_t rva,
                          std::uint32_t rawSize, std::uint32_t rawOffset,
                          std::uint32_t characteristics) {
        char padded[8] = {};
        for (int i = 0; i < 8 && name[i] != '\0'; ++i)
            padded[i] = name[i];
        out.data.append(padded, 8);
        out.u32(virtualSize);
        out.u32(rva);
        out.u32(rawSize);
        out.u32(rawOffset);
        out.zeros(12);  // relocations and line numbers
        out.u32(characteristics);
    };
    if (code) section(".text", description.codeSize, codeRva, codeRaw, codeOffset, 0x60000020u);
    section(".rsrc", resourceSize, resourceRva, resourceRaw, resourceOffset, 0x40000040u);
    out.zeros(headersSize - out.size());

    // Code: int3 throughout.
    out.data.append(description.codeSize, '\xCC');
    out.zeros(codeRaw - description.codeSize);

    // Resources.
    layout.resourceSection = out.size();
    auto directory = [&out](std::uint16_t id, std::uint32_t target) {
        out.u32(0);  // characteristics
        out.u32(0);  // time stamp
        out.u32(0);  // version
        out.u16(0);  // named entries
        out.u16(1);  // ID entries
        out.u16(id);
        out.u16(0);
        out.u32(target);
    };
    directory(kRtVersion, 0x80000000u | kDirectorySize);
    layout.nameDirectory = out.size();
    directory(kVsVersionInfo, 0x80000000u | (2 * kDirectorySize));
    layout.languageDirectory = out.size();
    directory(description.language, 3 * kDirectorySize);
    layout.dataEntry = out.size();
    out.u32(resourceRva + kBlockAt);
    out.u32(static_cast<std::uint32_t>(block.size()));
    out.u32(0);  // code page
    out.u32(0);
    layout.versionBlock = out.size();
    layout.fixedFileInfo = layout.versionBlock + fixedAt;
    out.data += block;
    out.zeros(resourceOffset + resourceRaw - out.size());

    out.put32(checksumAt, imageChecksum(out.data, checksumAt));
    file.bytes = std::move(out.data);
    return file;
}

const std::vector<DemoDriver>& demoDrivers() {
    static const std::vector<DemoDriver> drivers = {
        {"Ati3draa.dll", "ATI Direct3D driver (stand-in of the demo machine)", {4, 11, 0, 2081}},
        {"Atio9xaa.dll",
         "ATI OpenGL driver for Windows 95 and 98 (stand-in of the demo machine)",
         {4, 11, 0, 2064}},
        {"Cinmst32.dll", "DVD player engine (stand-in of the demo machine)", {3, 2, 32, 5674}},
    };
    return drivers;
}

std::string versionText(const Version& version) {
    return std::to_string(version[0]) + "." + std::to_string(version[1]) + "." +
           std::to_string(version[2]) + "." + std::to_string(version[3]);
}

PeDescription demoDriverDescription(const DemoDriver& driver) {
    PeDescription description;
    description.fileVersion = driver.version;
    description.productVersion = driver.version;
    const std::string name = driver.fileName;
    description.strings = {
        {"CompanyName", "Corvane demo machine"},
        {"FileDescription", driver.description},
        {"FileVersion", versionText(driver.version)},
        {"InternalName", name.substr(0, name.find('.'))},
        {"OriginalFilename", name},
        {"ProductName", "Corvane demo machine"},
        {"ProductVersion", versionText(driver.version)},
    };
    return description;
}

}  // namespace corvane::tools
