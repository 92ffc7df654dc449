#include "hardware/ui/ClockPanel.h"

#include "settings/RegistryKeys.h"
#include "widgets/Form.h"

namespace corvane {

ClockPanel::ClockPanel(QWidget* parent) : QWidget(parent) {
    setObjectName("ClockPanel");
    const form::CheckRow startup = form::checkRow(
        this, "StartupSettings", "&Load clock settings on startup.",
        "If you check this, the clock settings will be loaded on startup.", 4, 4, "CheckLabel5");
    const form::CheckRow vr = form::checkRow(
        this, "Rage128VR", "I use a Rage 128 &VR",
        "Check this if you use a Rage 128 VR (Expert 99) based card.", 244, 4, "CheckLabel6");
    startup.label->setEnabled(false);
    vr.label->setEnabled(false);
    StartupSettings = startup.box;
    CheckLabel5 = startup.label;
    Rage128VR = vr.box;
    CheckLabel6 = vr.label;

    form::label(this, "Core:", QPoint(6, 42), "CoreCaptionLbl");
    ChipTB = form::slider(this, "ChipTB", 75, 125, QRect(58, 36, 250, 30));
    ChipTB->SetFrequency(5);
    ChipLbl = form::label(this, "?? Mhz", QPoint(316, 42), "ChipLbl");
    form::label(this, "Memory:", QPoint(6, 94), "MemoryCaptionLbl");
    MemoryTB = form::slider(this, "MemoryTB", 75, 150, QRect(58, 88, 250, 30));
    MemoryTB->SetFrequency(5);
    MemLbl = form::label(this, "?? Mhz", QPoint(316, 94), "MemLbl");
    // Scale captions under the sliders' marks.
    const auto scale = [this](int value, int low, int high, int top) {
        const int x = 58 + 8 + (250 - 16) * (value - low) / (high - low);
        TCheckLabel* mark = form::label(this, QString::number(value), QPoint(0, top));
        mark->move(x - mark->width() / 2, top);
    };
    for (int v : {75, 100, 125})
        scale(v, 75, 125, 66);
    for (int v : {75, 100, 125, 150})
        scale(v, 75, 150, 118);
    SetClockBtn = form::button(this, "SetClockBtn", "&Set Clock", QRect(372, 62, 75, 23));
    SetClockBtn->setEnabled(false);

    connect(ChipTB, &TTrackBar::OnChange, this, [this] { ChipTBChange(); });
    connect(MemoryTB, &TTrackBar::OnChange, this, [this] { MemoryTBChange(); });
    connect(SetClockBtn, &QPushButton::clicked, this, [this] { SetClockBtnClick(); });
    Rage128VR->OnClick = [this](TOverCheckBox*) { Rage128VRClick(); };
    StartupSettings->OnClick = [this](TOverCheckBox*) { StartupSettingsClick(); };
}

void ClockPanel::attach(TRegistry& registry, ClockServices& hardware, Dialogs& dialogs,
                        std::function<void()> markChanged) {
    m_registry = &registry;
    m_hardware = &hardware;
    m_dialogs = &dialogs;
    m_markChanged = std::move(markChanged);
}

void ClockPanel::storeClocks(std::int32_t core, std::int32_t memory) {
    if (!m_registry->OpenKey(kProgramKey, true)) return;
    // Clocks read back as stored leave nothing to save (a read-only registry stays quiet).
    if (ReadIntegerDef(*m_registry, kCoreClkValue, -1) != core)
        m_registry->WriteInteger(kCoreClkValue, core);
    if (ReadIntegerDef(*m_registry, kMemClkValue, -1) != memory)
        m_registry->WriteInteger(kMemClkValue, memory);
}

void ClockPanel::ReadClocks() {
    // Without a chip there is nothing to read, and a failed read must not become stored clocks.
    if (m_ioBase == 0) return;
    std::int32_t core = 0;
    std::int32_t memory = 0;
    if (!SetClockSpeed(*m_hardware, m_ioBase, core, memory)) return;
    ChipTB->SetPosition(core);
    ChipLbl->SetCaption(mhz(core));
    // A Rage 128 VR's chip runs at half the memory clock its user sees.
    const std::int32_t shown = Rage128VR->Checked() ? memory * 2 : memory;
    MemoryTB->SetPosition(shown);
    MemLbl->SetCaption(mhz(MemoryTB->Position()));
    m_coreClock = core;
    m_memClock = shown;
    storeClocks(core, shown);
}

void ClockPanel::ChipTBChange() {
    ChipLbl->SetCaption(mhz(ChipTB->Position()));
    if (ChipTB->Position() != m_coreClock) SetClockBtn->setEnabled(true);
}

void ClockPanel::MemoryTBChange() {
    MemLbl->SetCaption(mhz(MemoryTB->Position()));
    if (MemoryTB->Position() != m_memClock) SetClockBtn->setEnabled(true);
}

void ClockPanel::commit(RegistryUpdate& update) {
    try {
        update.commit();
    } catch (const std::exception& e) {
        showError(*m_dialogs, e.what());
    }
}

void ClockPanel::SetClockBtnClick() {
    // The clocks stored here are saved together.
    RegistryUpdate update(m_registry->Store());
    if (!askWarning(*m_dialogs, kOverclockWarning)) {
        ChipTB->SetPosition(m_coreClock);
        MemoryTB->SetPosition(m_memClock);
        SetClockBtn->setEnabled(false);
        ChipLbl->SetCaption(mhz(ChipTB->Position()));
        MemLbl->SetCaption(mhz(MemoryTB->Position()));
        return;
    }
    // Clocks programmed but not stored would be undone at the next start.
    if (m_hardware->saveProblem) {
        if (const std::string problem = m_hardware->saveProblem(); !problem.empty()) {
            showError(*m_dialogs, "The clocks were not set: " + problem + ".");
            return;
        }
    }
    std::int32_t core = ChipTB->Position();
    const int position = MemoryTB->Position();
    std::int32_t passed = Rage128VR->Checked() ? position / 2 : position;
    const std::int32_t shown = Rage128VR->Checked() ? passed * 2 : position;
    if (SetClockSpeed(*m_hardware, m_ioBase, core, passed)) {
        ChipTB->SetPosition(core);
        ChipLbl->SetCaption(mhz(core));
        MemoryTB->SetPosition(shown);
        MemLbl->SetCaption(mhz(shown));
        m_coreClock = core;
        m_memClock = shown;
        storeClocks(core, shown);
    }
    SetClockBtn->setEnabled(false);
    commit(update);
}

void ClockPanel::Rage128VRClick() {
    RegistryUpdate update(m_registry->Store());
    // Works on the state as found: after a mouse click the box flips once this has returned.
    if (!m_registry->OpenKey(kProgramKey, true)) return;
    Rage128VR->SetChecked(!Rage128VR->Checked());
    ReadClocks();
    m_registry->WriteInteger(kRage128VRValue, Rage128VR->Checked() ? 1 : 0);
    Rage128VR->SetChecked(!Rage128VR->Checked());
    commit(update);
}

void ClockPanel::StartupSettingsClick() {
    if (!StartupSettings->Checked() && !askWarning(*m_dialogs, kStartupWarning)) {
        // Flipped now, so that the box's own flip brings it back to unchecked.
        StartupSettings->SetChecked(true);
        return;
    }
    if (m_markChanged) m_markChanged();
}

}  // namespace corvane
