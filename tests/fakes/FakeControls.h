#pragma once

#include <algorithm>
#include <map>
#include <set>
#include <string>

#include "settings/DriverSettingsTable.h"
#include "settings/SettingControls.h"

namespace corvane::test {

// The window's setting controls as plain values, with the controls' rules: a disabled box ignores
// SetChecked, an index beyond a list's items selects nothing, a slider clamps.
class FakeControls : public SettingControls {
public:
    FakeControls() {
        for (const DriverSetting& s : driverSettings()) {
            if (s.kind == ControlKind::List) itemCounts[s.id] = static_cast<int>(s.items.size());
            if (s.kind == ControlKind::Slider) ranges[s.id] = {s.minimum, s.maximum};
        }
        for (const char* gamma : {"RedGamma", "GreenGamma", "BlueGamma"}) {
            ranges[gamma] = {50, 150};
            positions[gamma] = 100;
        }
    }
    bool Checked(const std::string& id) const override {
        return checked.count(id) && checked.at(id);
    }
    void SetChecked(const std::string& id, bool value) override {
        if (CheckEnabled(id)) checked[id] = value;
    }
    bool CheckEnabled(const std::string& id) const override { return !disabled.count(id); }
    void SetCheckEnabled(const std::string& id, bool enabled) override {
        if (enabled) {
            disabled.erase(id);
        } else {
            disabled.insert(id);
        }
    }
    int ItemIndex(const std::string& id) const override {
        return indexes.count(id) ? indexes.at(id) : -1;
    }
    void SetItemIndex(const std::string& id, int index) override {
        indexes[id] = index >= 0 && index < itemCounts.at(id) ? index : -1;
    }
    int Position(const std::string& id) const override {
        return positions.count(id) ? positions.at(id) : 0;
    }
    void SetPosition(const std::string& id, int position) override {
        const auto [low, high] = ranges.at(id);
        positions[id] = std::clamp(position, low, high);
    }
    void SetLabelText(const std::string& id, const std::string& text) override {
        labels[id] = text;
    }
    void SetLabelHint(const std::string& id, const std::string& hint) override { hints[id] = hint; }
    bool Direct3DVisible() const override { return direct3dVisible; }

    std::map<std::string, bool> checked;
    std::set<std::string> disabled;
    std::map<std::string, int> indexes;
    std::map<std::string, int> positions;
    std::map<std::string, int> itemCounts;
    std::map<std::string, std::pair<int, int>> ranges;
    std::map<std::string, std::string> labels;
    std::map<std::string, std::string> hints;
    bool direct3dVisible = true;
};

}  // namespace corvane::test
