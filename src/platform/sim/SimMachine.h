#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace corvane {

class SimMachineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class IniDocument;

// An emulated machine kept in a folder: its registry in registry.reg, its hardware described in
// hardware.ini (see docs/machine-folder.md). hardware.ini is checked whole when it is read, and
// read again whenever it changed on disk, so the window and a clock-mode run on the same machine
// see each other's changes. Every change is made under the machine folder's lock on the file as
// it is then, and replaces the file atomically, so that two processes never lose each other's.
class SimMachine {
public:
    // Throws SimMachineError when the folder does not exist or hardware.ini can't be read or
    // holds a value that is not of its kind (the message names the file, the line and the key).
    explicit SimMachine(std::string dir);
    ~SimMachine();
    SimMachine(const SimMachine&) = delete;
    SimMachine& operator=(const SimMachine&) = delete;

    const std::string& dir() const { return m_dir; }
    std::string registryPath() const { return m_dir + "/registry.reg"; }
    std::string hardwarePath() const { return m_dir + "/hardware.ini"; }

    std::string text(const std::string& section, const std::string& key,
                     const std::string& fallback) const;
    // Numbers may be written in decimal or as 0xD000.
    std::int64_t number(const std::string& section, const std::string& key,
                        std::int64_t fallback) const;
    // The changes throw SimMachineError when the file can't be locked, read or written, or
    // when it holds junk by then; the file is then as it was.
    void set(const std::string& section, const std::string& key, const std::string& value);
    // Several values of one section in one update of the file.
    void set(const std::string& section,
             const std::vector<std::pair<std::string, std::string>>& values);
    void setNumber(const std::string& section, const std::string& key, std::int64_t value);
    // Adds one to a counter, as the file holds it at that moment.
    void increment(const std::string& section, const std::string& key);

    bool isWindowsNt() const { return number("Windows", "PlatformId", 1) == 2; }

private:
    const IniDocument& ini() const;
    // Reads the file as it is now and checks it; throws SimMachineError.
    std::unique_ptr<IniDocument> readChecked() const;
    void change(const std::function<void(IniDocument&)>& edit);

    std::string m_dir;
    mutable std::unique_ptr<IniDocument> m_ini;
    mutable std::string m_stamp;  // what the file looked like when it was read
};

}  // namespace corvane
