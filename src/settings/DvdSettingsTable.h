#pragma once

#include <string_view>
#include <vector>

#include "settings/Setting.h"

namespace corvane {

// The DVD player's keys, below HKEY_LOCAL_MACHINE. None of them is ever created.
inline constexpr const char* kDvdPlayerKey =
    "\\Software\\Quadrant International, Inc.\\Software Cinemaster\\0.9";
inline constexpr const char* kDvdAudioKey =
    "\\Software\\Quadrant International, Inc.\\Software Cinemaster\\0.9\\AudioDecoder";
inline constexpr const char* kDvdVideoKey =
    "\\Software\\Quadrant International, Inc.\\Software Cinemaster\\0.9\\VideoDecoder";

// The player's engine file in the Windows system folder; its product version tells which form of
// the S/PDIF list applies.
inline constexpr const char* kDvdEngineFile = "\\Cinmst32.dll";

// The DVD player's settings in the order of the table; reading and writing keep their own orders.
const std::vector<Setting>& dvdSettings();
const Setting& dvdSetting(std::string_view id);

// The S/PDIF list as newer engines (third version number 32 or more and fourth 5653 or more)
// have it; the table holds the four-item form the window is designed with.
const std::vector<const char*>& spdifFiveItemForm();
bool spdifHasFiveItems(unsigned third, unsigned fourth);

}  // namespace corvane
