#pragma once

#include <QPushButton>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "hardware/ClockSpeed.h"
#include "platform/Dialogs.h"
#include "settings/Registry.h"
#include "widgets/CheckLabel.h"
#include "widgets/OverCheckBox.h"
#include "widgets/TrackBar.h"

namespace corvane {

inline constexpr const char* kOverclockWarning =
    "Overclocking your Rage 128 will void your warranty and may cause damage, graphics corruption and instability.\n\r"
    " We assume no responsibility for any damages from the use of this feature or this program.\n\r"
    "We suggest to use some additional cooling if you want to use overclocking.\n\r"
    "Are you sure you want to overclock?";
inline constexpr const char* kStartupWarning =
    "Check this box if you are sure that your system setup can handle the speed you have your card set at,\n\r"
    "prior to enabling this option, test for stability first.  Are you sure you want to enable it?";

// The clock panel of the Advanced page: the chip's clocks on two sliders, Set Clock, the Rage 128
// VR box and the start-up box. Clock changes act at once, outside the window's Apply.
class ClockPanel : public QWidget {
    Q_OBJECT

public:
    explicit ClockPanel(QWidget* parent);

    // What the panel works with; markChanged marks the window's settings as changed.
    void attach(TRegistry& registry, ClockServices& hardware, Dialogs& dialogs,
                std::function<void()> markChanged);
    void setIOBase(std::uint16_t ioBase) { m_ioBase = ioBase; }

    void ReadClocks();
    void ChipTBChange();
    void MemoryTBChange();
    void SetClockBtnClick();
    void Rage128VRClick();
    void StartupSettingsClick();

    // The clocks last read from or set in the chip; the memory clock as the slider shows it.
    std::int32_t CoreClock() const { return m_coreClock; }
    std::int32_t MemClock() const { return m_memClock; }

    TOverCheckBox* StartupSettings;
    TCheckLabel* CheckLabel5;  // the caption of StartupSettings
    TOverCheckBox* Rage128VR;
    TCheckLabel* CheckLabel6;  // the caption of Rage128VR
    TTrackBar* ChipTB;
    TTrackBar* MemoryTB;
    TCheckLabel* ChipLbl;
    TCheckLabel* MemLbl;
    QPushButton* SetClockBtn;

private:
    void storeClocks(std::int32_t core, std::int32_t memory);
    void commit(RegistryUpdate& update);
    static QString mhz(int value) { return QString::number(value) + " Mhz"; }

    TRegistry* m_registry = nullptr;
    ClockServices* m_hardware = nullptr;
    Dialogs* m_dialogs = nullptr;
    std::function<void()> m_markChanged;
    std::uint16_t m_ioBase = 0;
    std::int32_t m_coreClock = 0;
    std::int32_t m_memClock = 0;
};

}  // namespace corvane
