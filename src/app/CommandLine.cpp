#include "app/CommandLine.h"

namespace corvane {

namespace {

// An option of ours with a value, given as "--name value" or "--name=value".
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

}  // namespace

std::string asciiLower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

CommandLine parseCommandLine(const std::vector<std::string>& argv) {
    CommandLine line;
    for (std::size_t i = 0; i < argv.size(); ++i) {
        const std::string& arg = argv[i];
        if (i == 0) {
            line.arguments.push_back(arg);
            continue;
        }
        if (takeValue(argv, i, "--machine", line.machineDir, line.error) ||
            takeValue(argv, i, "--screenshot", line.screenshot, line.error) ||
            takeValue(argv, i, "--page", line.page, line.error) ||
            takeValue(argv, i, "--apply-preset", line.applyPreset, line.error) ||
            takeValue(argv, i, "--save-preset", line.savePreset, line.error)) {
            continue;
        }
        if (arg == "--demo") {
            line.demo = true;
        } else if (arg == "--help" || arg == "-h") {
            line.help = true;
        } else if (arg == "--version") {
            line.version = true;
        } else if (arg == "--dry-run") {
            line.dryRun = true;
        } else {
            line.arguments.push_back(arg);
        }
    }
    if (line.arguments.empty()) line.arguments.emplace_back("corvane");
    if (line.demo && line.machineDir) line.error = "--demo and --machine can't be used together";
    if (line.applyPreset && line.savePreset)
        line.error = "--apply-preset and --save-preset can't be used together";
    if (line.dryRun && !line.applyPreset) line.error = "--dry-run goes with --apply-preset";
    if ((line.applyPreset || line.savePreset) && line.screenshot)
        line.error = "a preset command draws no window: leave out --screenshot";
    return line;
}

std::string usageText() {
    return "Usage: corvane [options] [/setclock | /firstrun]\n"
           "\n"
           "Tunes the ATI Rage 128 display driver, the DVD player's decoder settings and the\n"
           "chip's clocks.\n"
           "\n"
           "  /setclock        program the stored core and memory clocks into the chip and end,\n"
           "                   without a window (run at every system start)\n"
           "  /firstrun        offer to save the default settings, as on the first run\n"
           "\n"
           "Options:\n"
           "  --machine DIR    run over the emulated machine kept in DIR (registry.reg and\n"
           "                   hardware.ini); also CORVANE_MACHINE=DIR\n"
           "  --demo           run on a fresh copy of the demo machine\n"
           "  --screenshot FILE  render the window into the PNG file FILE and end\n"
           "  --page NAME      with --screenshot: the page to show (Desktop, Direct3D, ...)\n"
           "  --apply-preset FILE  apply the preset FILE to the registry's settings as the\n"
           "                   window's Load and Apply would, print each value that changed,\n"
           "                   and end, without a window\n"
           "  --dry-run        with --apply-preset: print what would change, write nothing\n"
           "  --save-preset FILE  save the registry's settings as the preset FILE and end\n"
           "  --help           show this text and end\n"
           "  --version        show the version and end\n"
           "\n"
           "Without --machine, Corvane works on this computer: the registry is the file\n"
           "$XDG_DATA_HOME/corvane/registry.reg (~/.local/share/corvane/registry.reg).\n";
}

}  // namespace corvane
