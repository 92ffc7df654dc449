#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/ClockModeCommand.h"
#include "app/CommandLine.h"
#include "app/PlatformFactory.h"
#include "app/PresetCommand.h"
#include "app/Startup.h"
#include "app/Version.h"

#ifdef CORVANE_WITH_QT
#include "app/ui/WindowMode.h"
#endif

namespace {

using namespace corvane;

int fail(const std::string& message) {
    std::fprintf(stderr, "corvane: %s\n", message.c_str());
    return 1;
}

#ifndef CORVANE_WITH_QT
int runWindowMode(char*, const CommandLine&, const std::optional<std::string>&,
                  const std::optional<std::string>&) {
    return fail("this build has no window; it runs the clock mode only (corvane /setclock)");
}
#endif

std::string defaultRegistryForUsage() {
    try {
        return hostRegistryPath();
    } catch (const std::exception&) {
        return "~/.local/share/corvane/registry.reg";
    }
}

}  // namespace

int main(int argc, char** argv) {
    const CommandLine line = parseCommandLine(std::vector<std::string>(argv, argv + argc));
    if (!line.error.empty()) {
        std::fprintf(stderr, "corvane: %s\n\n%s", line.error.c_str(),
                     usageText(defaultRegistryForUsage()).c_str());
        return 2;
    }
    if (line.help) {
        std::fputs(usageText(defaultRegistryForUsage()).c_str(), stdout);
        return 0;
    }
    if (line.version) {
        std::printf("Corvane %s\n", kVersion);
        return 0;
    }
    try {
        std::optional<std::string> machineDir = line.machineDir;
        std::optional<std::string> registryFile = line.registry;
        if (line.user) registryFile = userRegistryPath(*line.user);
        if (!machineDir && !registryFile && !line.demo) {
            if (const char* env = std::getenv("CORVANE_MACHINE"); env != nullptr && *env != '\0')
                machineDir = env;
        }
        // The demo's folder, or the copy a screenshot is taken over, goes when the program ends.
        TemporaryFolder scratch;
        if (line.demo) {
            scratch = TemporaryFolder(makeDemoMachine());
            machineDir = scratch.path();
        } else if (line.screenshot) {
            const std::string original =
                machineDir ? *machineDir : registryFile.value_or(hostRegistryPath());
            const std::string copy = copyIntoTemporaryFolder(original, scratch);
            (machineDir ? machineDir : registryFile) = copy;
        }
        if (line.applyPreset || line.savePreset) return runPresetCommand(line, machineDir);
        if (line.boot || isClockModeArgument(line.argument1()))
            return runClockModeCommand(line, machineDir, registryFile);
        return runWindowMode(argv[0], line, machineDir, registryFile);
    } catch (const std::exception& e) {
        return fail(e.what());
    }
}
