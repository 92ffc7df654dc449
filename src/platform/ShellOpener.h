#pragma once

#include <string>

namespace corvane {

// Hands an address to the program the system has for it (web browser, mail program).
class ShellOpener {
public:
    virtual ~ShellOpener() = default;
    // The address is passed whole; true when the system took it.
    virtual bool open(const std::string& address) = 0;
};

}  // namespace corvane
