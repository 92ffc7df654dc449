#include "presets/PresetFile.h"

#include <string_view>
#include <vector>

#include "presets/IniFile.h"
#include "presets/PresetTable.h"
#include "settings/Setting.h"

namespace corvane {

namespace {

bool skippedOnNt(std::string_view section) {
    return section == "D3D" || section == "DVD";
}

}  // namespace

void SavePresetFile(const std::string& path, const SettingControls& controls, bool windowsNt) {
    // Each value replaces the file whole, so a crash leaves the preset as it was before that
    // value or after it; nothing is forced to disk, as the profile functions don't.
    TIniFile ini(path);
    for (const PresetKey& key : presetKeys()) {
        if (windowsNt && skippedOnNt(key.section)) continue;
        switch (windowSetting(key.id).kind) {
            case ControlKind::CheckBox:
                ini.WriteBool(key.section, key.id, controls.checked(key.id));
                break;
            case ControlKind::List:
                ini.WriteInteger(key.section, key.id, controls.itemIndex(key.id));
                break;
            case ControlKind::Slider:
                ini.WriteInteger(key.section, key.id, controls.position(key.id));
                break;
        }
    }
    ini.UpdateFile();
}

int ApplyPresetFile(const std::string& path, SettingControls& controls) {
    TIniFile ini(path);
    std::vector<std::string> sections;
    ini.ReadSections(sections);
    for (const std::string& section : sections) {
        for (const char* known : kPresetSections) {
            if (section != known) continue;  // names compare exactly, case included
            for (const PresetKey& key : presetKeys()) {
                if (std::string_view(key.section) != known) continue;
                switch (windowSetting(key.id).kind) {
                    case ControlKind::CheckBox:
                        controls.setChecked(
                            key.id, ini.ReadBool(section, key.id, controls.checked(key.id)));
                        break;
                    case ControlKind::List:
                        controls.setItemIndex(
                            key.id, ini.ReadInteger(section, key.id, controls.itemIndex(key.id)));
                        break;
                    case ControlKind::Slider:
                        controls.setPosition(
                            key.id, ini.ReadInteger(section, key.id, controls.position(key.id)));
                        break;
                }
            }
        }
    }
    return static_cast<int>(sections.size());
}

}  // namespace corvane
