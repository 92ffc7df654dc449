#pragma once

#include <stdexcept>
#include <string>

namespace corvane {

// The error the registry layer raises; its message is shown to the user after the prefix of
// the routine that caught it.
class ERegistryException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;

    static ERegistryException createFailed(const std::string& key);
    static ERegistryException setFailed(const std::string& name);
    static ERegistryException getFailed(const std::string& name);
    static ERegistryException invalidType(const std::string& name);
};

}  // namespace corvane
