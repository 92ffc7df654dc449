#include "platform/sim/SimMachine.h"

#include <sys/stat.h>

#include "platform/files/BoundedFile.h"
#include "platform/inifile/IniDocument.h"
#include "platform/inifile/IniInteger.h"

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

const IniDocument& SimMachine::ini() const {
    std::string stamp = fileStamp(hardwarePath()).identity;
    if (!m_ini || stamp != m_stamp) {
        m_ini = std::make_unique<IniDocument>();
        IniDocument::load(hardwarePath(), *m_ini);
        m_stamp = std::move(stamp);
    }
    return *m_ini;
}

std::string SimMachine::text(const std::string& section, const std::string& key,
                             const std::string& fallback) const {
    const std::optional<std::string_view> value = ini().value(section, key);
    return value ? std::string(*value) : fallback;
}

std::int64_t SimMachine::number(const std::string& section, const std::string& key,
                                std::int64_t fallback) const {
    std::int32_t value = 0;
    return parseIniInteger(text(section, key, ""), value) ? value : fallback;
}

void SimMachine::set(const std::string& section, const std::string& key, const std::string& value) {
    set(section, {{key, value}});
}

void SimMachine::set(const std::string& section,
                     const std::vector<std::pair<std::string, std::string>>& values) {
    // The simulated hardware's state is replaced whole but not forced to disk: it is a model.
    m_ini.reset();
    IniDocument file;
    if (IniDocument::load(hardwarePath(), file) == IniDocument::Load::Unreadable)
        throw SimMachineError("Cannot read " + hardwarePath());
    for (const auto& [key, value] : values) {
        if (file.set(section, key, value) == IniDocument::Edit::Refused)
            throw SimMachineError("Cannot write " + key + " into " + hardwarePath());
    }
    if (const std::string error = file.save(hardwarePath()); !error.empty())
        throw SimMachineError("Cannot write " + hardwarePath() + ": " + error);
}

void SimMachine::setNumber(const std::string& section, const std::string& key, std::int64_t value) {
    set(section, key, std::to_string(value));
}

}  // namespace corvane
