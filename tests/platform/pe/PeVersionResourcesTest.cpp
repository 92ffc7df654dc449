#include "platform/pe/PeVersionResources.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>

#include "PeWriter.h"
#include "ProcessRunner.h"
#include "TestSupport.h"
#include "platform/pe/PeImage.h"

namespace corvane {
namespace {

using tools::Version;

// The product version through the three calls, in the order the program makes them.
std::optional<Version> productVersion(VersionResources& versions, const std::string& path,
                                      Version* fileVersion = nullptr) {
    std::uint32_t handle = 7;
    const std::uint32_t size = versions.getFileVersionInfoSize(path, &handle);
    EXPECT_EQ(handle, 0u);
    if (size == 0) return std::nullopt;
    std::vector<std::uint8_t> block(size);
    const void* info = nullptr;
    std::uint32_t length = 0;
    if (!versions.getFileVersionInfo(path, handle, size, block.data()) ||
        !versions.verQueryValue(block.data(), "\\", &info, &length) ||
        length < sizeof(VsFixedFileInfo))
        return std::nullopt;
    VsFixedFileInfo fixed{};
    std::memcpy(&fixed, info, sizeof fixed);
    EXPECT_EQ(fixed.dwSignature, VersionResources::kFixedFileInfoSignature);
    auto split = [](std::uint32_t ms, std::uint32_t ls) {
        return Version{static_cast<std::uint16_t>(ms >> 16), static_cast<std::uint16_t>(ms),
                       static_cast<std::uint16_t>(ls >> 16), static_cast<std::uint16_t>(ls)};
    };
    if (fileVersion != nullptr) *fileVersion = split(fixed.dwFileVersionMS, fixed.dwFileVersionLS);
    return split(fixed.dwProductVersionMS, fixed.dwProductVersionLS);
}

// Whether the reader's core finds a version in bytes held in memory.
bool hasVersion(std::string_view bytes) {
    pe::MemoryBytes source(bytes);
    const std::optional<pe::BlockSpan> span = pe::findVersionBlock(source);
    if (!span) return false;
    std::vector<std::uint8_t> block(span->size);
    return source.readAt(span->offset, block.size(), block.data()) &&
           pe::fixedFileInfoOffset(block.data(), block.size()).has_value();
}

tools::PeDescription described(bool pe32Plus, std::uint32_t codeSize = 0) {
    tools::PeDescription s;
    s.pe32Plus = pe32Plus;
    s.fileVersion = {1, 2, 3, 4};
    s.productVersion = {4, 11, 0, 2081};
    s.strings = {{"ProductVersion", "4.11.0.2081"}};
    s.codeSize = codeSize;
    return s;
}

class PeVersionResourcesTest : public ::testing::Test {
protected:
    std::string write(const std::string& name, const std::string& bytes) {
        const std::string path = dir.file(name);
        test::writeFile(path, bytes);
        return path;
    }

    test::TempDir dir;
    PeVersionResources versions;
};

TEST_F(PeVersionResourcesTest, ReadsTheProductVersionOfBothKinds) {
    for (const bool pe32Plus : {false, true}) {
        for (const std::uint32_t codeSize : {0u, 5000u}) {
            const std::string path =
                write("v.dll", tools::makeVersionedPe(described(pe32Plus, codeSize)).bytes);
            Version file{};
            EXPECT_EQ(productVersion(versions, path, &file), (Version{4, 11, 0, 2081}))
                << pe32Plus << " " << codeSize;
            EXPECT_EQ(file, (Version{1, 2, 3, 4}));
        }
    }
}

TEST_F(PeVersionResourcesTest, EveryTruncationGivesNoVersion) {
    for (const bool pe32Plus : {false, true}) {
        const std::string bytes = tools::makeVersionedPe(described(pe32Plus, 700)).bytes;
        ASSERT_TRUE(hasVersion(bytes));
        for (std::size_t length = 0; length < bytes.size(); ++length)
            ASSERT_FALSE(hasVersion(std::string_view(bytes).substr(0, length))) << length;
        // And through the file calls, for a few of them.
        for (const std::size_t length :
             {std::size_t{0}, std::size_t{63}, bytes.size() / 2, bytes.size() - 1}) {
            EXPECT_EQ(productVersion(versions, write("cut.dll", bytes.substr(0, length))),
                      std::nullopt)
                << length;
        }
    }
}

TEST_F(PeVersionResourcesTest, BrokenFilesGiveNoVersion) {
    auto put16 = [](std::string& b, std::size_t at, std::uint16_t v) {
        b[at] = static_cast<char>(v);
        b[at + 1] = static_cast<char>(v >> 8);
    };
    auto put32 = [&](std::string& b, std::size_t at, std::uint32_t v) {
        put16(b, at, static_cast<std::uint16_t>(v));
        put16(b, at + 2, static_cast<std::uint16_t>(v >> 16));
    };
    using Break = std::function<void(std::string&, const tools::PeLayout&, bool)>;
    const std::pair<const char*, Break> breaks[] = {
        {"not MZ", [](std::string& b, auto&, bool) { b[0] = 'X'; }},
        {"an NE file",
         [](std::string& b, auto& l, bool) { b.replace(l.ntHeaders, 4, "NE\0\0", 4); }},
        {"an LE file",
         [](std::string& b, auto& l, bool) { b.replace(l.ntHeaders, 4, "LE\0\0", 4); }},
        {"an LX file",
         [](std::string& b, auto& l, bool) { b.replace(l.ntHeaders, 4, "LX\0\0", 4); }},
        {"PE headers past the end",
         [&](std::string& b, auto&, bool) { put32(b, 0x3C, 0xFFFFFFF0u); }},
        {"a ROM image", [&](std::string& b, auto& l, bool) { put16(b, l.optionalHeader, 0x107); }},
        {"no resource directory entry",
         [&](std::string& b, auto& l, bool plus) {
             put32(b, l.optionalHeader + (plus ? 108 : 92), 2);
         }},
        {"an optional header too short",
         [&](std::string& b, auto& l, bool) { put16(b, l.ntHeaders + 20, 64); }},
        {"65535 sections",
         [&](std::string& b, auto& l, bool) { put16(b, l.ntHeaders + 6, 0xFFFF); }},
        {"a section past the end",
         [&](std::string& b, auto& l, bool) { put32(b, l.sectionTable + 16, 0x7FFFFFFFu); }},
        {"resources outside every section",
         [&](std::string& b, auto& l, bool plus) {
             put32(b, l.optionalHeader + (plus ? 112 : 96) + 16, 0x900000u);
         }},
        {"no RT_VERSION",
         [&](std::string& b, auto& l, bool) { put16(b, l.resourceSection + 16, 3); }},
        {"no resource 1",
         [&](std::string& b, auto& l, bool) { put16(b, l.nameDirectory + 16, 2); }},
        {"a loop back to the root",
         [&](std::string& b, auto& l, bool) { put32(b, l.nameDirectory + 20, 0x80000000u); }},
        {"a language that is a directory",
         [&](std::string& b, auto& l, bool) {
             put32(
                 b, l.languageDirectory + 20,
                 0x80000000u | static_cast<std::uint32_t>(l.languageDirectory - l.resourceSection));
         }},
        {"a directory of 65535 entries",
         [&](std::string& b, auto& l, bool) { put16(b, l.languageDirectory + 14, 0xFFFF); }},
        {"a directory past the section",
         [&](std::string& b, auto& l, bool) { put32(b, l.nameDirectory + 20, 0x80FFFFF0u); }},
        {"a data entry past the section",
         [&](std::string& b, auto& l, bool) { put32(b, l.languageDirectory + 20, 0x7FFFFFF0u); }},
        {"an oversized resource",
         [&](std::string& b, auto& l, bool) { put32(b, l.dataEntry + 4, 0xFFFFFFFFu); }},
        {"an empty resource", [&](std::string& b, auto& l, bool) { put32(b, l.dataEntry + 4, 0); }},
        {"resource data outside every section",
         [&](std::string& b, auto& l, bool) { put32(b, l.dataEntry, 0x10u); }},
        {"a block longer than its resource",
         [&](std::string& b, auto& l, bool) { put16(b, l.versionBlock, 0xFFFF); }},
        {"a block too short for its value",
         [&](std::string& b, auto& l, bool) { put16(b, l.versionBlock, 60); }},
        {"a value longer than its block",
         [&](std::string& b, auto& l, bool) { put16(b, l.versionBlock + 2, 0xFFFF); }},
        {"no fixed file information",
         [&](std::string& b, auto& l, bool) { put16(b, l.versionBlock + 2, 0); }},
        {"another key", [](std::string& b, auto& l, bool) { b[l.versionBlock + 6] = 'X'; }},
        {"a wrong signature",
         [&](std::string& b, auto& l, bool) { put32(b, l.fixedFileInfo, 0xFEEF04BCu); }},
    };
    for (const bool pe32Plus : {false, true}) {
        const tools::PeFile good = tools::makeVersionedPe(described(pe32Plus));
        ASSERT_TRUE(productVersion(versions, write("good.dll", good.bytes)).has_value());
        for (const auto& [what, damage] : breaks) {
            std::string bytes = good.bytes;
            damage(bytes, good.layout, pe32Plus);
            ASSERT_NE(bytes, good.bytes) << what;
            EXPECT_EQ(productVersion(versions, write("bad.dll", bytes)), std::nullopt)
                << what << (pe32Plus ? " (PE32+)" : " (PE32)");
        }
    }
}

// A version block of size 0 is read into no storage at all (found by fuzzing).
TEST_F(PeVersionResourcesTest, AnEmptyReadNeedsNoBuffer) {
    pe::MemoryBytes bytes("MZ");
    EXPECT_TRUE(bytes.readAt(2, 0, nullptr));
    EXPECT_FALSE(bytes.readAt(3, 0, nullptr));
}

TEST_F(PeVersionResourcesTest, FindsWindowsPathsWithoutRegardToCase) {
    std::filesystem::create_directories(dir.path() / "WINDOWS" / "system");
    test::writeFile((dir.path() / "WINDOWS" / "system" / "ATI3DRAA.DLL").string(),
                    tools::makeVersionedPe(described(false)).bytes);
    const std::string base = dir.path().string();
    for (const std::string& name :
         {base + "/WINDOWS/system/ATI3DRAA.DLL", base + "/Windows/System\\Ati3draa.dll",
          base + "\\windows\\SYSTEM\\ati3draa.dll"}) {
        EXPECT_EQ(productVersion(versions, name), (Version{4, 11, 0, 2081})) << name;
    }
    for (const std::string& name :
         {base + "/Windows/System\\Ati3d.dll", base + "/Windows/Sys\\Ati3draa.dll",
          base + "/Windows/System", std::string("C:\\WINDOWS\\SYSTEM\\Ati3draa.dll"),
          std::string()}) {
        EXPECT_EQ(versions.getFileVersionInfoSize(name, nullptr), 0u) << name;
    }
}

TEST_F(PeVersionResourcesTest, RefusesFilesOverTheSizeLimit) {
    const std::string bytes = tools::makeVersionedPe(described(true)).bytes;
    const std::string path = write("big.dll", bytes);
    std::filesystem::resize_file(path, pe::kMaxFileSize);  // data after the image, allowed
    EXPECT_TRUE(productVersion(versions, path).has_value());
    std::filesystem::resize_file(path, pe::kMaxFileSize + 1);
    EXPECT_EQ(versions.getFileVersionInfoSize(path, nullptr), 0u);
}

TEST_F(PeVersionResourcesTest, AnswersOnlyForTheRootOfABlockItGaveOut) {
    const std::string path = write("v.dll", tools::makeVersionedPe(described(false)).bytes);
    const std::uint32_t size = versions.getFileVersionInfoSize(path, nullptr);
    ASSERT_GT(size, 0u);
    std::vector<std::uint8_t> block(size);
    EXPECT_FALSE(versions.getFileVersionInfo(path, 0, size - 1, block.data()));
    ASSERT_TRUE(versions.getFileVersionInfo(path, 0, size, block.data()));
    const void* info = nullptr;
    std::uint32_t length = 0;
    EXPECT_TRUE(versions.verQueryValue(block.data(), "", &info, &length));
    EXPECT_EQ(length, sizeof(VsFixedFileInfo));
    EXPECT_FALSE(versions.verQueryValue(block.data(), "\\StringFileInfo", &info, &length));
    EXPECT_FALSE(versions.verQueryValue(nullptr, "\\", &info, &length));
}

// A DLL that GNU binutils build from a resource script, where they are installed.
TEST_F(PeVersionResourcesTest, ReadsADllThatBinutilsBuilt) {
    const char* tools[] = {"x86_64-w64-mingw32-windres", "x86_64-w64-mingw32-ld",
                           "x86_64-w64-mingw32-objcopy"};
    for (const char* tool : tools) {
        if (test::findProgram(tool).empty())
            GTEST_SKIP() << tool << " is not installed (./scripts/setup.sh windows installs it)";
    }
    test::writeFile(dir.file("v.rc"),
                    "1 VERSIONINFO\nFILEVERSION 1,2,3,4\nPRODUCTVERSION 5,6,7,8\nBEGIN\n"
                    "  BLOCK \"StringFileInfo\"\n  BEGIN\n    BLOCK \"040904B0\"\n    BEGIN\n"
                    "      VALUE \"ProductVersion\", \"5.6.7.8\"\n    END\n  END\n"
                    "  BLOCK \"VarFileInfo\"\n  BEGIN\n    VALUE \"Translation\", 0x409, 1200\n"
                    "  END\nEND\n");
    const std::string d = dir.path().string();
    ASSERT_EQ(test::runCommand({tools[0], "-i", d + "/v.rc", "-o", d + "/v.o"}), 0);
    ASSERT_EQ(test::runCommand({tools[1], "--dll", "-e", "0", "-o", d + "/v64.dll", d + "/v.o"}),
              0);
    ASSERT_EQ(test::runCommand({tools[2], "-O", "pei-i386", d + "/v64.dll", d + "/v32.dll"}), 0);
    for (const char* name : {"/v64.dll", "/v32.dll"}) {
        Version file{};
        EXPECT_EQ(productVersion(versions, d + name, &file), (Version{5, 6, 7, 8})) << name;
        EXPECT_EQ(file, (Version{1, 2, 3, 4})) << name;
    }
}

// Every version block a plain search of the file's bytes finds: the UTF-16 key and, after it,
// a fixed file information record with its signature. Independent of the reader.
std::vector<Version> versionsByScanning(const std::string& bytes) {
    static const std::string key("V\0S\0_\0V\0E\0R\0S\0I\0O\0N\0_\0I\0N\0F\0O\0\0\0", 32);
    std::vector<Version> found;
    for (std::size_t at = bytes.find(key); at != std::string::npos; at = bytes.find(key, at + 1)) {
        const std::size_t fixed = at + 32 + 2;  // the key starts 6 bytes into a 4-aligned block
        if (fixed + 24 > bytes.size()) break;
        auto u32 = [&](std::size_t i) {
            std::uint32_t v = 0;
            std::memcpy(&v, bytes.data() + i, 4);
            return v;
        };
        if (u32(fixed) != VersionResources::kFixedFileInfoSignature) continue;
        const std::uint32_t ms = u32(fixed + 16);
        const std::uint32_t ls = u32(fixed + 20);
        found.push_back({static_cast<std::uint16_t>(ms >> 16), static_cast<std::uint16_t>(ms),
                         static_cast<std::uint16_t>(ls >> 16), static_cast<std::uint16_t>(ls)});
    }
    return found;
}

// Files no one here wrote: the Windows DLLs and programs Wine ships, where it is installed.
TEST_F(PeVersionResourcesTest, ReadsEveryWindowsFileThatWineShips) {
    std::vector<std::string> files;
    for (const std::string& line : test::outputLines({"dpkg", "-L", "libwine"})) {
        if (line.find("-windows/") != std::string::npos &&
            (line.ends_with(".dll") || line.ends_with(".exe")))
            files.push_back(line);
    }
    if (files.empty())
        GTEST_SKIP() << "Wine is not installed (./scripts/setup.sh windows installs it)";
    std::size_t withVersion = 0;
    for (const std::string& path : files) {
        const std::optional<Version> read = productVersion(versions, path);
        const std::vector<Version> scanned = versionsByScanning(test::readFile(path));
        if (scanned.empty()) {
            EXPECT_EQ(read, std::nullopt) << path;
            continue;
        }
        ASSERT_TRUE(read.has_value()) << path;
        EXPECT_NE(std::find(scanned.begin(), scanned.end(), *read), scanned.end()) << path;
        ++withVersion;
    }
    std::printf("%zu of %zu Windows files of Wine hold a product version\n", withVersion,
                files.size());
    EXPECT_GT(withVersion, files.size() / 10);  // a reader that finds nothing fails here
}

}  // namespace
}  // namespace corvane
