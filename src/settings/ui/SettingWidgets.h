#pragma once

#include <QComboBox>
#include <QPointer>
#include <functional>
#include <map>
#include <string>

#include "settings/SettingControls.h"
#include "widgets/CheckLabel.h"
#include "widgets/OverCheckBox.h"
#include "widgets/TrackBar.h"

namespace corvane {

// The setting controls of the window's pages, named by their identifiers: each page hands in the
// controls it creates, and the settings logic and the window reach them through here. An
// identifier no page handed in throws std::out_of_range.
class SettingWidgets : public SettingControls {
public:
    using ChangeHandler = std::function<void(QObject* sender)>;

    // Whether the Direct3D page is reachable is the window's to say.
    explicit SettingWidgets(std::function<bool()> direct3DVisible);

    // A control and the caption label beside it (which carries its hint).
    void addCheck(const std::string& id, TOverCheckBox* box, TCheckLabel* caption);
    void addList(const std::string& id, QComboBox* list, TCheckLabel* caption);
    void addSlider(const std::string& id, TTrackBar* slider, TCheckLabel* caption);
    void addLabel(const std::string& id, TCheckLabel* label);

    TOverCheckBox* box(const std::string& id) const;
    QComboBox* list(const std::string& id) const;
    TTrackBar* slider(const std::string& id) const;
    TCheckLabel* label(const std::string& id) const;
    // The caption label beside a control of any kind.
    TCheckLabel* caption(const std::string& id) const;

    // Runs handler when the user changes the control (a click on a box, an entry chosen in a
    // list, a slider moved); changes made from code run nothing.
    void onUserChange(const std::string& id, ChangeHandler handler);

    bool checked(const std::string& id) const override;
    void setChecked(const std::string& id, bool checked) override;
    bool checkEnabled(const std::string& id) const override;
    void setCheckEnabled(const std::string& id, bool enabled) override;
    int itemIndex(const std::string& id) const override;
    void setItemIndex(const std::string& id, int index) override;
    int position(const std::string& id) const override;
    void setPosition(const std::string& id, int position) override;
    void setLabelText(const std::string& id, const std::string& text) override;
    void setLabelHint(const std::string& id, const std::string& hint) override;
    bool direct3DVisible() const override;

private:
    std::function<bool()> m_direct3DVisible;
    std::map<std::string, QPointer<TOverCheckBox>> m_boxes;
    std::map<std::string, QPointer<QComboBox>> m_lists;
    std::map<std::string, QPointer<TTrackBar>> m_sliders;
    std::map<std::string, QPointer<TCheckLabel>> m_labels;
    std::map<std::string, QPointer<TCheckLabel>> m_captions;
};

}  // namespace corvane
