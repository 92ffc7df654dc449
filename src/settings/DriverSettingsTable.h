#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "settings/Setting.h"

namespace corvane {

// Registry keys of the driver settings, below HKEY_LOCAL_MACHINE.
inline constexpr const char* kDesktopKey = "\\Software\\ATI Technologies\\Desktop";
inline constexpr const char* kDdhalKey = "\\Software\\ATI Technologies\\Driver\\ddhal";
inline constexpr const char* kAtiDalKey = "\\Software\\ATI Technologies\\Driver\\ATIDAL";
inline constexpr const char* kOpenGLKey = "\\Software\\ATI Technologies\\Driver\\OpenGL";
inline constexpr const char* kOpenGLPrivateKey =
    "\\Software\\ATI Technologies\\Driver\\OpenGL\\Private";
inline constexpr const char* kVxdKey = "\\Software\\ATI Technologies\\Driver\\VXD";

// The settings in the order of the table; reading and writing keep their own orders.
const std::vector<Setting>& driverSettings();
const Setting& driverSetting(std::string_view id);

inline constexpr const char* kGammaValue = "DALGameGammaScale";
inline constexpr int kGammaFallback = 0x827878;
inline constexpr const char* kGammaHint =
    "This option should correct games like NHL99 that seems to have bleached surface.\r"
    "Just lower the settings a bit and see what it an do for you.";
inline constexpr const char* kNotOnNtHint = "This option is not available under Windows NT.";

}  // namespace corvane
