#pragma once

#include <cstdint>
#include <string>

namespace corvane {

// VS_FIXEDFILEINFO, the fixed part of a file's version information, as it lies in the file
// (little-endian DWORDs). A version a.b.c.d is held as MS = a << 16 | b and LS = c << 16 | d.
struct VsFixedFileInfo {
    std::uint32_t dwSignature;  // kFixedFileInfoSignature
    std::uint32_t dwStrucVersion;
    std::uint32_t dwFileVersionMS;
    std::uint32_t dwFileVersionLS;
    std::uint32_t dwProductVersionMS;
    std::uint32_t dwProductVersionLS;
    std::uint32_t dwFileFlagsMask;
    std::uint32_t dwFileFlags;
    std::uint32_t dwFileOS;
    std::uint32_t dwFileType;
    std::uint32_t dwFileSubtype;
    std::uint32_t dwFileDateMS;
    std::uint32_t dwFileDateLS;
};
static_assert(sizeof(VsFixedFileInfo) == 52);

// The three version.dll calls that read a file's product version, one to one: a Win32 back end
// calls GetFileVersionInfoSizeA, GetFileVersionInfoA and VerQueryValueA with the same arguments
// and hands their results back unchanged. The calls are made in that order:
//
//   std::uint32_t handle = 0;
//   const std::uint32_t size = versions.getFileVersionInfoSize(path, &handle);
//   std::vector<std::uint8_t> block(size);   // size 0: no version information
//   const void* info = nullptr;
//   std::uint32_t length = 0;
//   if (size != 0 && versions.getFileVersionInfo(path, handle, size, block.data()) &&
//       versions.verQueryValue(block.data(), "\\", &info, &length) &&
//       length >= sizeof(VsFixedFileInfo)) { copy *info out with memcpy }
//
// fileName is a path in the Windows form (for example the system folder + "\Ati3draa.dll").
// Not safe for use from several threads at once.
class VersionResources {
public:
    static constexpr std::uint32_t kFixedFileInfoSignature = 0xFEEF04BDu;

    virtual ~VersionResources() = default;

    // GetFileVersionInfoSizeA: the number of bytes the file's version information needs, 0 when
    // the file is missing, unreadable or holds none. *handle (when not null) is set to 0.
    virtual std::uint32_t getFileVersionInfoSize(const std::string& fileName,
                                                 std::uint32_t* handle) = 0;

    // GetFileVersionInfoA: fills data (size bytes, as getFileVersionInfoSize gave) with the
    // file's version information block. handle is ignored. False when there is none.
    virtual bool getFileVersionInfo(const std::string& fileName, std::uint32_t handle,
                                    std::uint32_t size, void* data) = 0;

    // VerQueryValueA over a block that getFileVersionInfo filled. The root block "\" gives
    // *buffer pointing at the VsFixedFileInfo inside the block (not necessarily aligned: copy
    // it out with memcpy) and *length its size in bytes. False when there is none.
    virtual bool verQueryValue(const void* block, const std::string& subBlock, const void** buffer,
                               std::uint32_t* length) = 0;
};

}  // namespace corvane
