// corvane-clock-helper CORE MEMORY: sets the Rage 128's clocks, run as root through pkexec.
#include <cstdio>
#include <string>
#include <vector>

#include "clockhelper/ClockHelper.h"
#include "platform/linux/SysfsPci.h"

int main(int argc, char** argv) {
    // The sysfs folder is fixed: nothing from the environment or the caller chooses the device.
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    std::string message;
    const int status = corvane::runClockHelper(args, corvane::kSysfsPciDevices, message);
    std::fprintf(status == corvane::kHelperDone ? stdout : stderr, "corvane-clock-helper: %s\n",
                 message.c_str());
    return status;
}
