#pragma once

#include <string>

#include "settings/Registry.h"

namespace corvane {

// A registry object that opens a base key when created (creating it when missing) and reads
// values by section, where a section is a key below the current one.
class TRegIniFile : public TRegistry {
public:
    TRegIniFile(RegistryStore& store, const std::string& fileName);

    // The value's text when it exists, else the default (also when the section key can't be
    // opened). The current key stays what it was.
    std::string ReadString(const std::string& section, const std::string& name,
                           const std::string& fallback) const;
    using TRegistry::ReadString;
};

}  // namespace corvane
