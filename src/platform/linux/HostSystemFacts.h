#pragma once

#include <string>

#include "platform/RegistryStore.h"
#include "platform/SystemFacts.h"

namespace corvane {

// Facts of this computer: memory from /proc/meminfo, the processor from the machine
// architecture, names from the system and the environment. The Windows family, version and
// folder are those of the registry the program edits: the key
//   \Software\Microsoft\Windows NT\CurrentVersion
// present means Windows NT (its "CurrentVersion" and "CurrentBuildNumber"), else
//   \Software\Microsoft\Windows\CurrentVersion
// gives "VersionNumber" (such as 4.10.1998); neither means Windows 98, 4.10.1998.
class HostSystemFacts : public SystemFacts {
public:
    explicit HostSystemFacts(RegistryStore& registry, std::string procRoot = "/proc")
        : m_registry(registry), m_procRoot(std::move(procRoot)) {}
    std::uint32_t processorType() override;
    OsVersion version() override;
    MemoryStatus memoryStatus() override;
    std::string windowsDirectory() override;
    std::string systemDirectory() override;
    std::string expandEnvironmentStrings(const std::string& text) override;
    std::string computerName() override;
    std::string userName() override;

    // The processor type number Windows gives for a machine architecture (uname -m).
    static std::uint32_t processorTypeFor(const std::string& machine);

private:
    bool isNt();
    std::string readText(const char* key, const char* name);

    RegistryStore& m_registry;
    std::string m_procRoot;
};

}  // namespace corvane
