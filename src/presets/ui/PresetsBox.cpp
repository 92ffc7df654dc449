#include "presets/ui/PresetsBox.h"

#include <QSignalBlocker>
#include <filesystem>

#include "presets/PresetFile.h"
#include "presets/PresetFolder.h"
#include "widgets/Form.h"

namespace corvane {

namespace {

constexpr const char* kFilter = "Corvane Files (*.cvt)";
constexpr const char* kSuffix = "cvt";

}  // namespace

PresetsBox::PresetsBox(QWidget* parent) : QGroupBox(" Presets ", parent) {
    setObjectName("GroupBox11");
    setGeometry(8, 224, 482, 110);
    form::label(
        this,
        "Select a preset from the list below.  If you want your own presets to be listed  here, just put them ",
        QPoint(14, 20), "PresetsText1");
    form::label(this, "in the Presets folder.", QPoint(14, 36), "PresetsText2");
    PresetsLbl = form::label(this, "Available &presets:", QPoint(14, 66), "PresetsLbl");
    PresetsLbl->setEnabled(false);
    PresetsCB = form::list(this, "PresetsCB", {}, QRect(120, 62, 200, 21));
    PresetsLbl->SetFocusControl(PresetsCB);
    LoadPresetBtn = form::button(this, "LoadPresetBtn", "&Load", QRect(330, 61, 75, 23));
    LoadPresetBtn->setEnabled(false);
    connect(PresetsCB, &QComboBox::activated, this, [this] { PresetsCBChange(); });
    connect(LoadPresetBtn, &QPushButton::clicked, this, [this] { LoadPresetBtnClick(); });
}

void PresetsBox::attach(PresetServices services) {
    m_services = std::make_unique<PresetServices>(std::move(services));
}

void PresetsBox::preparePresetFolder() {
    corvane::preparePresetFolder(m_services->folder);
    FillPresetList();
}

void PresetsBox::FillPresetList() {
    const QSignalBlocker quiet(PresetsCB);
    PresetsCB->clear();
    m_listedNames = presetNames(m_services->folder);
    for (const std::string& name : m_listedNames)
        PresetsCB->addItem(QString::fromStdString(name));
    PresetsCB->setCurrentIndex(-1);
    LoadPresetBtn->setEnabled(PresetsCB->count() > 0);
}

void PresetsBox::ApplyPresetFile(const std::string& path) {
    // Each section of the file marks the settings as changed, whatever its name.
    const int sections = corvane::ApplyPresetFile(m_services->profile, path, m_services->controls);
    if (m_services->presetApplied) m_services->presetApplied();
    if (sections > 0) m_services->markChanged();
}

void PresetsBox::SavePresetFile(const std::string& path) {
    corvane::SavePresetFile(m_services->profile, path, m_services->controls,
                            m_services->windowsNt());
}

void PresetsBox::LoadPresetBtnClick() {
    const int index = PresetsCB->currentIndex();
    const std::string name = index >= 0 && static_cast<std::size_t>(index) < m_listedNames.size()
                                 ? m_listedNames[static_cast<std::size_t>(index)]
                                 : PresetsCB->currentText().toStdString();
    const std::string path = presetPath(m_services->folder, name);
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error)) {
        ApplyPresetFile(path);
        LoadPresetBtn->setEnabled(false);
        return;
    }
    showError(m_services->dialogs, "Cannot find " + path);
    FillPresetList();
}

void PresetsBox::PresetsCBChange() {
    const int index = PresetsCB->currentIndex();
    if (index != m_lastPresetIndex) LoadPresetBtn->setEnabled(true);
    m_lastPresetIndex = index;
}

void PresetsBox::LoadPresets1Click() {
    FileDialogRequest request;
    request.folder = m_services->folder;
    request.filter = kFilter;
    request.defaultSuffix = kSuffix;
    const std::optional<std::string> path = m_services->dialogs.chooseFile(request);
    if (!path) return;
    ApplyPresetFile(*path);
    if (PresetsCB->count() > 0) LoadPresetBtn->setEnabled(true);
}

void PresetsBox::SavePresets1Click() {
    saveThroughDialog("Save Current Settings...");
}

void PresetsBox::SaveDefaultSettings() {
    m_saveFileName = "Default.cvt";
    saveThroughDialog("Save Default Settings...");
}

void PresetsBox::saveThroughDialog(const std::string& title) {
    FileDialogRequest request;
    request.save = true;
    request.title = title;
    request.folder = m_services->folder;
    request.fileName = m_saveFileName;
    request.filter = kFilter;
    request.defaultSuffix = kSuffix;
    std::optional<std::string> path = m_services->dialogs.chooseFile(request);
    if (!path) return;
    // A name typed without an extension gets the presets' own.
    if (fileNamePart(*path).find('.') == std::string::npos) *path += ".cvt";
    m_saveFileName = *path;
    const std::string name = fileNamePart(*path);
    SavePresetFile(*path);
    FillPresetList();
    const QString shown = QString::fromStdString(name.substr(0, name.find('.')));
    {
        const QSignalBlocker quiet(PresetsCB);
        PresetsCB->setCurrentIndex(PresetsCB->findText(shown, Qt::MatchFixedString));
    }
    LoadPresetBtn->setEnabled(false);
}

}  // namespace corvane
