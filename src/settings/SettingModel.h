#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>

#include "settings/SettingControls.h"

namespace corvane {

// The window's setting controls without a window: plain values with the controls' rules (a
// disabled box ignores setChecked, an index beyond a list's entries selects nothing, a slider
// clamps), as a new window has them. It knows exactly the controls of the settings tables and
// the few other named controls the settings logic uses; any other name throws std::out_of_range.
// Presets are applied to it from the command line, and tests drive the settings logic with it.
class SettingModel : public SettingControls {
public:
    SettingModel();

    bool checked(const std::string& id) const override;
    void setChecked(const std::string& id, bool value) override;
    bool checkEnabled(const std::string& id) const override;
    void setCheckEnabled(const std::string& id, bool enabled) override;
    int itemIndex(const std::string& id) const override;
    void setItemIndex(const std::string& id, int index) override;
    int position(const std::string& id) const override;
    void setPosition(const std::string& id, int value) override;
    void setLabelText(const std::string& id, const std::string& text) override;
    void setLabelHint(const std::string& id, const std::string& hint) override;
    bool direct3DVisible() const override { return direct3dVisible; }

    // The state of every control, open to whoever drives the model.
    std::map<std::string, bool> boxes;
    std::set<std::string> disabled;
    std::map<std::string, int> lists;
    std::map<std::string, int> sliders;
    std::map<std::string, int> itemCounts;
    std::map<std::string, std::pair<int, int>> ranges;
    std::map<std::string, std::string> labels;
    std::map<std::string, std::string> hints;
    bool direct3dVisible = true;
};

}  // namespace corvane
