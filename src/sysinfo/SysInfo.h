#pragma once

#include <array>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/Dialogs.h"
#include "platform/RegistryStore.h"
#include "platform/SystemFacts.h"

namespace corvane {

// Facts about the computer and its Windows installation, as read-only texts. Collected when
// created and again on every Refresh. Each of the eight parts of a collection has its own error
// trap: a failing part is reported and the others go on.
class TSysInfo {
public:
    static constexpr const char* kWindowsNt = "Windows NT";

    TSysInfo(RegistryStore& registry, SystemFacts& facts, Dialogs& dialogs);

    void Refresh();

    const std::string& RegOrganisation() const { return m_regOrganisation; }
    const std::string& RegOwner() const { return m_regOwner; }
    const std::string& CPUType() const { return m_cpuType; }
    const std::string& WinType() const { return m_winType; }
    const std::string& WinVersion() const { return m_winVersion; }
    const std::string& WinBuild() const { return m_winBuild; }
    const std::string& MemTotal() const { return m_memTotal; }
    const std::string& MemAvailable() const { return m_memAvailable; }
    const std::string& WinPath() const { return m_winPath; }
    const std::string& WinTempPath() const { return m_winTempPath; }
    const std::string& NetComputerName() const { return m_netComputerName; }
    const std::string& NetUserName() const { return m_netUserName; }
    const std::string& SwapFileSetting() const { return m_swapFileSetting; }
    const std::string& SwapFileSize() const { return m_swapFileSize; }
    const std::string& SwapFileUsage() const { return m_swapFileUsage; }

    bool isWindowsNt() const { return m_winType == kWindowsNt; }

    // Every property is read-only: assigning one raises "Can't modify a read-only property".
    [[noreturn]] void SetProperty(std::string_view name, const std::string& value);

private:
    enum Block {
        Registration,
        Processor,
        OperatingSystem,
        Memory,
        WindowsFolder,
        TempFolder,
        Computer,
        User,
        kBlocks
    };
    template <typename F>
    void trap(Block block, F&& collect);

    RegistryStore& m_registry;
    SystemFacts& m_facts;
    Dialogs& m_dialogs;
    std::array<bool, kBlocks> m_reported{};  // a failure shown, not yet followed by a success

    std::string m_regOrganisation;
    std::string m_regOwner;
    std::string m_cpuType;
    std::string m_winType;
    std::string m_winVersion;
    std::string m_winBuild;
    std::string m_memTotal;
    std::string m_memAvailable;
    std::string m_winPath;
    std::string m_winTempPath;
    std::string m_netComputerName;
    std::string m_netUserName;
    std::string m_swapFileSetting;
    std::string m_swapFileSize;
    std::string m_swapFileUsage;
};

// "%d KB" of a byte count, the division truncated.
std::string kilobytesText(std::uint64_t bytes);
// "%d %%" of the share of the page file in use: 100 minus the truncated free share.
std::string swapUsageText(std::uint64_t total, std::uint64_t available);

}  // namespace corvane
