#pragma once

#include <string_view>
#include <vector>

namespace corvane {

// Where a setting's control stands: its page, and on the DVD page its group.
enum class SettingPage { Desktop, Direct3D, OpenGL, Advanced, DvdAudio, DvdVideo };
enum class ControlKind { CheckBox, List, Slider };

// How a setting is kept in the registry.
enum class SettingEncoding {
    StringFlag,          // REG_SZ "1" / "0"
    InvertedStringFlag,  // REG_SZ, "0" means checked
    NumberFlag,          // REG_DWORD, exactly 1 means checked
    Mapped,              // a list or slider with its own rule
    GammaChannel,        // one of the three percentages in the gamma word (REG_DWORD)
    ItemIndex,           // REG_DWORD, the selected entry's index
    ItemNumber,          // REG_DWORD, the number the selected entry shows
};

// One setting of the window: its control, caption and hint, and where and how it is stored.
struct Setting {
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

// Every setting of the window: the driver's, then the DVD player's.
const std::vector<const Setting*>& windowSettings();
// The setting of that identifier; throws std::out_of_range for any other name.
const Setting& windowSetting(std::string_view id);

}  // namespace corvane
