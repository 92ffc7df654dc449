#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <cstdint>
#include <memory>
#include <string>

#include "app/ui/AboutPage.h"
#include "hardware/ClockSpeed.h"
#include "hardware/ui/ClockPanel.h"
#include "hardware/ui/Rage128InfoPage.h"
#include "platform/Dialogs.h"
#include "platform/DisplaySettings.h"
#include "platform/PortDevice.h"
#include "platform/PrivateProfile.h"
#include "platform/RegistryStore.h"
#include "platform/ShellOpener.h"
#include "platform/SystemFacts.h"
#include "platform/SystemRestart.h"
#include "platform/TickSource.h"
#include "platform/VersionResources.h"
#include "settings/Registry.h"
#include "settings/ui/AdvancedPage.h"
#include "settings/ui/DesktopPage.h"
#include "settings/ui/Direct3DPage.h"
#include "settings/ui/DvdPage.h"
#include "settings/ui/OpenGLPage.h"
#include "settings/ui/SettingWidgets.h"
#include "sysinfo/SysInfo.h"
#include "sysinfo/ui/SysInfoPage.h"
#include "widgets/DialogCharDispatcher.h"
#include "widgets/FloatMinimizer.h"

namespace corvane {

// What the main window works with.
struct FormServices {
    RegistryStore& registry;
    SystemFacts& facts;
    PortDevice& port;
    DisplaySettings& display;
    SystemRestart& restart;
    ShellOpener& shell;
    Dialogs& dialogs;
    TickSource& ticks;
    PrivateProfile& profile;     // INI files (presets)
    VersionResources& versions;  // the driver files' versions
    std::string programPath;
    std::string argument1;     // the program's first argument, for "/firstrun"
    std::string presetFolder;  // where the preset list comes from
    // Set when the clocks are written by a privileged helper rather than through port.
    PrivilegedClockWrite privilegedWrite = nullptr;
    // Why the registry could not be saved now, or the empty text; asked before the chip is set.
    std::function<std::string()> registrySaveProblem = nullptr;
};

// The main window: eight pages of settings and information, four buttons and a File menu. Each
// page is a class of its subsystem that owns its controls; the window creates them in order,
// runs the flows that span pages (creation, Apply, Reload, closing, page changes) and keeps the
// settings-changed state, which is exactly whether Apply is enabled.
class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    explicit TForm1(const FormServices& services);
    ~TForm1() override;

    // False when the ATI driver's key vanished before the settings could be read: the window has
    // shown why and the program is to end.
    bool created() const { return m_created; }

    bool ReadRegistry();
    void WriteRegistry();
    void ReadDVDRegistry();
    void ReadChipIds();
    void ChipIdCBChange();
    void WriteDVDRegistry();
    void ApplyBtnClick();
    void ReloadBtnClick();
    void OkBtnClick() { close(); }
    void CancelBtnClick() { close(); }
    void Exit1Click() { close(); }
    void D3DWaitSyncClick(QObject* sender);
    void PageControlChange();
    void SetCheckLabelsEnabled(QWidget* page, bool state);
    void RedGammaChange(TTrackBar* sender);
    void SetGammaTicks();
    void SysInfoTimerTimer();
    void RestartPrompt();
    void FillPresetList();
    void LoadPresets1Click();
    void SavePresets1Click();
    void SaveDefaultSettings();
    void LoadPresetBtnClick();
    void PresetsCBChange();
    void ApplyPresetFile(const std::string& path);
    void SavePresetFile(const std::string& path);

    // Runs what the first show runs (splash, first-run question) without showing the window, for
    // drawing it into a picture.
    void prepareFirstShow();

    // A control by its name, for tests.
    template <typename T>
    T* control(const QString& name) const {
        return findChild<T*>(name);
    }
    SettingWidgets& settingControls() { return m_settings; }

    QTabWidget* PageControl = nullptr;
    DesktopPage* GeneralTab = nullptr;
    Direct3DPage* Direct3DTab = nullptr;
    OpenGLPage* OpenGL = nullptr;
    AdvancedPage* Advanced = nullptr;
    DvdPage* DVDTab = nullptr;
    Rage128InfoPage* RageInfo = nullptr;
    SysInfoPage* SysInfoTab = nullptr;
    AboutPage* AboutTab = nullptr;
    QPushButton* ReloadBtn = nullptr;
    QPushButton* OkBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QPushButton* ApplyBtn = nullptr;
    ClockPanel* Clocks = nullptr;
    QComboBox* PresetsCB = nullptr;
    QPushButton* LoadPresetBtn = nullptr;
    TCheckLabel* DVDNotFoundLbl = nullptr;
    QTimer* SysInfoTimer = nullptr;

    TSysInfo& SysInfo() { return *m_sysInfo; }
    bool StartAGP() const { return m_startAGP; }
    bool StartIcon() const { return m_startIcon; }
    bool IsFirstRun() const { return m_isFirstRun; }
    bool HasNewDrivers() const { return m_hasNewDrivers; }
    std::uint16_t IOBase() const { return m_ioBase; }
    int SplashDone() const { return m_splashDone; }
    const std::string& SysDir() const { return m_sysDir; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildWindow();
    QWidget* addPage(QWidget* page, const QString& caption);
    void buildButtonsAndMenu(QWidget* client);
    void connectChangeHandlers();
    void FormCreate();
    void FormShow();
    void splash();
    void applyProgramKey();
    void applyWindowsNtLayout();
    // Creation steps: the S/PDIF list's form from the player engine's version, and the driver
    // files' versions on the Rage 128 Info page.
    void chooseSpdifListForm();
    void showDriverVersions();
    void markChanged();
    void reportSaveFailure(const char* routine, RegistryUpdate& update);
    bool tabVisible(QWidget* page) const;

    FormServices m_services;
    SettingWidgets m_settings;
    std::unique_ptr<TRegistry> m_registry;
    std::unique_ptr<TSysInfo> m_sysInfo;
    ClockServices m_clockServices;
    DialogCharDispatcher* m_dispatcher = nullptr;
    TFloatMinimizer* FloatMinimizer1 = nullptr;

    int m_splashDone = 0;
    std::string m_sysDir;
    bool m_startAGP = false;
    bool m_startIcon = false;
    QPointer<QWidget> m_prevPage;
    std::uint16_t m_ioBase = 0;
    bool m_isFirstRun = true;
    bool m_hasNewDrivers = true;
    bool m_created = false;
    bool m_shownOnce = false;
};

}  // namespace corvane
