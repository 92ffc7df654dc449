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
#include "app/ui/AboutPage.h"
#include "app/ui/SplashFrm.h"
#include "settings/DriverSettings.h"
#include "settings/ui/DriverSettingsPages.h"
#include "widgets/Form.h"

namespace corvane {

namespace {

constexpr const char* kFirstRunQuestion =
    "Since you are running Corvane for the first time,\n\rit is suggested to save your default "
    "settings.\r\r"
    "Do you want to save your default settings now?";
constexpr const char* kNewDriversQuestion =
    "Since you have installed new drivers,\n\rit is suggested to save your default settings.\r\r"
    "Do you want to save your default settings now?";
constexpr const char* kSaveQuestion =
    "Some settings have not been changed.\r\rDo you want to save them?";

// The controls whose click marks the settings as changed.
constexpr const char* kChangeBoxes[] = {
    "D3DTab",          "OpenGLTab",     "EnableIcon",   "D3DWaitSync",    "AntiAlias",
    "PaletteBased",    "Dithering",     "EnableKatmai", "EnablePrimary",  "EnableSysMemBlts",
    "ChangeRGBSim",    "Convert32To16", "PageFlipping", "DisDitherAlpha", "OpenWaitVertSync",
    "KTXBufferRegion", "MultiTexture",  "HMDLUseAGP"};
constexpr const char* kChangeLists[] = {"ZBufferCB", "SubpixelCB", "ForceDepthBuffer",
                                        "ModulateFactor"};
constexpr const char* kGammaSliders[] = {"RedGamma", "GreenGamma", "BlueGamma"};
constexpr const char* kGammaLabels[] = {"RedGammaPosLbl", "GreenGammaPosLbl", "BlueGammaPosLbl"};

QWidget* page(QTabWidget* tabs, const QString& name, const QString& caption) {
    auto* widget = new QWidget;
    widget->setObjectName(name);
    tabs->addTab(widget, caption);
    return widget;
}

}  // namespace

TForm1::TForm1(const FormServices& services)
    : m_services(services),
      m_clockServices{services.port, services.display, services.dialogs,
                      [facts = &services.facts] { return facts->systemDirectory(); }} {
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
    GeneralTab = page(PageControl, "GeneralTab", "Desktop");
    Direct3DTab = page(PageControl, "Direct3DTab", "Direct3D");
    OpenGLPage = page(PageControl, "OpenGL", "OpenGL");
    AdvancedPage = page(PageControl, "Advanced", "Advanced");
    DVDTab = page(PageControl, "DVDTab", "DVD");
    RageInfo = page(PageControl, "RageInfo", "Rage 128 Info");
    SysInfoTab = page(PageControl, "SysInfoTab", "System Info");
    AboutTab = page(PageControl, "AboutTab", "About");

    buildDesktopPage(GeneralTab);
    buildDirect3DPage(Direct3DTab);
    buildOpenGLPage(OpenGLPage);

    QGroupBox* advanced =
        form::group(AdvancedPage, " Advanced Settings ", QRect(8, 8, 482, 210), "AdvancedGroup");
    buildAdvancedSettings(advanced);
    Clocks = new ClockPanel(advanced);
    Clocks->setGeometry(8, 52, 466, 152);
    QGroupBox* presets =
        form::group(AdvancedPage, " Presets ", QRect(8, 224, 482, 110), "GroupBox11");
    form::label(presets,
                "Select a preset from the list below.  If you want your own presets to be listed  "
                "here, just put "
                "them ",
                QPoint(14, 20), "PresetsText1");
    form::label(presets, "in the Presets folder.", QPoint(14, 36), "PresetsText2");
    TCheckLabel* presetsLabel =
        form::label(presets, "Available &presets:", QPoint(14, 66), "PresetsLbl");
    presetsLabel->setEnabled(false);
    PresetsCB = form::list(presets, "PresetsCB", {}, QRect(120, 62, 200, 21));
    presetsLabel->SetFocusControl(PresetsCB);
    LoadPresetBtn = form::button(presets, "LoadPresetBtn", "&Load", QRect(330, 61, 75, 23));
    LoadPresetBtn->setEnabled(false);

    DVDNotFoundLbl = form::label(DVDTab, "Not Found", QPoint(190, 150), "DVDNotFoundLbl");
    QFont notFound = form::windowFont();
    notFound.setPixelSize(24);
    notFound.setBold(true);
    DVDNotFoundLbl->setFont(notFound);
    QPalette red = DVDNotFoundLbl->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    DVDNotFoundLbl->setPalette(red);
    DVDNotFoundLbl->hide();
    form::group(DVDTab, " Audio Settings ", QRect(8, 8, 482, 170), "AudioGroup");
    form::group(DVDTab, " Video Settings ", QRect(8, 186, 482, 148), "VideoGroup");

    form::group(RageInfo, " General Informations ", QRect(8, 8, 482, 206), "GeneralInfoGroup");
    form::group(RageInfo, " Video In ", QRect(8, 222, 237, 112), "VideoInGroup");
    form::group(RageInfo, " Video Out ", QRect(253, 222, 237, 112), "VideoOutGroup");

    m_sysInfoPage = std::make_unique<SysInfoPage>(SysInfoTab);
    buildAboutPage(AboutTab, m_services.shell);

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
    QAction* save = file->addAction("&Save Preset");
    save->setObjectName("SavePresets1");
    file->addSeparator();
    QAction* exit = file->addAction("&Exit");
    exit->setObjectName("Exit1");
    connect(exit, &QAction::triggered, this, [this] { Exit1Click(); });

    SysInfoTimer = new QTimer(this);
    SysInfoTimer->setObjectName("SysInfoTimer");
    SysInfoTimer->setInterval(1000);
    connect(SysInfoTimer, &QTimer::timeout, this, [this] { SysInfoTimerTimer(); });

    FloatMinimizer1 = new TFloatMinimizer(this);
    FloatMinimizer1->setObjectName("FloatMinimizer1");
    m_dispatcher = new DialogCharDispatcher(this);

    for (QWidget* widget : findChildren<QWidget*>()) {
        if (!widget->objectName().isEmpty())
            m_controls[widget->objectName().toStdString()] = widget;
    }
    client->adjustSize();
    setFixedSize(sizeHint());
}

void TForm1::connectChangeHandlers() {
    for (const char* id : kChangeBoxes) {
        control<TOverCheckBox>(id)->OnClick = [this](TOverCheckBox* sender) {
            D3DWaitSyncClick(sender);
        };
    }
    for (const char* id : kChangeLists) {
        QComboBox* list = control<QComboBox>(id);
        connect(list, &QComboBox::activated, this, [this, list] { D3DWaitSyncClick(list); });
    }
    TTrackBar* detail = control<TTrackBar>("DetailLevel");
    connect(detail, &TTrackBar::OnChange, this, [this, detail] { D3DWaitSyncClick(detail); });
    for (const char* id : kGammaSliders) {
        connect(control<TTrackBar>(id), &TTrackBar::OnChange, this,
                [this](TTrackBar* s) { RedGammaChange(s); });
    }
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
    m_sysInfo =
        std::make_unique<TSysInfo>(m_services.registry, m_services.facts, m_services.dialogs);
    m_sysInfoPage->FillSystemInfoPage(*m_registry, *m_sysInfo);
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

    if (!ReadRegistry()) {
        showError(m_services.dialogs, kAtiKeyMissingMessage);
        reportSaveFailure("ReadRegistry", update);
        return;
    }
    m_startIcon = Checked("EnableIcon");
    m_startAGP = Checked("HMDLUseAGP");
    try {
        RegisterTrayIconEntry(*m_registry, m_services.programPath);
    } catch (const std::exception& e) {
        // A program path the registry file can't hold (see the README) costs the icon entries only.
        showError(m_services.dialogs, std::string("Error in RegisterTrayIconEntry: ") + e.what());
    }

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
    control<TOverCheckBox>("D3DTab")->hide();
    control<TCheckLabel>("Label36")->hide();
    control<TOverCheckBox>("OpenGLTab")->move(control<TOverCheckBox>("OpenGLTab")->x(), 60);
    control<TCheckLabel>("OpenGLTabLbl")->move(control<TCheckLabel>("OpenGLTabLbl")->x(), 63);
    control<TOverCheckBox>("EnableIcon")->move(control<TOverCheckBox>("EnableIcon")->x(), 90);
    control<TCheckLabel>("EnableIconLbl")->move(control<TCheckLabel>("EnableIconLbl")->x(), 93);
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
    // Yes saves the default settings as a preset; that command comes with the presets.
    askQuestion(m_services.dialogs, m_isFirstRun ? kFirstRunQuestion : kNewDriversQuestion);
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
    return corvane::ReadRegistry(*m_registry, *this, m_services.dialogs);
}

void TForm1::WriteRegistry() {
    corvane::WriteRegistry(*m_registry, *this, m_services.programPath, m_services.dialogs);
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
    reportSaveFailure("WriteRegistry", update);
    ApplyBtn->setEnabled(false);
    ReloadBtn->setEnabled(false);
}

void TForm1::ReloadBtnClick() {
    RegistryUpdate update(m_services.registry);
    ReadRegistry();
    reportSaveFailure("ReadRegistry", update);
    ApplyBtn->setEnabled(false);
    ReloadBtn->setEnabled(false);
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (ApplyBtn->isEnabled()) {
        RegistryUpdate update(m_services.registry);
        if (askQuestion(m_services.dialogs, kSaveQuestion)) {
            WriteRegistry();
            reportSaveFailure("WriteRegistry", update);
        } else {
            // The controls show the stored settings again, so that the restart test compares
            // stored states.
            ReadRegistry();
            reportSaveFailure("ReadRegistry", update);
        }
    }
    if (!m_sysInfo->isWindowsNt() && Checked("HMDLUseAGP") != m_startAGP) {
        RestartPrompt();
    } else if (Checked("EnableIcon") != m_startIcon) {
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
    control<TCheckLabel>("CheckLabel5")->setEnabled(false);
    control<TCheckLabel>("CheckLabel6")->setEnabled(false);
    if (current == Direct3DTab && tabVisible(Direct3DTab)) {
        SetGammaTicks();
    } else if (current == AdvancedPage) {
        control<TCheckLabel>("CheckLabel5")->setEnabled(true);
        control<TCheckLabel>("CheckLabel6")->setEnabled(true);
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
    if (Checked("ChangeRGBSim")) {
        for (const char* id : kGammaSliders)
            SetPosition(id, sender->Position());
    }
    for (int i = 0; i < 3; ++i) {
        SetLabelText(kGammaLabels[i], std::to_string(Position(kGammaSliders[i])) + "%");
    }
    markChanged();
}

void TForm1::SetGammaTicks() {
    for (int position = 60; position <= 140; position += 10) {
        for (const char* id : kGammaSliders)
            control<TTrackBar>(id)->SetTick(position);
    }
}

void TForm1::SysInfoTimerTimer() {
    m_sysInfoPage->SysInfoTimerTimer(*m_sysInfo);
}

// --- The settings logic's view of the controls --------------------------------------------------

QWidget* TForm1::widgetNamed(const std::string& id) const {
    const auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second.data();
}

bool TForm1::Checked(const std::string& id) const {
    const auto* box = qobject_cast<TOverCheckBox*>(widgetNamed(id));
    return box != nullptr && box->Checked();
}

void TForm1::SetChecked(const std::string& id, bool checked) {
    if (auto* box = qobject_cast<TOverCheckBox*>(widgetNamed(id))) box->SetChecked(checked);
}

bool TForm1::CheckEnabled(const std::string& id) const {
    const auto* box = qobject_cast<TOverCheckBox*>(widgetNamed(id));
    return box != nullptr && box->Enabled();
}

void TForm1::SetCheckEnabled(const std::string& id, bool enabled) {
    if (auto* box = qobject_cast<TOverCheckBox*>(widgetNamed(id))) box->SetEnabled(enabled);
}

int TForm1::ItemIndex(const std::string& id) const {
    const auto* list = qobject_cast<QComboBox*>(widgetNamed(id));
    return list != nullptr ? list->currentIndex() : -1;
}

void TForm1::SetItemIndex(const std::string& id, int index) {
    auto* list = qobject_cast<QComboBox*>(widgetNamed(id));
    if (list == nullptr) return;
    const QSignalBlocker quiet(list);
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

int TForm1::Position(const std::string& id) const {
    const auto* bar = qobject_cast<TTrackBar*>(widgetNamed(id));
    return bar != nullptr ? bar->Position() : 0;
}

void TForm1::SetPosition(const std::string& id, int position) {
    if (auto* bar = qobject_cast<TTrackBar*>(widgetNamed(id))) bar->SetPosition(position);
}

void TForm1::SetLabelText(const std::string& id, const std::string& text) {
    if (auto* label = qobject_cast<TCheckLabel*>(widgetNamed(id)))
        label->SetCaption(QString::fromStdString(text));
}

void TForm1::SetLabelHint(const std::string& id, const std::string& hint) {
    QWidget* target = widgetNamed(id);
    for (TCheckLabel* label : findChildren<TCheckLabel*>()) {
        if (target != nullptr &&
            (label->CheckControl() == target || label->FocusControl() == target)) {
            form::setHint(label, QString::fromStdString(hint));
        }
    }
}

bool TForm1::Direct3DVisible() const {
    return tabVisible(Direct3DTab);
}

}  // namespace corvane
