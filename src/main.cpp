#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/PlatformFactory.h"
#include "app/PresetCommand.h"
#include "app/Startup.h"
#include "app/StderrDialogs.h"
#include "app/Version.h"
#include "settings/Registry.h"

#ifdef CORVANE_WITH_QT
#include "app/ui/WindowMode.h"
#endif

namespace {

using namespace corvane;

int fail(const std::string& message) {
    std::fprintf(stderr, "corvane: %s\n", message.c_str());
    return 1;
}

int runClockMode(const std::optional<std::string>& machineDir) {
    Platform platform = makePlatform(machineDir);
    StderrDialogs dialogs;
    TRegistry registry(*platform.registry);
    RegistryUpdate update(*platform.registry);
    StartupState state;
    if (runStart(registry, *platform.firmware, *platform.facts, dialogs, state)) {
        ClockServices hardware{*platform.port, *platform.display, dialogs,
                               [&platform] { return platform.facts->systemDirectory(); }};
        runClockMode(registry, hardware, state);
    }
    update.commit();
    return 0;
}

#ifndef CORVANE_WITH_QT
int runWindowMode(char*, const CommandLine&, const std::optional<std::string>&) {
    return fail("this build has no window; it runs the clock mode only (corvane /setclock)");
}
#endif

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
        std::printf("Corvane %s\n", kVersion);
        return 0;
    }
    std::optional<std::string> machineDir = line.machineDir;
    if (!machineDir) {
        if (const char* env = std::getenv("CORVANE_MACHINE"); env != nullptr && *env != '\0')
            machineDir = env;
    }
    try {
        if (line.demo) machineDir = makeDemoMachine();
        if (line.applyPreset || line.savePreset) return runPresetCommand(line, machineDir);
        if (isClockModeArgument(line.argument1())) return runClockMode(machineDir);
        return runWindowMode(argv[0], line, machineDir);
    } catch (const std::exception& e) {
        return fail(e.what());
    }
}
