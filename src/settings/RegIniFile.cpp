#include "settings/RegIniFile.h"

namespace corvane {

TRegIniFile::TRegIniFile(RegistryStore& store, const std::string& fileName) : TRegistry(store) {
    OpenKey(fileName, true);
}

std::string TRegIniFile::ReadString(const std::string& section, const std::string& name,
                                    const std::string& fallback) const {
    // A second registry object on the same store reads the section, so the current key of this
    // one is left alone.
    TRegistry sectionReader(Store());
    sectionReader.SetRootKey(RootKey());
    if (!section.empty()) {
        const std::string path = isRelative(section) && !CurrentPath().empty()
                                     ? "\\" + CurrentPath() + "\\" + section
                                     : section;
        if (!sectionReader.OpenKey(path, false)) return fallback;
    } else if (!sectionReader.OpenKey("\\" + CurrentPath(), false)) {
        return fallback;
    }
    if (!sectionReader.ValueExists(name)) return fallback;
    return sectionReader.ReadString(name);
}

}  // namespace corvane
