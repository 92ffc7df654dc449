#pragma once

#include "platform/ShellOpener.h"

namespace corvane {

// Hands an address to the program Windows has for it, through ShellExecuteA.
class Win32ShellOpener : public ShellOpener {
public:
    bool open(const std::string& address) override;
};

}  // namespace corvane
