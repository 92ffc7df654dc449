#pragma once

#include <QComboBox>
#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "hardware/ClockSpeed.h"
#include "hardware/ui/ClockPanel.h"
#include "platform/Dialogs.h"
#include "platform/DisplaySettings.h"
#include "platform/PortDevice.h"
#include "platform/RegistryStore.h"
#include "platform/ShellOpener.h"
#include "platform/SystemFacts.h"
#include "platform/SystemRestart.h"
#include "platform/TickSource.h"
#include "settings/Registry.h"
#include "settings/SettingControls.h"
#include "sysinfo/SysInfo.h"
#include "sysinfo/ui/SysInfoPage.h"
#include "widgets/CheckLabel.h"
#include "widgets/DialogCharDispatcher.h"
#include "widgets/FloatMinimizer.h"
#include "widgets/OverCheckBox.h"
#include "widgets/TrackBar.h"

class QAction;

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
    std::string programPath;
    std::string argument1;  // the program's first argument, for "/firstrun"
};

// The main window: eight pages of settings and information, four buttons and a File menu. The
// settings count as changed exactly while Apply is enabled.
class TForm1 : public QMainWindow, private SettingControls {
    Q_OBJECT

public:
    explicit TForm1(const FormServices& services);
    ~TForm1() override;

    // False when the ATI driver's key vanished before the settings could be read: the window has
    // shown why and the program is to end.
    bool created() const { return m_created; }

    bool ReadRegistry();
    void WriteRegistry();
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

    // Runs what the first show runs (splash, first-run question) without showing the window, for
    // drawing it into a picture.
    void prepareFirstShow();

    // Controls by their names, for the flows and for tests.
    template <typename T>
    T* control(const QString& name) const {
        return findChild<T*>(name);
    }
    SettingControls& settingControls() { return *this; }
    QTabWidget* PageControl = nullptr;
    QPushButton* ReloadBtn = nullptr;
    QPushButton* OkBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QPushButton* ApplyBtn = nullptr;
    QComboBox* PresetsCB = nullptr;
    QPushButton* LoadPresetBtn = nullptr;
    ClockPanel* Clocks = nullptr;
    QTimer* SysInfoTimer = nullptr;
    QWidget* GeneralTab = nullptr;
    QWidget* Direct3DTab = nullptr;
    QWidget* OpenGLPage = nullptr;
    QWidget* AdvancedPage = nullptr;
    QWidget* DVDTab = nullptr;
    QWidget* RageInfo = nullptr;
    QWidget* SysInfoTab = nullptr;
    QWidget* AboutTab = nullptr;
    TCheckLabel* DVDNotFoundLbl = nullptr;
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
    // SettingControls over the window's controls.
    bool Checked(const std::string& id) const override;
    void SetChecked(const std::string& id, bool checked) override;
    bool CheckEnabled(const std::string& id) const override;
    void SetCheckEnabled(const std::string& id, bool enabled) override;
    int ItemIndex(const std::string& id) const override;
    void SetItemIndex(const std::string& id, int index) override;
    int Position(const std::string& id) const override;
    void SetPosition(const std::string& id, int position) override;
    void SetLabelText(const std::string& id, const std::string& text) override;
    void SetLabelHint(const std::string& id, const std::string& hint) override;
    bool Direct3DVisible() const override;

    void buildWindow();
    void connectChangeHandlers();
    void FormCreate();
    void FormShow();
    void splash();
    void applyProgramKey();
    void applyWindowsNtLayout();
    void markChanged();
    void reportSaveFailure(const char* routine, RegistryUpdate& update);
    bool tabVisible(QWidget* page) const;
    QWidget* widgetNamed(const std::string& id) const;

    FormServices m_services;
    std::unique_ptr<TRegistry> m_registry;
    std::unique_ptr<TSysInfo> m_sysInfo;
    std::unique_ptr<SysInfoPage> m_sysInfoPage;
    ClockServices m_clockServices;
    DialogCharDispatcher* m_dispatcher = nullptr;
    TFloatMinimizer* FloatMinimizer1 = nullptr;
    std::map<std::string, QPointer<QWidget>> m_controls;

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
