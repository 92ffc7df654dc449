#pragma once

#include <QWidget>

#include "settings/Registry.h"
#include "sysinfo/SysInfo.h"
#include "widgets/CheckLabel.h"

namespace corvane {

// The System Info page: processor, memory and aperture, Windows type, version, folder and swap
// file. Filled once when the window is created; memory and swap figures follow the collector on
// every timer tick.
class SysInfoPage : public QWidget {
    Q_OBJECT

public:
    explicit SysInfoPage(QWidget* parent);

    void FillSystemInfoPage(TRegistry& registry, const TSysInfo& info);
    void SysInfoTimerTimer(TSysInfo& info);

    TCheckLabel* CPUTypeLbl;
    TCheckLabel* CPUBrandLbl;
    TCheckLabel* TotalMemLbl;
    TCheckLabel* AvailMemLbl;
    TCheckLabel* ApertureSizeLbl;
    TCheckLabel* WinTypeLbl;
    TCheckLabel* WinVersionLbl;
    TCheckLabel* WinPathLbl;
    TCheckLabel* SwapFileSizeLbl;
    TCheckLabel* SwapFileUsageLbl;
};

}  // namespace corvane
