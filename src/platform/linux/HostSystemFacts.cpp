#include "platform/linux/HostSystemFacts.h"

#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace corvane {

namespace {
constexpr const char* kNtKey = "Software\\Microsoft\\Windows NT\\CurrentVersion";
constexpr const char* kWindowsKey = "Software\\Microsoft\\Windows\\CurrentVersion";
}  // namespace

std::uint32_t HostSystemFacts::processorTypeFor(const std::string& machine) {
    if (machine == "i386") return 386;
    if (machine == "i486") return 486;
    if (machine == "i586" || machine == "i686") return 586;
    if (machine == "x86_64") return 8664;
    return 0;
}

std::uint32_t HostSystemFacts::processorType() {
    utsname name{};
    if (::uname(&name) != 0) throw std::runtime_error(std::strerror(errno));
    return processorTypeFor(name.machine);
}

std::string HostSystemFacts::readText(const char* key, const char* name) {
    win::RegHandle handle = 0;
    if (m_registry.openKey(win::kHKeyLocalMachine, key, handle) != win::kErrorSuccess) return {};
    std::string text;
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    if (m_registry.queryValue(handle, name, &type, nullptr, &size) == win::kErrorSuccess &&
        (type == win::kRegSz || type == win::kRegExpandSz)) {
        text.resize(size);
        m_registry.queryValue(handle, name, &type, reinterpret_cast<std::uint8_t*>(text.data()),
                              &size);
        text.resize(std::strlen(text.c_str()));
    }
    m_registry.closeKey(handle);
    return text;
}

bool HostSystemFacts::isNt() {
    win::RegHandle handle = 0;
    if (m_registry.openKey(win::kHKeyLocalMachine, kNtKey, handle) != win::kErrorSuccess)
        return false;
    m_registry.closeKey(handle);
    return true;
}

OsVersion HostSystemFacts::version() {
    OsVersion v;
    unsigned major = 4;
    unsigned minor = 10;
    unsigned build = 1998;
    if (isNt()) {
        v.platformId = kPlatformNt;
        major = 4;
        minor = 0;
        build = 1381;
        std::sscanf(readText(kNtKey, "CurrentVersion").c_str(), "%u.%u", &major, &minor);
        std::sscanf(readText(kNtKey, "CurrentBuildNumber").c_str(), "%u", &build);
    } else {
        v.platformId = kPlatformWindows;
        const std::string number = readText(kWindowsKey, "VersionNumber");
        if (!number.empty()) std::sscanf(number.c_str(), "%u.%u.%u", &major, &minor, &build);
    }
    v.major = major;
    v.minor = minor;
    v.build = v.platformId == kPlatformWindows ? ((major << 24) | (minor << 16) | (build & 0xFFFF))
                                               : build;
    return v;
}

MemoryStatus HostSystemFacts::memoryStatus() {
    std::ifstream in(m_procRoot + "/meminfo");
    if (!in) throw std::runtime_error("Cannot read " + m_procRoot + "/meminfo");
    MemoryStatus m;
    std::string field;
    std::uint64_t kb = 0;
    std::string unit;
    while (in >> field >> kb) {
        std::getline(in, unit);
        if (field == "MemTotal:") m.totalPhys = kb * 1024;
        if (field == "MemAvailable:") m.availPhys = kb * 1024;
        if (field == "SwapTotal:") m.totalPageFile = kb * 1024;
        if (field == "SwapFree:") m.availPageFile = kb * 1024;
    }
    return m;
}

std::string HostSystemFacts::windowsDirectory() {
    std::string root = readText(isNt() ? kNtKey : kWindowsKey, "SystemRoot");
    return root.empty() ? (isNt() ? "C:\\WINNT" : "C:\\WINDOWS") : root;
}

std::string HostSystemFacts::systemDirectory() {
    return windowsDirectory() + (isNt() ? "\\system32" : "\\SYSTEM");
}

std::string HostSystemFacts::expandEnvironmentStrings(const std::string& text) {
    return expandPercentVariables(text, [](const std::string& name) -> std::optional<std::string> {
        const char* value = std::getenv(name.c_str());
        if (value == nullptr) return std::nullopt;
        return std::string(value);
    });
}

std::string HostSystemFacts::computerName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0) return {};
    return name;
}

std::string HostSystemFacts::userName() {
    if (const passwd* entry = ::getpwuid(::geteuid())) return entry->pw_name;
    const char* user = std::getenv("USER");
    return user != nullptr ? user : "";
}

}  // namespace corvane
