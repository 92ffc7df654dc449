#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/Dialogs.h"
#include "platform/VersionResources.h"

namespace corvane {

using ProductVersion = std::array<std::uint16_t, 4>;

// The product version of a file (not its file version): true with the four numbers when the file
// carries one, false with zeros otherwise. An error on the way is shown as "An error has occured
// in GetFileVersion: " and the message, and gives false.
bool GetFileVersion(VersionResources& versions, Dialogs& dialogs, const std::string& fileName,
                    ProductVersion& version);

// The driver files whose versions the Rage 128 Info page shows, in the system folder.
inline constexpr const char* kDirect3DDriverFile = "\\Ati3draa.dll";
inline constexpr const char* kOpenGLDriverFile9x = "\\Atio9xaa.dll";
inline constexpr const char* kOpenGLDriverFileNt = "\\ation4aa.dll";

}  // namespace corvane
