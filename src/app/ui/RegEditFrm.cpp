#include "app/ui/RegEditFrm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>
#include <QSignalBlocker>

#include "app/CommandLine.h"
#include "app/ProgramKey.h"
#include "app/RegistryRoutines.h"
#include "app/Restart.h"
#include "app/SplashTiming.h"
#include "app/ui/SplashFrm.h"
#include "hardware/FileVersion.h"
#include "settings/DriverSettings.h"
#include "settings/DriverSettingsTable.h"
#include "settings/DvdSettings.h"
#include "settings/DvdSettingsTable.h"
#include "widgets/Form.h"

namespace corvane {

namespace {

constexpr const char* kFirstRunQuestion =
    "Since you are running Corvane for the first time,\n\rit is suggested to save your default settings.\r\r"
    "Do you want to save your default settings now?";
constexpr const char* kNewDriversQuestion =
    "Since you have installed new drivers,\n\rit is suggested to save your default settings.\r\r"
    "Do you want to save your default settings now?";
constexpr const char* kSaveQuestion =
    "Some settings have not been changed.\r\rDo you want to save them?";

}  // namespace

TForm1::TForm1(const FormServices& services)
    : m_services(services),
      m_settings([this] { return tabVisible(Direct3DTab); }),
      m_clockServices{services.port,
                      services.display,
                      services.dialogs,
                      [facts = &services.facts] { return facts->systemDirectory(); },
                      services.privilegedWrite,
                      services.registrySaveProblem} {
    buildWindow();
    connectChangeHandlers();
    FormCreate();
}

TForm1::~TForm1() = default;

// --- Building -----------------------------------------------------------------------------------

void TForm1::buildWindow() {
    setObjectName("Form1");
    setFont(form::windowFont());
    setWindowTitle("RegEditFrm");
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    auto* client = new QWidget(this);
    client->setObjectName("Client");
    client->setFixedSize(521, 406);
    setCentralWidget(client);

    PageControl = new QTabWidget(client);
    PageControl->setObjectName("PageControl");
    PageControl->setGeometry(7, 0, 506, 368);
    // The pages in tab order, each owning its controls.
    GeneralTab = new DesktopPage(m_settings, PageControl);
    addPage(GeneralTab, "Desktop");
    Direct3DTab = new Direct3DPage(m_settings, PageControl);
    addPage(Direct3DTab, "Direct3D");
    OpenGL = new OpenGLPage(m_settings, PageControl);
    addPage(OpenGL, "OpenGL");
    Advanced = new AdvancedPage(m_settings, PageControl);
    addPage(Advanced, "Advanced");
    DVDTab = new DvdPage(m_settings, PageControl);
    addPage(DVDTab, "DVD");
    RageInfo = new Rage128InfoPage(PageControl);
    addPage(RageInfo, "Rage 128 Info");
    SysInfoTab = new SysInfoPage(PageControl);
    addPage(SysInfoTab, "System Info");
    AboutTab = new AboutPage(m_services.shell, PageControl);
    addPage(AboutTab, "About");
    Clocks = Advanced->Clocks;
    PresetsCB = Advanced->Presets->PresetsCB;
    LoadPresetBtn = Advanced->Presets->LoadPresetBtn;
    DVDNotFoundLbl = DVDTab->DVDNotFoundLbl;

    buildButtonsAndMenu(client);

    SysInfoTimer = new QTimer(this);
    SysInfoTimer->setObjectName("SysInfoTimer");
    SysInfoTimer->setInterval(1000);
    connect(SysInfoTimer, &QTimer::timeout, this, [this] { SysInfoTimerTimer(); });

    FloatMinimizer1 = new TFloatMinimizer(this);
    FloatMinimizer1->setObjectName("FloatMinimizer1");
    m_dispatcher = new DialogCharDispatcher(this);
    client->adjustSize();
    setFixedSize(sizeHint());
}

QWidget* TForm1::addPage(QWidget* page, const QString& caption) {
    PageControl->addTab(page, caption);
    return page;
}

void TForm1::buildButtonsAndMenu(QWidget* client) {
    ReloadBtn = form::button(client, "ReloadBtn", "&Reload", QRect(7, 377, 75, 22));
    OkBtn = form::button(client, "OkBtn", "OK", QRect(278, 376, 75, 23));
    CancelBtn = form::button(client, "CancelBtn", "Cancel", QRect(358, 376, 75, 23));
    ApplyBtn = form::button(client, "ApplyBtn", "&Apply", QRect(438, 376, 75, 23));
    OkBtn->setDefault(true);
    ReloadBtn->setEnabled(false);
    ApplyBtn->setEnabled(false);

    QMenu* file = menuBar()->addMenu("&File");
    file->setObjectName("File1");
    QAction* load = file->addAction("&Load Preset");
    load->setObjectName("LoadPresets1");
    connect(load, &QAction::triggered, this, [this] { LoadPresets1Click(); });
    QAction* save = file->addAction("&Save Preset");
    save->setObjectName("SavePresets1");
    connect(save, &QAction::triggered, this, [this] { SavePresets1Click(); });
    file->addSeparator();
    QAction* exit = file->addAction("&Exit");
    exit->setObjectName("Exit1");
    connect(exit, &QAction::triggered, this, [this] { Exit1Click(); });
}

void TForm1::connectChangeHandlers() {
    // Every setting of the tables marks the settings as changed when the user changes it; the
    // gamma sliders do so through their own handler.
    for (const Setting* s : windowSettings()) {
        if (s->encoding == SettingEncoding::GammaChannel) {
            m_settings.onUserChange(s->id, [this](QObject* sender) {
                RedGammaChange(static_cast<TTrackBar*>(sender));
            });
        } else {
            m_settings.onUserChange(s->id, [this](QObject* sender) { D3DWaitSyncClick(sender); });
        }
    }
    m_settings.onUserChange("ChangeRGBSim", [this](QObject* sender) { D3DWaitSyncClick(sender); });
    connect(RageInfo->ChipIdCB, &QComboBox::activated, this, [this] { ChipIdCBChange(); });
    connect(PageControl, &QTabWidget::currentChanged, this, [this] { PageControlChange(); });
    connect(ApplyBtn, &QPushButton::clicked, this, [this] { ApplyBtnClick(); });
    connect(ReloadBtn, &QPushButton::clicked, this, [this] { ReloadBtnClick(); });
    connect(OkBtn, &QPushButton::clicked, this, [this] { OkBtnClick(); });
    connect(CancelBtn, &QPushButton::clicked, this, [this] { CancelBtnClick(); });
}

// --- Creation and first show --------------------------------------------------------------------

void TForm1::FormCreate() {
    // Everything creation writes is saved in one go.
    RegistryUpdate update(m_services.registry);
    m_registry = std::make_unique<TRegistry>(m_services.registry);
    m_registry->SetRootKey(win::kHKeyLocalMachine);
    m_startAGP = false;
    m_startIcon = false;
    // The system folder is held whole, whatever its length.
    m_sysDir = m_services.facts.systemDirectory();
    Advanced->Presets->attach(
        PresetServices{m_settings, m_services.profile, m_services.dialogs, m_services.presetFolder,
                       [this] { return m_sysInfo->isWindowsNt(); }, [this] { markChanged(); },
                       [this] { Direct3DTab->showGammaPercentages(); }});
    Advanced->Presets->preparePresetFolder();
    m_sysInfo =
        std::make_unique<TSysInfo>(m_services.registry, m_services.facts, m_services.dialogs);
    SysInfoTab->FillSystemInfoPage(*m_registry, *m_sysInfo);
    if (m_sysInfo->isWindowsNt()) applyWindowsNtLayout();

    m_isFirstRun = true;
    m_hasNewDrivers = true;
    m_ioBase = 0;
    Clocks->attach(*m_registry, m_clockServices, m_services.dialogs, [this] { markChanged(); });
    applyProgramKey();
    Clocks->setIOBase(m_ioBase);
    if (m_ioBase == 0 || m_sysInfo->isWindowsNt()) {
        Clocks->hide();
    } else {
        Clocks->show();
        Clocks->ReadClocks();
    }

    if (tabVisible(DVDTab)) chooseSpdifListForm();
    showDriverVersions();

    if (!ReadRegistry()) {
        showError(m_services.dialogs, kAtiKeyMissingMessage);
        reportSaveFailure("ReadRegistry", update);
        return;
    }
    m_startIcon = m_settings.checked("EnableIcon");
    m_startAGP = m_settings.checked("HMDLUseAGP");
    try {
        RegisterTrayIconEntry(*m_registry, m_services.programPath);
    } catch (const std::exception& e) {
        // A program path the registry file can't hold (see the README) costs the icon entries only.
        showError(m_services.dialogs, std::string("Error in RegisterTrayIconEntry: ") + e.what());
    }
    ReadChipIds();
    if (tabVisible(DVDTab)) ReadDVDRegistry();

    {
        const QSignalBlocker quiet(PageControl);
        PageControl->setCurrentWidget(GeneralTab);
    }
    m_prevPage = GeneralTab;
    if (PresetsCB->count() > 0) PresetsCB->setCurrentIndex(0);
    SysInfoTimer->start();
    reportSaveFailure("ReadRegistry", update);
    m_created = true;
}

void TForm1::applyWindowsNtLayout() {
    PageControl->setTabVisible(PageControl->indexOf(Direct3DTab), false);
    PageControl->setTabVisible(PageControl->indexOf(DVDTab), false);
    GeneralTab->applyWindowsNtLayout();
    Clocks->hide();
}

void TForm1::applyProgramKey() {
    const ProgramKeyAtCreation key = readProgramKeyAtCreation(*m_registry);
    if (!key.opened) return;
    m_isFirstRun = key.isFirstRun;
    Clocks->StartupSettings->SetChecked(key.loadOnStartup);
    m_ioBase = key.ioBase;
    Clocks->Rage128VR->SetChecked(key.rage128VR);
    if (key.coreClock != 0) {
        Clocks->ChipTB->SetPosition(key.coreClock);
        Clocks->ChipLbl->SetCaption(QString::number(key.coreClock) + " Mhz");
    }
    if (key.memClock != 0) {
        Clocks->MemoryTB->SetPosition(key.memClock);
        Clocks->MemLbl->SetCaption(QString::number(key.memClock) + " Mhz");
    }
    m_hasNewDrivers = key.hasNewDrivers;
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_shownOnce) return;
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    prepareFirstShow();
}

void TForm1::prepareFirstShow() {
    if (m_shownOnce) return;
    m_shownOnce = true;
    FormShow();
}

void TForm1::FormShow() {
    if (m_splashDone == 0) splash();
    if (asciiLower(m_services.argument1) == "/firstrun") m_isFirstRun = true;
    if (!m_isFirstRun && !m_hasNewDrivers) return;
    if (askQuestion(m_services.dialogs, m_isFirstRun ? kFirstRunQuestion : kNewDriversQuestion))
        SaveDefaultSettings();
}

void TForm1::splash() {
    auto* splashForm = new TSplashFrm(this);
    splashForm->show();
    splashForm->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    // It may sleep: nothing of the program needs to run while the splash is up.
    m_services.ticks.sleep(splashWaitMilliseconds(m_services.ticks.tickCount()));
    m_splashDone = 1;
    splashForm->close();
}

// --- Settings -----------------------------------------------------------------------------------

bool TForm1::ReadRegistry() {
    return corvane::ReadRegistry(*m_registry, m_settings, m_services.dialogs);
}

void TForm1::WriteRegistry() {
    corvane::WriteRegistry(*m_registry, m_settings, m_services.programPath, m_services.dialogs);
}

void TForm1::FillPresetList() {
    Advanced->Presets->FillPresetList();
}

void TForm1::LoadPresets1Click() {
    Advanced->Presets->LoadPresets1Click();
}

void TForm1::SavePresets1Click() {
    Advanced->Presets->SavePresets1Click();
}

void TForm1::SaveDefaultSettings() {
    Advanced->Presets->SaveDefaultSettings();
}

void TForm1::LoadPresetBtnClick() {
    Advanced->Presets->LoadPresetBtnClick();
}

void TForm1::PresetsCBChange() {
    Advanced->Presets->PresetsCBChange();
}

void TForm1::ApplyPresetFile(const std::string& path) {
    Advanced->Presets->ApplyPresetFile(path);
}

void TForm1::SavePresetFile(const std::string& path) {
    Advanced->Presets->SavePresetFile(path);
}

void TForm1::chooseSpdifListForm() {
    ProductVersion engine{};
    if (GetFileVersion(m_services.versions, m_services.dialogs, m_sysDir + kDvdEngineFile,
                       engine) &&
        spdifHasFiveItems(engine[2], engine[3])) {
        DVDTab->useFiveItemSpdifList();
    }
}

void TForm1::showDriverVersions() {
    ProductVersion version{};
    if (tabVisible(Direct3DTab)) {
        const bool found = GetFileVersion(m_services.versions, m_services.dialogs,
                                          m_sysDir + kDirect3DDriverFile, version);
        RageInfo->showVersion("D3DVersionLbl", found, version);
    }
    const char* openGL = m_sysInfo->isWindowsNt() ? kOpenGLDriverFileNt : kOpenGLDriverFile9x;
    const bool found =
        GetFileVersion(m_services.versions, m_services.dialogs, m_sysDir + openGL, version);
    RageInfo->showVersion("OpenGLVersionLbl", found, version);
}

void TForm1::ReadChipIds() {
    RageInfo->ReadChipIds(*m_registry, m_services.dialogs);
}

void TForm1::ChipIdCBChange() {
    RageInfo->ChipIdCBChange(*m_registry, m_services.dialogs);
}

void TForm1::ReadDVDRegistry() {
    if (!corvane::ReadDVDRegistry(*m_registry, m_settings, m_services.dialogs))
        DVDTab->showNotFound();
}

void TForm1::WriteDVDRegistry() {
    if (DVDTab->notFound()) return;
    corvane::WriteDVDRegistry(*m_registry, m_settings, m_services.dialogs);
}

void TForm1::reportSaveFailure(const char* routine, RegistryUpdate& update) {
    try {
        update.commit();
    } catch (const std::exception& e) {
        showError(m_services.dialogs, std::string("Error in ") + routine + ": " + e.what());
    }
}

void TForm1::markChanged() {
    ApplyBtn->setEnabled(true);
    ReloadBtn->setEnabled(true);
    if (PresetsCB->count() > 0) LoadPresetBtn->setEnabled(true);
}

void TForm1::D3DWaitSyncClick(QObject* sender) {
    // Clicking a disabled box changes nothing.
    if (auto* box = qobject_cast<TOverCheckBox*>(sender); box != nullptr && !box->Enabled()) return;
    markChanged();
}

void TForm1::ApplyBtnClick() {
    RegistryUpdate update(m_services.registry);
    WriteRegistry();
    if (tabVisible(DVDTab)) WriteDVDRegistry();
    reportSaveFailure("WriteRegistry", update);
    ApplyBtn->setEnabled(false);
    ReloadBtn->setEnabled(false);
}

void TForm1::ReloadBtnClick() {
    RegistryUpdate update(m_services.registry);
    ReadRegistry();
    if (tabVisible(DVDTab)) ReadDVDRegistry();
    reportSaveFailure("ReadRegistry", update);
    ApplyBtn->setEnabled(false);
    ReloadBtn->setEnabled(false);
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (ApplyBtn->isEnabled()) {
        RegistryUpdate update(m_services.registry);
        if (askQuestion(m_services.dialogs, kSaveQuestion)) {
            WriteRegistry();
            if (tabVisible(DVDTab)) WriteDVDRegistry();
            reportSaveFailure("WriteRegistry", update);
        } else {
            // The controls show the stored settings again, so that the restart test compares
            // stored states.
            ReadRegistry();
            reportSaveFailure("ReadRegistry", update);
        }
    }
    if (!m_sysInfo->isWindowsNt() && m_settings.checked("HMDLUseAGP") != m_startAGP) {
        RestartPrompt();
    } else if (m_settings.checked("EnableIcon") != m_startIcon) {
        RestartPrompt();
    }
    SysInfoTimer->stop();
    event->accept();
}

void TForm1::RestartPrompt() {
    corvane::RestartPrompt(m_services.restart, m_sysInfo->isWindowsNt(), m_services.dialogs);
}

void TForm1::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        CancelBtnClick();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto* focused = qobject_cast<QPushButton*>(focusWidget())) {
            focused->click();
        } else {
            OkBtnClick();
        }
        return;
    }
    QMainWindow::keyPressEvent(event);
}

// --- Pages --------------------------------------------------------------------------------------

bool TForm1::tabVisible(QWidget* page) const {
    return PageControl->isTabVisible(PageControl->indexOf(page));
}

void TForm1::PageControlChange() {
    QWidget* current = PageControl->currentWidget();
    SetCheckLabelsEnabled(m_prevPage, false);
    SetCheckLabelsEnabled(current, true);
    SysInfoTimer->stop();
    Clocks->CheckLabel5->setEnabled(false);
    Clocks->CheckLabel6->setEnabled(false);
    if (current == Direct3DTab && tabVisible(Direct3DTab)) {
        SetGammaTicks();
    } else if (current == Advanced && !Clocks->isHidden()) {
        // A hidden panel's labels stay dead: their accelerators would read the chip on Windows NT
        // or store clocks read from no chip at all.
        Clocks->CheckLabel5->setEnabled(true);
        Clocks->CheckLabel6->setEnabled(true);
    } else if (current == SysInfoTab) {
        SysInfoTimer->start();
    }
    m_prevPage = current;
}

void TForm1::SetCheckLabelsEnabled(QWidget* pageWidget, bool state) {
    if (pageWidget == nullptr) return;
    // Only labels placed directly in a group box of the page; the clock panel's are handled by
    // name.
    for (QGroupBox* group : pageWidget->findChildren<QGroupBox*>(Qt::FindDirectChildrenOnly)) {
        for (TCheckLabel* label : group->findChildren<TCheckLabel*>(Qt::FindDirectChildrenOnly)) {
            label->setEnabled(state);
        }
    }
}

void TForm1::RedGammaChange(TTrackBar* sender) {
    Direct3DTab->RedGammaChange(sender);
    markChanged();
}

void TForm1::SetGammaTicks() {
    Direct3DTab->SetGammaTicks();
}

void TForm1::SysInfoTimerTimer() {
    SysInfoTab->SysInfoTimerTimer(*m_sysInfo);
}

}  // namespace corvane
