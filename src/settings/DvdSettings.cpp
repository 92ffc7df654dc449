#include "settings/DvdSettings.h"

#include <array>
#include <string>

#include "settings/DvdSettingsTable.h"

namespace corvane {

namespace {

// Orders in which the player's values are read and written.
constexpr std::array<const char*, 6> kAudioReadOrder = {
    "LFE", "UseSurround", "CompressionModeCB", "SampleRate", "AC3SPDIFOut", "DialogNormalization"};
constexpr std::array<const char*, 3> kVideoReadOrder = {"HardwareOptimization", "TripleBuffering",
                                                        "PerformanceClass"};
constexpr std::array<const char*, 6> kAudioWriteOrder = {
    "LFE", "UseSurround", "DialogNormalization", "CompressionModeCB", "SampleRate", "AC3SPDIFOut"};
constexpr std::array<const char*, 3> kVideoWriteOrder = {"HardwareOptimization", "PerformanceClass",
                                                         "TripleBuffering"};

void readSetting(TRegistry& registry, SettingControls& controls, const Setting& s) {
    const std::int32_t stored = ReadIntegerDef(registry, s.valueName, s.fallback);
    switch (s.encoding) {
        case SettingEncoding::NumberFlag:
            controls.setChecked(s.id, stored == 1);
            break;
        case SettingEncoding::ItemIndex:
            controls.setItemIndex(s.id, stored);
            break;
        case SettingEncoding::ItemNumber: {
            // The entry whose text is exactly the number; none when no entry shows it.
            int index = -1;
            for (std::size_t i = 0; i < s.items.size(); ++i) {
                if (std::to_string(stored) == s.items[i]) index = static_cast<int>(i);
            }
            controls.setItemIndex(s.id, index);
            break;
        }
        default:
            break;
    }
}

void writeSetting(TRegistry& registry, const SettingControls& controls, const Setting& s) {
    if (s.kind == ControlKind::CheckBox) {
        registry.WriteInteger(s.valueName, controls.checked(s.id) ? 1 : 0);
        return;
    }
    // A list that shows no entry holds a stored value the window could not show; it stays.
    const int index = controls.itemIndex(s.id);
    if (index < 0) return;
    if (s.encoding == SettingEncoding::ItemNumber) {
        if (static_cast<std::size_t>(index) < s.items.size())
            registry.WriteInteger(s.valueName, std::stoi(s.items[static_cast<std::size_t>(index)]));
        return;
    }
    registry.WriteInteger(s.valueName, index);
}

}  // namespace

bool ReadDVDRegistry(TRegistry& registry, SettingControls& controls, Dialogs& dialogs) {
    try {
        registry.SetRootKey(win::kHKeyLocalMachine);
        if (!registry.OpenKey(kDvdPlayerKey, false)) return false;
        if (registry.OpenKey(kDvdAudioKey, false)) {
            for (const char* id : kAudioReadOrder)
                readSetting(registry, controls, dvdSetting(id));
        }
        if (registry.OpenKey(kDvdVideoKey, false)) {
            for (const char* id : kVideoReadOrder)
                readSetting(registry, controls, dvdSetting(id));
        }
    } catch (const std::exception& e) {
        showError(dialogs, std::string("Error in ReadDVDRegistry: ") + e.what());
    }
    return true;
}

void WriteDVDRegistry(TRegistry& registry, const SettingControls& controls, Dialogs& dialogs) {
    try {
        registry.SetRootKey(win::kHKeyLocalMachine);
        if (registry.OpenKey(kDvdAudioKey, false)) {
            for (const char* id : kAudioWriteOrder)
                writeSetting(registry, controls, dvdSetting(id));
        }
        if (registry.OpenKey(kDvdVideoKey, false)) {
            for (const char* id : kVideoWriteOrder)
                writeSetting(registry, controls, dvdSetting(id));
        }
    } catch (const std::exception& e) {
        showError(dialogs, std::string("Error in WriteRegistry: ") + e.what());
    }
}

}  // namespace corvane
