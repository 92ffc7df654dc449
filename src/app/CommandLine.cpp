#include "app/CommandLine.h"

#include "app/Startup.h"

namespace corvane {

namespace {

// The options of ours that take a value, given as "--name value" or "--name=value".
struct ValueOption {
    const char* name;
    std::optional<std::string> CommandLine::*field;
};

constexpr ValueOption kValueOptions[] = {
    {"--machine", &CommandLine::machineDir},
    {"--registry", &CommandLine::registry},
    {"--user", &CommandLine::user},
    {"--screenshot", &CommandLine::screenshot},
    {"--page", &CommandLine::page},
    {"--apply-preset", &CommandLine::applyPreset},
    {"--save-preset", &CommandLine::savePreset},
};

struct FlagOption {
    const char* name;
    bool CommandLine::*field;
};

constexpr FlagOption kFlagOptions[] = {
    {"--demo", &CommandLine::demo},       {"--boot", &CommandLine::boot},
    {"--help", &CommandLine::help},       {"-h", &CommandLine::help},
    {"--version", &CommandLine::version}, {"--dry-run", &CommandLine::dryRun},
};

// True when argv[i] is the option; takes its value (moving i past it) or notes the error.
bool takeValue(const std::vector<std::string>& argv, std::size_t& i, const std::string& name,
               std::optional<std::string>& out, std::string& error) {
    const std::string& arg = argv[i];
    if (arg == name) {
        if (i + 1 >= argv.size() || argv[i + 1].empty()) {
            error = name + " needs a value";
            return true;
        }
        out = argv[++i];
        return true;
    }
    if (arg.rfind(name + "=", 0) == 0) {
        out = arg.substr(name.size() + 1);
        if (out->empty()) error = name + " needs a value";
        return true;
    }
    return false;
}

bool takeOption(const std::vector<std::string>& argv, std::size_t& i, CommandLine& line) {
    for (const ValueOption& option : kValueOptions) {
        if (takeValue(argv, i, option.name, line.*option.field, line.error)) return true;
    }
    for (const FlagOption& option : kFlagOptions) {
        if (argv[i] == option.name) {
            line.*option.field = true;
            return true;
        }
    }
    return false;
}

// The first rule the options break, or the empty text.
std::string conflict(const CommandLine& line) {
    const int registries = (line.demo ? 1 : 0) + (line.machineDir ? 1 : 0) +
                           (line.registry ? 1 : 0) + (line.user ? 1 : 0);
    if (registries > 1) return "use only one of --demo, --machine, --registry and --user";
    if (line.applyPreset && line.savePreset)
        return "--apply-preset and --save-preset can't be used together";
    if (line.dryRun && !line.applyPreset) return "--dry-run goes with --apply-preset";
    if ((line.applyPreset || line.savePreset) && line.screenshot)
        return "a preset command draws no window: leave out --screenshot";
    if (line.page && !line.screenshot && !line.demo)
        return "--page goes with --screenshot or --demo";
    if (line.boot && (line.applyPreset || line.savePreset || line.screenshot || line.demo))
        return "--boot runs the clock mode alone";
    if (line.user && !line.boot) return "--user goes with --boot";
    // The clock mode on a screenshot's throwaway copy would program the chip and then lose the
    // clocks it stored.
    if (line.screenshot && isClockModeArgument(line.argument1()))
        return "a screenshot draws the window: leave out " + line.argument1();
    return {};
}

}  // namespace

std::string asciiLower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

CommandLine parseCommandLine(const std::vector<std::string>& argv) {
    CommandLine line;
    if (!argv.empty()) line.arguments.push_back(argv[0]);
    for (std::size_t i = 1; i < argv.size() && line.error.empty(); ++i) {
        if (takeOption(argv, i, line)) continue;
        const std::string& arg = argv[i];
        if (!arg.empty() && arg[0] == '-') {
            line.error = "unknown option '" + arg + "'";
        } else {
            line.arguments.push_back(arg);
        }
    }
    if (line.arguments.empty()) line.arguments.emplace_back("corvane");
    if (line.error.empty()) line.error = conflict(line);
    return line;
}

std::string usageText(const std::string& registryFile) {
    return "Usage: corvane [options] [/setclock | /firstrun]\n"
           "\n"
           "Tunes the ATI Rage 128 display driver, the DVD player's decoder settings and the\n"
           "chip's clocks.\n"
           "\n"
           "  /setclock        program the stored core and memory clocks into the chip and end,\n"
           "                   without a window\n"
           "  /firstrun        offer to save the default settings, as on the first run\n"
           "\n"
           "Options:\n"
           "  --machine DIR    run over the emulated machine kept in DIR (registry.reg and\n"
           "                   hardware.ini); also CORVANE_MACHINE=DIR\n"
           "  --registry FILE  edit the exported registry FILE (a .reg file) on this computer\n"
           "  --demo           run on a fresh copy of the demo machine, removed at the end\n"
           "  --screenshot FILE  draw the window into the PNG file FILE and end; the registry\n"
           "                   is not changed\n"
           "  --page NAME      the page the window opens on (Desktop, Direct3D, ...)\n"
           "  --apply-preset FILE  apply the preset FILE to the registry's settings as the\n"
           "                   window's Load and Apply would, print each value that changed,\n"
           "                   and end, without a window\n"
           "  --dry-run        with --apply-preset: print what would change, write nothing\n"
           "  --save-preset FILE  save the registry's settings as the preset FILE and end\n"
           "  --boot           the clock mode as the boot and resume units run it: the clocks\n"
           "                   are set only while \"Load clock settings on startup\" is applied\n"
           "  --user NAME      with --boot: use the registry file of the user NAME\n"
           "  --help           show this text and end\n"
           "  --version        show the version and end\n"
           "\n"
           "Without --machine, --registry or --demo, the registry is the file\n"
           "  " +
           registryFile +
           "\n"
           "\n"
           "Exit status: 0 done (or nothing to do), 1 failed (the reason is on standard error),\n"
           "2 a command-line error.\n";
}

}  // namespace corvane
