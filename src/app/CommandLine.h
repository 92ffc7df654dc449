#pragma once

#include <optional>
#include <string>
#include <vector>

namespace corvane {

// Corvane's own options, taken out of the command line before argument 1 is looked at. What
// remains are the program's arguments in the Windows sense: argument 1 chooses the mode. Any
// other argument that starts with "-" is an error, so that a mistyped option never opens a
// window on the wrong registry.
struct CommandLine {
    std::optional<std::string> machineDir;  // --machine DIR: run over an emulated machine
    std::optional<std::string> registry;    // --registry FILE: this computer, another .reg file
    std::optional<std::string> user;        // --user NAME: that user's registry file (the boot)
    bool demo = false;                      // --demo: a fresh copy of the demo machine
    bool boot = false;  // --boot: the clock mode, only when the user chose it in the window
    bool help = false;
    bool version = false;
    std::optional<std::string> screenshot;   // --screenshot FILE: render the window into a PNG
    std::optional<std::string> page;         // --page NAME: the page a screenshot shows
    std::optional<std::string> applyPreset;  // --apply-preset FILE: a preset into the registry
    std::optional<std::string> savePreset;   // --save-preset FILE: the registry into a preset
    bool dryRun = false;                     // --dry-run: with --apply-preset, write nothing
    std::vector<std::string> arguments;      // argument 0 (the program) and the rest
    std::string error;                       // a malformed or unknown option

    // Argument 1 of the remaining arguments, or the empty text.
    std::string argument1() const { return arguments.size() > 1 ? arguments[1] : std::string(); }
};

CommandLine parseCommandLine(const std::vector<std::string>& argv);

// Lower-cases the ASCII letters A to Z only, as the switch comparison does.
std::string asciiLower(std::string text);

// The usage text printed by --help and after a command-line error. registryFile is the registry
// file used without --machine, --registry or --demo.
std::string usageText(const std::string& registryFile);

}  // namespace corvane
