#include "presets/PresetFolder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace corvane {

namespace {

bool endsWithCvt(const std::string& name) {
    if (name.size() < 4) return false;
    const std::string tail = name.substr(name.size() - 4);
    return tail[0] == '.' && (tail[1] | 0x20) == 'c' && (tail[2] | 0x20) == 'v' &&
           (tail[3] | 0x20) == 't';
}

bool writableFolder(const std::filesystem::path& folder) {
#ifdef _WIN32
    std::error_code error;
    return std::filesystem::is_directory(folder, error);
#else
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
#endif
}

std::string userDataFolder() {
#ifdef _WIN32
    // Where Windows keeps a user's program data.
    const char* appData = std::getenv("APPDATA");
    if (appData != nullptr && std::filesystem::path(appData).is_absolute()) return appData;
    return ".";
#else
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data != nullptr && *data == '/') return data;
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr && *home != '\0' ? home : ".") + "/.local/share";
#endif
}

}  // namespace

std::string presetFolderFor(const std::optional<std::string>& machineDir,
                            const std::string& programPath) {
    if (machineDir) return (std::filesystem::path(*machineDir) / "Presets").string();
    const std::filesystem::path programFolder = std::filesystem::path(programPath).parent_path();
    if (!programFolder.empty() && writableFolder(programFolder))
        return (programFolder / "Presets").string();
    return (std::filesystem::path(userDataFolder()) / "corvane" / "Presets").string();
}

void preparePresetFolder(const std::string& folder) {
    std::error_code ignored;
    if (!std::filesystem::exists(folder, ignored))
        std::filesystem::create_directories(folder, ignored);
}

std::vector<std::string> presetNames(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    if (error) return names;
    for (const auto& entry : entries) {
        const std::string name = entry.path().filename().string();
        if (endsWithCvt(name)) names.push_back(name.substr(0, name.find('.')));
    }
    return names;
}

std::string presetPath(const std::string& folder, const std::string& name) {
    return (std::filesystem::path(folder) / (name + ".cvt")).string();
}

std::string fileNamePart(const std::string& path) {
    const auto separator = path.find_last_of("/\\:");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

}  // namespace corvane
