#pragma once

#include <string>

#include "platform/Platform.h"

namespace corvane {

// Fills p with the emulated machine kept in dir: its registry file, its simulated hardware and
// its system folder's version resources, the same on every system. Throws PlatformError.
void makeMachinePlatform(Platform& p, const std::string& dir);

}  // namespace corvane
