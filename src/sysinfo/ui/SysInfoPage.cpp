#include "sysinfo/ui/SysInfoPage.h"

#include "settings/RegistryKeys.h"
#include "widgets/Form.h"

namespace corvane {

namespace {

constexpr const char* kProcessorKey = "\\Hardware\\Description\\System\\CentralProcessor\\0";

TCheckLabel* row(QWidget* group, const char* caption, const char* name, int top) {
    form::label(group, caption, QPoint(16, top), QString(name) + "Caption");
    return form::label(group, "n/a", QPoint(130, top), name);
}

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

SysInfoPage::SysInfoPage(QWidget* parent) : QWidget(parent) {
    setObjectName("SysInfoTab");
    QGroupBox* computer =
        form::group(this, " Computer Info ", QRect(8, 8, 482, 158), "ComputerInfoGroup");
    CPUTypeLbl = row(computer, "CPU Type:", "CPUTypeLbl", 24);
    CPUBrandLbl = row(computer, "CPU brand:", "CPUBrandLbl", 50);
    TotalMemLbl = row(computer, "Total memory:", "TotalMemLbl", 76);
    AvailMemLbl = row(computer, "Avail. memory:", "AvailMemLbl", 102);
    ApertureSizeLbl = row(computer, "Aperture size:", "ApertureSizeLbl", 128);
    QGroupBox* system =
        form::group(this, " Operating System Info ", QRect(8, 174, 482, 160), "OSInfoGroup");
    WinTypeLbl = row(system, "Windows Type:", "WinTypeLbl", 24);
    WinVersionLbl = row(system, "Windows version:", "WinVersionLbl", 50);
    WinPathLbl = row(system, "Windows path:", "WinPathLbl", 76);
    SwapFileSizeLbl = row(system, "Swap file size:", "SwapFileSizeLbl", 102);
    SwapFileUsageLbl = row(system, "Swap file usage:", "SwapFileUsageLbl", 128);
}

void SysInfoPage::FillSystemInfoPage(TRegistry& registry, const TSysInfo& info) {
    if (registry.OpenKey(kProcessorKey, false)) {
        CPUTypeLbl->SetCaption(text(ReadStringDef(registry, "Identifier", "n/a")));
        CPUBrandLbl->SetCaption(text(ReadStringDef(registry, "VendorIdentifier", "n/a")));
    }
    if (registry.OpenKey(kProgramKey, true)) {
        const std::int32_t aperture = ReadIntegerDef(registry, kApertureSizeValue, 0);
        if (aperture != 0) ApertureSizeLbl->SetCaption(QString::number(aperture) + " MB");
    }
    WinTypeLbl->SetCaption(text(info.WinType()));
    TotalMemLbl->SetCaption(text(info.MemTotal()));
    AvailMemLbl->SetCaption(text(info.MemAvailable()));
    WinVersionLbl->SetCaption(text(info.WinVersion()));
    WinPathLbl->SetCaption(text(info.WinPath()));
    SwapFileSizeLbl->SetCaption(text(info.SwapFileSize()));
    SwapFileUsageLbl->SetCaption(text(info.SwapFileUsage()));
}

void SysInfoPage::SysInfoTimerTimer(TSysInfo& info) {
    info.Refresh();
    AvailMemLbl->SetCaption(text(info.MemAvailable()));
    SwapFileSizeLbl->SetCaption(text(info.SwapFileSize()));
    SwapFileUsageLbl->SetCaption(text(info.SwapFileUsage()));
}

}  // namespace corvane
