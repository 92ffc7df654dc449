#pragma once

#include <optional>
#include <string>
#include <vector>

namespace corvane {

// The Presets folder: on an emulated machine DIR/Presets (the machine's program folder); on this
// computer the folder beside the program when the program's folder is writable (a build tree, a
// portable copy), otherwise $XDG_DATA_HOME/corvane/Presets (on Windows %APPDATA%\corvane\Presets).
std::string presetFolderFor(const std::optional<std::string>& machineDir,
                            const std::string& programPath);

// Creates the folder when there is none; a failure is not reported (the list stays empty).
void preparePresetFolder(const std::string& folder);

// The names the preset list shows: every entry of the folder whose name ends in ".cvt" (in any
// case, whatever it is: hidden files and folders too), in the order the file system gives them,
// each shown as the part of its name before the first dot.
std::vector<std::string> presetNames(const std::string& folder);

// The file the Load button looks for: the folder, the shown name and ".cvt".
std::string presetPath(const std::string& folder, const std::string& name);

// The file name part of a path, after its last "/" (or "\" or ":").
std::string fileNamePart(const std::string& path);

}  // namespace corvane
