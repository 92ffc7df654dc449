#include "settings/SettingModel.h"

#include <algorithm>
#include <stdexcept>

#include "settings/Setting.h"

namespace corvane {

namespace {

template <typename Map>
auto& known(Map& map, const std::string& id) {
    const auto it = map.find(id);
    if (it == map.end()) throw std::out_of_range("no control named " + id);
    return it->second;
}

}  // namespace

SettingModel::SettingModel() {
    for (const Setting* s : windowSettings()) {
        switch (s->kind) {
            case ControlKind::CheckBox:
                boxes[s->id] = false;
                break;
            case ControlKind::List:
                lists[s->id] = -1;
                itemCounts[s->id] = static_cast<int>(s->items.size());
                break;
            case ControlKind::Slider:
                ranges[s->id] = {s->minimum, s->maximum};
                sliders[s->id] = std::clamp(s->initial, s->minimum, s->maximum);
                break;
        }
    }
    // The clock panel's start-up box, which writing the settings stores, and the gamma sliders'
    // percentages, which reading shows.
    boxes["StartupSettings"] = false;
    for (const char* label : {"RedGammaPosLbl", "GreenGammaPosLbl", "BlueGammaPosLbl"})
        labels[label] = "n/a";
}

bool SettingModel::checked(const std::string& id) const {
    return known(boxes, id);
}

void SettingModel::setChecked(const std::string& id, bool value) {
    if (checkEnabled(id)) known(boxes, id) = value;
}

bool SettingModel::checkEnabled(const std::string& id) const {
    known(boxes, id);
    return disabled.count(id) == 0;
}

void SettingModel::setCheckEnabled(const std::string& id, bool enabled) {
    known(boxes, id);
    if (enabled) {
        disabled.erase(id);
    } else {
        disabled.insert(id);
    }
}

int SettingModel::itemIndex(const std::string& id) const {
    return known(lists, id);
}

void SettingModel::setItemIndex(const std::string& id, int index) {
    known(lists, id) = index >= 0 && index < itemCounts.at(id) ? index : -1;
}

int SettingModel::position(const std::string& id) const {
    return known(sliders, id);
}

void SettingModel::setPosition(const std::string& id, int value) {
    const auto [low, high] = known(ranges, id);
    known(sliders, id) = std::clamp(value, low, high);
}

void SettingModel::setLabelText(const std::string& id, const std::string& text) {
    known(labels, id) = text;
}

void SettingModel::setLabelHint(const std::string& id, const std::string& hint) {
    if (!boxes.count(id) && !lists.count(id) && !sliders.count(id))
        throw std::out_of_range("no control named " + id);
    hints[id] = hint;
}

}  // namespace corvane
