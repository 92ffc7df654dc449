#include "app/ClockModeCommand.h"

#include <cstdio>

#include "app/PlatformFactory.h"
#include "app/Startup.h"
#include "app/StderrDialogs.h"
#include "settings/Registry.h"
#include "settings/RegistryKeys.h"

namespace corvane {

namespace {

int failed(const std::string& message) {
    std::fprintf(stderr, "corvane: %s\n", message.c_str());
    return 1;
}

}  // namespace

std::string atiKeyMissingHint(const std::string& registryPath) {
    if (registryPath.empty()) return {};
    return "corvane: the registry file " + registryPath +
           " has no key HKEY_LOCAL_MACHINE\\Software\\ATI Technologies: put an export of your "
           "Windows registry there, or choose another with --registry FILE, or try --demo";
}

int runClockModeCommand(const CommandLine& line, const std::optional<std::string>& machineDir,
                        const std::optional<std::string>& registryFile) {
    Platform platform = makePlatform(machineDir, registryFile);
    StderrDialogs dialogs;
    TRegistry registry(*platform.registry);
    registry.SetRootKey(win::kHKeyLocalMachine);
    if (line.boot && !clocksLoadAtStartup(registry)) {
        std::printf("corvane: the clocks are not set at startup (not chosen in %s)\n",
                    platform.registryPath.c_str());
        return 0;
    }

    RegistryUpdate update(*platform.registry);
    StartupState state;
    if (!runStart(registry, *platform.firmware, *platform.facts, dialogs, state)) {
        if (const std::string hint = atiKeyMissingHint(platform.registryPath); !hint.empty())
            std::fprintf(stderr, "%s\n", hint.c_str());
        return 1;
    }
    // Programming the chip and then failing to store what was programmed would leave the next
    // start setting other clocks than the chip runs at.
    if (state.version.platformId != SystemFacts::kPlatformNt && !platform.registryPath.empty()) {
        if (const std::string problem = registrySaveProblem(platform.registryPath);
            !problem.empty()) {
            return failed("the clocks were not set: " + problem);
        }
    }
    ClockServices hardware{*platform.port, *platform.display, dialogs,
                           [&platform] { return platform.facts->systemDirectory(); }};
    const ClockModeOutcome outcome = runClockMode(registry, hardware, state);
    try {
        update.commit();
    } catch (const std::exception& e) {
        return failed(e.what());
    }
    switch (outcome.kind) {
        case ClockModeOutcome::Kind::Set:
            return 0;
        case ClockModeOutcome::Kind::NothingToSet:
            return 0;
        case ClockModeOutcome::Kind::Failed:
            return failed("the clocks were not set: " + outcome.reason);
    }
    return 1;
}

}  // namespace corvane
