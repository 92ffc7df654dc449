#include "platform/sim/SimMachine.h"

#include <sys/stat.h>

#include "platform/inifile/IniFile.h"

namespace corvane {

SimMachine::SimMachine(std::string dir) : m_dir(std::move(dir)) {
    while (m_dir.size() > 1 && m_dir.back() == '/')
        m_dir.pop_back();
    struct stat st {};
    if (::stat(m_dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        throw SimMachineError("The machine folder " + m_dir + " does not exist");
    }
}

SimMachine::~SimMachine() = default;

namespace {

std::string stampOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return "missing";
    return std::to_string(st.st_ino) + ":" + std::to_string(st.st_size) + ":" +
           std::to_string(st.st_mtim.tv_sec) + "." + std::to_string(st.st_mtim.tv_nsec);
}

}  // namespace

const TIniFile& SimMachine::ini() const {
    std::string stamp = stampOf(hardwarePath());
    if (!m_ini || stamp != m_stamp) {
        m_ini = std::make_unique<TIniFile>(hardwarePath(), false);
        m_stamp = std::move(stamp);
    }
    return *m_ini;
}

std::string SimMachine::text(const std::string& section, const std::string& key,
                             const std::string& fallback) const {
    return ini().ReadString(section, key, fallback);
}

std::int64_t SimMachine::number(const std::string& section, const std::string& key,
                                std::int64_t fallback) const {
    std::int32_t value = 0;
    return TIniFile::parseInteger(text(section, key, ""), value) ? value : fallback;
}

void SimMachine::set(const std::string& section, const std::string& key, const std::string& value) {
    set(section, {{key, value}});
}

void SimMachine::set(const std::string& section,
                     const std::vector<std::pair<std::string, std::string>>& values) {
    // The simulated hardware's state is replaced whole but not forced to disk: it is a model.
    m_ini.reset();
    TIniFile file(hardwarePath(), false);
    for (const auto& [key, value] : values)
        file.WriteString(section, key, value);
    file.UpdateFile();
}

void SimMachine::setNumber(const std::string& section, const std::string& key, std::int64_t value) {
    set(section, key, std::to_string(value));
}

}  // namespace corvane
