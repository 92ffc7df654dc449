#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/PlatformFactory.h"
#include "app/Startup.h"
#include "platform/Dialogs.h"
#include "settings/Registry.h"

namespace {

using namespace corvane;

int fail(const std::string& message) {
    std::fprintf(stderr, "corvane: %s\n", message.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    const CommandLine line = parseCommandLine(std::vector<std::string>(argv, argv + argc));
    if (!line.error.empty()) {
        std::fprintf(stderr, "corvane: %s\nTry 'corvane --help'.\n", line.error.c_str());
        return 2;
    }
    if (line.help) {
        std::fputs(usageText().c_str(), stdout);
        return 0;
    }
    if (line.version) {
        std::printf("Corvane %s\n", CORVANE_VERSION);
        return 0;
    }

    std::optional<std::string> machineDir = line.machineDir;
    if (!machineDir) {
        if (const char* env = std::getenv("CORVANE_MACHINE"); env != nullptr && *env != '\0') machineDir = env;
    }
    try {
        if (line.demo) machineDir = makeDemoMachine();
        Platform platform = makePlatform(machineDir);
        const bool clockMode = isClockModeArgument(line.argument1());
        StderrDialogs dialogs;

        TRegistry registry(*platform.registry);
        RegistryUpdate update(*platform.registry);
        StartupState state;
        if (RunStart(registry, *platform.firmware, *platform.facts, dialogs, state) && clockMode) {
            ClockHardware hardware{*platform.port, *platform.display, dialogs,
                                   [&platform] { return platform.facts->systemDirectory(); }};
            RunClockMode(registry, hardware, state);
        }
        update.commit();
        if (!clockMode) std::fputs("The window is not built yet; see corvane --help.\n", stdout);
    } catch (const std::exception& e) {
        return fail(e.what());
    }
    return 0;
}
