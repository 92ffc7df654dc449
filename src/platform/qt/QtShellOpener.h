#pragma once

#include "platform/ShellOpener.h"

namespace corvane {

// Opens addresses with the desktop's handler for their scheme (xdg-open on Linux).
class QtShellOpener : public ShellOpener {
public:
    bool open(const std::string& address) override;
};

}  // namespace corvane
