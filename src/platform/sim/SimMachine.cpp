#include "platform/sim/SimMachine.h"

#include <algorithm>
#include <filesystem>

#include "platform/files/AtomicFile.h"
#include "platform/files/BoundedFile.h"
#include "platform/files/FolderLock.h"
#include "platform/inifile/IniDocument.h"
#include "platform/inifile/IniInteger.h"
#include "platform/sim/HardwareFile.h"

namespace corvane {

SimMachine::SimMachine(std::string dir) : m_dir(std::move(dir)) {
    while (m_dir.size() > 1 && m_dir.back() == '/')
        m_dir.pop_back();
    std::error_code error;
    if (!std::filesystem::is_directory(m_dir, error)) {
        throw SimMachineError("The machine folder " + m_dir + " does not exist");
    }
    m_stamp = fileStamp(hardwarePath()).identity;
    m_ini = readChecked();
}

SimMachine::~SimMachine() = default;

std::unique_ptr<IniDocument> SimMachine::readChecked() const {
    auto doc = std::make_unique<IniDocument>();
    if (IniDocument::load(hardwarePath(), *doc) == IniDocument::Load::Unreadable)
        throw SimMachineError("Cannot read " + hardwarePath());
    if (const std::string fault = checkHardwareFile(doc->text(), hardwarePath()); !fault.empty())
        throw SimMachineError(fault);
    return doc;
}

const IniDocument& SimMachine::ini() const {
    std::string stamp = fileStamp(hardwarePath()).identity;
    if (stamp != m_stamp) {
        try {
            m_ini = readChecked();
        } catch (const SimMachineError&) {
            // Spoilt by someone else since it was read: the machine stays as it was, and a change
            // is refused with the reason.
        }
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

void SimMachine::change(const std::function<void(IniDocument&)>& edit) {
    std::string lockError;
    const std::optional<FolderLock> lock = FolderLock::acquire(m_dir, lockError);
    if (!lock) throw SimMachineError("Cannot lock " + hardwarePath() + ": " + lockError);
    // Under the lock no other writer is at work: temporary files are left over from one that
    // died.
    removeStaleTempFiles(hardwarePath());
    std::unique_ptr<IniDocument> file = readChecked();
    edit(*file);
    // The simulated hardware's state is replaced whole but not forced to disk: it is a model.
    if (const std::string error = file->save(hardwarePath()); !error.empty())
        throw SimMachineError("Cannot write " + hardwarePath() + ": " + error);
    m_ini = std::move(file);
    m_stamp = fileStamp(hardwarePath()).identity;
}

void SimMachine::set(const std::string& section, const std::string& key, const std::string& value) {
    set(section, {{key, value}});
}

void SimMachine::set(const std::string& section,
                     const std::vector<std::pair<std::string, std::string>>& values) {
    change([&](IniDocument& file) {
        for (const auto& [key, value] : values) {
            if (file.set(section, key, value) == IniDocument::Edit::Refused)
                throw SimMachineError("Cannot write " + key + " into " + hardwarePath());
        }
    });
}

void SimMachine::setNumber(const std::string& section, const std::string& key, std::int64_t value) {
    set(section, key, std::to_string(value));
}

void SimMachine::increment(const std::string& section, const std::string& key) {
    change([&](IniDocument& file) {
        std::int32_t count = 0;
        const std::optional<std::string_view> now = file.value(section, key);
        if (now && !parseIniInteger(*now, count)) count = 0;
        // A counter at its top stays there rather than turning into junk.
        const std::int64_t next = std::min<std::int64_t>(std::int64_t{count} + 1, 0x7FFFFFFF);
        if (file.set(section, key, std::to_string(next)) == IniDocument::Edit::Refused)
            throw SimMachineError("Cannot write " + key + " into " + hardwarePath());
    });
}

}  // namespace corvane
