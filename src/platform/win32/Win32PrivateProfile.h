#pragma once

#include "platform/PrivateProfile.h"

namespace corvane {

// INI files through kernel32's own profile functions.
class Win32PrivateProfile : public PrivateProfile {
public:
    std::uint32_t getPrivateProfileString(const char* section, const char* key,
                                          const char* defaultValue, char* buffer,
                                          std::uint32_t size, const char* fileName) override;
    bool writePrivateProfileString(const char* section, const char* key, const char* value,
                                   const char* fileName) override;
};

}  // namespace corvane
