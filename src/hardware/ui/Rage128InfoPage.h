#pragma once

#include <QComboBox>
#include <QWidget>
#include <map>
#include <string>
#include <vector>

#include "hardware/ChipInfo.h"
#include "widgets/CheckLabel.h"

namespace corvane {

// The Rage 128 Info page: what the ATI driver records about each adapter, and the versions of
// the Direct3D and OpenGL driver files. Read-only.
class Rage128InfoPage : public QWidget, public ChipInfoLabels {
    Q_OBJECT

public:
    explicit Rage128InfoPage(QWidget* parent);

    // Fills the adapter list and shows the first adapter's facts.
    void ReadChipIds(TRegistry& registry, Dialogs& dialogs);
    // The user picked an adapter: its facts, unless they are already on show.
    void ChipIdCBChange(TRegistry& registry, Dialogs& dialogs);
    // A driver file's product version as "first.second.fourth", or "n/a" without one.
    void showVersion(const std::string& label, bool found, const std::uint16_t version[4]);

    std::string text(const std::string& label) const override;
    void setText(const std::string& label, const std::string& text) override;
    TCheckLabel* label(const std::string& name) const;

    QComboBox* ChipIdCB;
    const std::vector<std::string>& ChipKeyPaths() const { return m_chips.keyPaths; }
    const std::vector<std::string>& CdsKeyNames() const { return m_chips.cdsKeyNames; }
    int LastChipIndex() const { return m_lastChipIndex; }

private:
    std::map<std::string, TCheckLabel*> m_labels;
    ChipList m_chips;
    int m_lastChipIndex = 0;
};

}  // namespace corvane
