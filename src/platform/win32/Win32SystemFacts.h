#pragma once

#include "platform/SystemFacts.h"

namespace corvane {

// Facts about this computer from kernel32 and advapi32. A call that fails raises an error
// naming it, so that the collector reports the fact it could not get.
class Win32SystemFacts : public SystemFacts {
public:
    std::uint32_t processorType() override;
    OsVersion version() override;
    MemoryStatus memoryStatus() override;
    std::string windowsDirectory() override;
    std::string systemDirectory() override;
    std::string expandEnvironmentStrings(const std::string& text) override;
    std::string computerName() override;
    std::string userName() override;
};

}  // namespace corvane
