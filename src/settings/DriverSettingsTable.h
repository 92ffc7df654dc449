#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane {

enum class SettingPage { Desktop, Direct3D, OpenGL, Advanced };
enum class ControlKind { CheckBox, List, Slider };

// How a setting is kept in the registry.
enum class SettingEncoding {
    StringFlag,          // REG_SZ "1" / "0"
    InvertedStringFlag,  // REG_SZ, "0" means checked
    NumberFlag,          // REG_DWORD, exactly 1 means checked
    Mapped,              // a list or slider with its own rule
    GammaChannel,        // one of the three percentages in the gamma word (REG_DWORD)
};

// Registry keys of the driver settings, below HKEY_LOCAL_MACHINE.
inline constexpr const char* kDesktopKey = "\\Software\\ATI Technologies\\Desktop";
inline constexpr const char* kDdhalKey = "\\Software\\ATI Technologies\\Driver\\ddhal";
inline constexpr const char* kAtiDalKey = "\\Software\\ATI Technologies\\Driver\\ATIDAL";
inline constexpr const char* kOpenGLKey = "\\Software\\ATI Technologies\\Driver\\OpenGL";
inline constexpr const char* kOpenGLPrivateKey =
    "\\Software\\ATI Technologies\\Driver\\OpenGL\\Private";
inline constexpr const char* kVxdKey = "\\Software\\ATI Technologies\\Driver\\VXD";

// One driver setting: its control, caption and hint, and where and how it is stored.
struct DriverSetting {
    const char* id;
    SettingPage page;
    ControlKind kind;
    const char* caption;  // "&" marks the accelerator
    const char* hint;     // none for the gamma sliders
    const char* key;
    const char* valueName;
    SettingEncoding encoding;
    int fallback;                      // number flags, mapped numbers and the gamma word
    const char* fallbackText;          // string flags
    std::vector<const char*> items{};  // lists
    int minimum = 0;                   // sliders
    int maximum = 0;
    int initial = 0;                  // a slider's position in a new window
    const char* labelHint = nullptr;  // when the caption label's hint differs from the control's
};

// The settings in the order of the table; reading and writing keep their own orders.
const std::vector<DriverSetting>& driverSettings();
const DriverSetting& driverSetting(std::string_view id);

inline constexpr const char* kGammaValue = "DALGameGammaScale";
inline constexpr int kGammaFallback = 0x827878;
inline constexpr const char* kGammaHint =
    "This option should correct games like NHL99 that seems to have bleached surface.\r"
    "Just lower the settings a bit and see what it an do for you.";
inline constexpr const char* kNotOnNtHint = "This option is not available under Windows NT.";

}  // namespace corvane
