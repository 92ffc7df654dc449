#include "sysinfo/SysInfo.h"

#include <cmath>

#include "settings/RegIniFile.h"

namespace corvane {

namespace {

constexpr std::array<const char*, 8> kPrefixes = {
    "An error has occured in WinRegistry: ",     "An error has occured in CPUType: ",
    "An error has occured in OSVersion: ",       "An error has occured in MemStat: ",
    "An error has occured in WinPath: ",         "An error has occured in WinTempPath: ",
    "An error has occured in NetComputerName: ", "An error has occured in NetUserName: "};

// The profile and system calls fill a buffer of 256 bytes with at most 255 characters.
std::string fitBuffer(std::string text) {
    if (text.size() > 255) text.resize(255);
    return text;
}

}  // namespace

std::string kilobytesText(std::uint64_t bytes) {
    const auto kb = static_cast<long long>(std::trunc(static_cast<long double>(bytes) / 1024.0L));
    return std::to_string(kb) + " KB";
}

std::string swapUsageText(std::uint64_t total, std::uint64_t available) {
    // Without a page file nothing of it is in use (the share would be 0 / 0).
    if (total == 0) return "0 %";
    const long double freeShare =
        static_cast<long double>(available) / static_cast<long double>(total) * 100.0L;
    return std::to_string(100 - static_cast<long long>(std::trunc(freeShare))) + " %";
}

TSysInfo::TSysInfo(RegistryStore& registry, SystemFacts& facts, Dialogs& dialogs)
    : m_registry(registry), m_facts(facts), m_dialogs(dialogs) {
    Refresh();
}

void TSysInfo::SetProperty(std::string_view, const std::string&) {
    throw std::logic_error("Can't modify a read-only property");
}

template <typename F>
void TSysInfo::trap(Block block, F&& collect) {
    try {
        collect();
        m_reported[block] = false;
    } catch (const std::exception& e) {
        // A part that keeps failing is reported once, not on every refresh.
        if (!m_reported[block]) {
            m_reported[block] = true;
            m_dialogs.show({"Error", kPrefixes[block] + std::string(e.what()), DialogIcon::Error,
                            DialogButtons::Ok});
        }
    }
}

void TSysInfo::Refresh() {
    trap(Registration, [this] {
        TRegIniFile ini(m_registry, "");
        ini.SetRootKey(win::kHKeyLocalMachine);
        ini.OpenKey("\\SOFTWARE\\Microsoft\\Windows", false);
        m_regOrganisation = ini.ReadString("CurrentVersion", "RegisteredOrganization", "unknown");
        m_regOwner = ini.ReadString("CurrentVersion", "RegisteredOwner", "unknown");
    });
    trap(Processor, [this] {
        switch (m_facts.processorType()) {
            case 386:
                m_cpuType = "Intel 386";
                break;
            case 486:
                m_cpuType = "Intel 486";
                break;
            case 586:
                m_cpuType = "Intel Pentium";
                break;
            default:
                break;
        }
    });
    trap(OperatingSystem, [this] {
        const OsVersion v = m_facts.version();
        switch (v.platformId) {
            case SystemFacts::kPlatformWin32s:
                m_winType = "Windows 3.1x/32s";
                break;
            case SystemFacts::kPlatformWindows:
                m_winType = "Windows 95";
                break;
            case SystemFacts::kPlatformNt:
                m_winType = kWindowsNt;
                break;
            default:
                break;
        }
        m_winVersion = std::to_string(v.major) + "." + std::to_string(v.minor);
        m_winBuild = std::to_string(v.build & 0xFFFF);
        if (v.major == 4 && v.minor >= 10) m_winType = "Windows 98";
    });
    trap(Memory, [this] {
        const MemoryStatus m = m_facts.memoryStatus();
        m_memTotal = kilobytesText(m.totalPhys);
        m_memAvailable = kilobytesText(m.availPhys);
        m_swapFileSetting = kilobytesText(m.totalPageFile);
        m_swapFileSize = kilobytesText(
            m.totalPageFile >= m.availPageFile ? m.totalPageFile - m.availPageFile : 0);
        m_swapFileUsage = swapUsageText(m.totalPageFile, m.availPageFile);
    });
    trap(WindowsFolder, [this] { m_winPath = fitBuffer(m_facts.windowsDirectory()); });
    trap(TempFolder,
         [this] { m_winTempPath = fitBuffer(m_facts.expandEnvironmentStrings("%TEMP%")); });
    trap(Computer, [this] { m_netComputerName = fitBuffer(m_facts.computerName()); });
    trap(User, [this] { m_netUserName = fitBuffer(m_facts.userName()); });
}

}  // namespace corvane
