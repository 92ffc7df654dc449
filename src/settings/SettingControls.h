#pragma once

#include <string>

namespace corvane {

// The window's setting controls as the settings logic sees them, named by their identifiers.
// Setting a state from code raises no change event. A disabled check box ignores SetChecked; an
// index outside a list's items leaves no item selected; a slider clamps a position into its range.
class SettingControls {
public:
    virtual ~SettingControls() = default;

    virtual bool Checked(const std::string& id) const = 0;
    virtual void SetChecked(const std::string& id, bool checked) = 0;
    virtual bool CheckEnabled(const std::string& id) const = 0;
    virtual void SetCheckEnabled(const std::string& id, bool enabled) = 0;
    virtual int ItemIndex(const std::string& id) const = 0;  // -1: no item selected
    virtual void SetItemIndex(const std::string& id, int index) = 0;
    virtual int Position(const std::string& id) const = 0;
    virtual void SetPosition(const std::string& id, int position) = 0;
    // The text of a label, and the hint of the caption label beside a control.
    virtual void SetLabelText(const std::string& id, const std::string& text) = 0;
    virtual void SetLabelHint(const std::string& id, const std::string& hint) = 0;
    // Whether the Direct3D page can be reached (it is hidden on Windows NT).
    virtual bool Direct3DVisible() const = 0;
};

}  // namespace corvane
