#pragma once

#include <optional>
#include <string>
#include <vector>

namespace corvane {

// The privileged clock helper: the one thing the window may ask for with an administrator's
// permission (through pkexec and polkit). It takes exactly two arguments, the core and the memory
// clock in MHz (decimal, 1 to 255), finds the Rage 128 itself and runs the clock sequence on the
// card's own I/O BAR. Nothing else can be asked of it.
struct ClockHelperRequest {
    int core = 0;
    int memory = 0;
};

// Exit statuses of the helper. pkexec itself ends with 126 or 127 when the permission is not
// given, so these stay below.
inline constexpr int kHelperDone = 0;
inline constexpr int kHelperFailed = 1;  // no Rage 128, or the ports refused
inline constexpr int kHelperUsage = 2;   // anything but two valid clocks

// The two clocks of the helper's arguments (argument 0, the program, excluded); nothing, with the
// reason in error, for anything else.
std::optional<ClockHelperRequest> parseClockHelperArguments(const std::vector<std::string>& args,
                                                            std::string& error);

// Sets the clocks on the Rage 128 found below sysfsRoot (the PCI devices folder). Returns the exit
// status; message says what happened.
int runClockHelper(const std::vector<std::string>& args, const std::string& sysfsRoot,
                   std::string& message);

}  // namespace corvane
