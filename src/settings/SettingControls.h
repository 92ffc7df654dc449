#pragma once

#include <string>

namespace corvane {

// The window's setting controls as the settings logic sees them, named by their identifiers.
// Setting a state from code raises no change event. A disabled check box ignores setChecked; an
// index outside a list's items leaves no item selected; a slider clamps a position into its range.
// A name that belongs to no control of the right kind throws std::out_of_range: a misspelt name
// must not read as an unchecked box or an empty list.
class SettingControls {
public:
    virtual ~SettingControls() = default;

    virtual bool checked(const std::string& id) const = 0;
    virtual void setChecked(const std::string& id, bool checked) = 0;
    virtual bool checkEnabled(const std::string& id) const = 0;
    virtual void setCheckEnabled(const std::string& id, bool enabled) = 0;
    virtual int itemIndex(const std::string& id) const = 0;  // -1: no item selected
    virtual void setItemIndex(const std::string& id, int index) = 0;
    virtual int position(const std::string& id) const = 0;
    virtual void setPosition(const std::string& id, int position) = 0;
    // The text of a label, and the hint of the caption label beside a control.
    virtual void setLabelText(const std::string& id, const std::string& text) = 0;
    virtual void setLabelHint(const std::string& id, const std::string& hint) = 0;
    // Whether the Direct3D page can be reached (it is hidden on Windows NT).
    virtual bool direct3DVisible() const = 0;
};

}  // namespace corvane
