#pragma once

#include <optional>
#include <string>
#include <vector>

namespace corvane {

// Corvane's own options, taken out of the command line before argument 1 is looked at, the way
// the toolkit takes out its own options. What remains are the program's arguments in the
// Windows sense: argument 1 chooses the mode.
struct CommandLine {
    std::optional<std::string> machineDir;  // --machine DIR: run over an emulated machine
    bool demo = false;                      // --demo: a fresh copy of the demo machine
    bool help = false;
    bool version = false;
    std::optional<std::string> screenshot;   // --screenshot FILE: render the window into a PNG
    std::optional<std::string> page;         // --page NAME: the page a screenshot shows
    std::optional<std::string> applyPreset;  // --apply-preset FILE: a preset into the registry
    std::optional<std::string> savePreset;   // --save-preset FILE: the registry into a preset
    bool dryRun = false;                     // --dry-run: with --apply-preset, write nothing
    std::vector<std::string> arguments;      // argument 0 (the program) and the rest
    std::string error;                       // a malformed option of ours

    // Argument 1 of the remaining arguments, or the empty text.
    std::string argument1() const { return arguments.size() > 1 ? arguments[1] : std::string(); }
};

CommandLine parseCommandLine(const std::vector<std::string>& argv);

// Lower-cases the ASCII letters A to Z only, as the switch comparison does.
std::string asciiLower(std::string text);

// The usage text printed by --help.
std::string usageText();

}  // namespace corvane
