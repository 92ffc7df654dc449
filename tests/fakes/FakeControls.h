#pragma once

#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>
#include <string>

#include "settings/Setting.h"
#include "settings/SettingControls.h"

namespace corvane::test {

template <typename Map>
auto& knownControl(Map& map, const std::string& id) {
    const auto it = map.find(id);
    if (it == map.end()) throw std::out_of_range("no control named " + id);
    return it->second;
}

// The window's setting controls as plain values, with the controls' rules: a disabled box ignores
// setChecked, an index beyond a list's items selects nothing, a slider clamps. It knows exactly
// the controls of the settings tables (and the window's other named controls the settings logic
// uses), as a new window has them; any other name fails, so a misspelt name can't pass for an
// unchecked box.
class FakeControls : public SettingControls {
public:
    FakeControls() {
        for (const Setting* setting : windowSettings()) {
            const Setting& s = *setting;
            switch (s.kind) {
                case ControlKind::CheckBox:
                    boxes[s.id] = false;
                    break;
                case ControlKind::List:
                    lists[s.id] = -1;
                    itemCounts[s.id] = static_cast<int>(s.items.size());
                    break;
                case ControlKind::Slider:
                    ranges[s.id] = {s.minimum, s.maximum};
                    sliders[s.id] = std::clamp(s.initial, s.minimum, s.maximum);
                    break;
            }
        }
        boxes["StartupSettings"] = false;
        for (const char* label : {"RedGammaPosLbl", "GreenGammaPosLbl", "BlueGammaPosLbl"})
            labels[label] = "n/a";
    }
    bool checked(const std::string& id) const override { return knownControl(boxes, id); }
    void setChecked(const std::string& id, bool value) override {
        if (checkEnabled(id)) knownControl(boxes, id) = value;
    }
    bool checkEnabled(const std::string& id) const override {
        knownControl(boxes, id);
        return !disabled.count(id);
    }
    void setCheckEnabled(const std::string& id, bool enabled) override {
        knownControl(boxes, id);
        if (enabled) {
            disabled.erase(id);
        } else {
            disabled.insert(id);
        }
    }
    int itemIndex(const std::string& id) const override { return knownControl(lists, id); }
    void setItemIndex(const std::string& id, int index) override {
        knownControl(lists, id) = index >= 0 && index < itemCounts.at(id) ? index : -1;
    }
    int position(const std::string& id) const override { return knownControl(sliders, id); }
    void setPosition(const std::string& id, int value) override {
        const auto [low, high] = knownControl(ranges, id);
        knownControl(sliders, id) = std::clamp(value, low, high);
    }
    void setLabelText(const std::string& id, const std::string& text) override {
        knownControl(labels, id) = text;
    }
    void setLabelHint(const std::string& id, const std::string& hint) override {
        if (!boxes.count(id) && !lists.count(id) && !sliders.count(id))
            throw std::out_of_range("no control named " + id);
        hints[id] = hint;
    }
    bool direct3DVisible() const override { return direct3dVisible; }

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

}  // namespace corvane::test
