#include "platform/files/WindowsPath.h"

#ifndef _WIN32
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "platform/files/TextCodec.h"
#endif

namespace corvane {

#ifndef _WIN32

namespace {

bool exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

// The entry of folder whose name equals name without regard to case; empty when none.
std::string findFolded(const std::string& folder, const std::string& name) {
    DIR* listing = ::opendir(folder.empty() ? "." : folder.c_str());
    if (listing == nullptr) return {};
    std::vector<std::string> matches;
    while (const dirent* entry = ::readdir(listing)) {
        if (codec::equalsFolded(entry->d_name, name)) matches.emplace_back(entry->d_name);
    }
    ::closedir(listing);
    if (matches.empty()) return {};
    return *std::min_element(matches.begin(), matches.end());
}

}  // namespace

std::string hostPath(const std::string& windowsPath) {
    std::string path = windowsPath;
    std::replace(path.begin(), path.end(), '\\', '/');
    if (path.empty() || exists(path)) return path;

    std::string resolved = path.front() == '/' ? "/" : "";
    std::size_t start = path.front() == '/' ? 1 : 0;
    bool found = true;
    while (start <= path.size()) {
        std::size_t slash = path.find('/', start);
        if (slash == std::string::npos) slash = path.size();
        const std::string part = path.substr(start, slash - start);
        start = slash + 1;
        if (part.empty()) continue;
        const std::string folder = resolved;
        std::string next = folder + part;
        if (found && !exists(next) && part != "." && part != "..") {
            const std::string match = findFolded(folder.empty() ? "" : folder, part);
            if (match.empty()) {
                found = false;  // nothing below a missing part can be found either
            } else {
                next = folder + match;
            }
        }
        resolved = next;
        if (slash < path.size()) resolved += '/';
    }
    return resolved;
}

#else

std::string hostPath(const std::string& windowsPath) {
    return windowsPath;
}

#endif

}  // namespace corvane
