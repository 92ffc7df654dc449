#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/PrivateProfile.h"
#include "settings/SettingControls.h"
#include "widgets/CheckLabel.h"

namespace corvane {

// What the preset commands work with.
struct PresetServices {
    SettingControls& controls;
    PrivateProfile& profile;
    Dialogs& dialogs;
    std::string folder;               // the Presets folder
    std::function<bool()> windowsNt;  // asked when a preset is saved
    // Marks the settings as changed, as a change by hand does (it enables Load when presets exist).
    std::function<void()> markChanged;
    // Shows what a preset set that the controls themselves don't show (the gamma percentages).
    std::function<void()> presetApplied;
};

// The Presets group of the Advanced page, and the preset commands of the window: the presets kept
// in the Presets folder, the button that loads the one chosen, and loading and saving a preset
// anywhere through the file dialogs.
class PresetsBox : public QGroupBox {
    Q_OBJECT

public:
    explicit PresetsBox(QWidget* parent);
    void attach(PresetServices services);

    void FillPresetList();
    void LoadPresetBtnClick();
    void PresetsCBChange();
    void LoadPresets1Click();
    void SavePresets1Click();
    void SaveDefaultSettings();
    void ApplyPresetFile(const std::string& path);
    void SavePresetFile(const std::string& path);
    // The Presets folder exists (it is created when missing) and the list shows it.
    void preparePresetFolder();

    int LastPresetIndex() const { return m_lastPresetIndex; }
    const std::string& folder() const { return m_services->folder; }

    TCheckLabel* PresetsLbl;
    QComboBox* PresetsCB;
    QPushButton* LoadPresetBtn;

private:
    // Steps shared by both saves: the dialog, the save, the refill, the entry selected.
    void saveThroughDialog(const std::string& title);

    std::unique_ptr<PresetServices> m_services;
    int m_lastPresetIndex = 0;
    std::string m_saveFileName;  // what the save dialog offers: the path last chosen
    // The listed names as the file system spells them: a name that is not UTF-8 shows with
    // replacement characters, and Load must still find its file.
    std::vector<std::string> m_listedNames;
};

}  // namespace corvane
