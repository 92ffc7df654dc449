#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Writes minimal valid PE files (a DLL with no code, or with a code section of filler) that
// carry a version resource, for the demo machine's driver files and for tests of the version
// reader. Written from the file format alone, independently of the reader; standard library
// only, and the output depends on nothing but the description (no time stamps).
namespace corvane::tools {

using Version = std::array<std::uint16_t, 4>;

struct PeDescription {
    bool pe32Plus = false;  // PE32+ (x86-64) instead of PE32 (i386)
    Version fileVersion{};
    Version productVersion{};
    // StringFileInfo entries, in order (ASCII).
    std::vector<std::pair<std::string, std::string>> strings;
    std::uint16_t language = 0x0409;  // of the resource and its string table
    std::uint32_t codeSize = 0;       // bytes of a code section before the resources
};

// Where the parts of the file lie (file offsets), for tests that break one of them.
struct PeLayout {
    std::size_t ntHeaders = 0;       // "PE\0\0"
    std::size_t optionalHeader = 0;  // its magic
    std::size_t sectionTable = 0;
    std::size_t resourceSection = 0;  // the resource root directory
    std::size_t nameDirectory = 0;
    std::size_t languageDirectory = 0;
    std::size_t dataEntry = 0;
    std::size_t versionBlock = 0;  // VS_VERSION_INFO
    std::size_t fixedFileInfo = 0;
    std::uint32_t resourceRva = 0;  // of the resource root
};

struct PeFile {
    std::string bytes;
    PeLayout layout;
};

PeFile makeVersionedPe(const PeDescription& description);

// The driver files of the demo machine's Windows system folder.
struct DemoDriver {
    const char* fileName;
    const char* description;
    Version version;  // file and product version
};
const std::vector<DemoDriver>& demoDrivers();
PeDescription demoDriverDescription(const DemoDriver& driver);

// "a.b.c.d"
std::string versionText(const Version& version);

}  // namespace corvane::tools
