#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace corvane {

// Raised when a value can't be written: "Unable to write to <path>".
class EIniFileException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An INI file with the behaviour of the Windows profile functions: section and key names are
// found without regard to case, where a name occurs twice the first occurrence counts, blanks
// around values are removed, sections are listed in file order, the file is created by the first
// write, and an existing key is rewritten in place.
//
// The file is read when first needed. Writes change the text in memory and are saved, atomically,
// by UpdateFile and when the object goes away; a write that could not be saved raises at once.
class TIniFile {
public:
    // A file that is not durable is still replaced whole, but not forced to disk on every save.
    explicit TIniFile(std::string fileName, bool durable = true);
    ~TIniFile();
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    const std::string& FileName() const { return m_fileName; }

    void ReadSections(std::vector<std::string>& sections) const;
    void ReadSection(const std::string& section, std::vector<std::string>& keys) const;
    bool SectionExists(const std::string& section) const;
    bool ValueExists(const std::string& section, const std::string& key) const;
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& fallback) const;
    std::int32_t ReadInteger(const std::string& section, const std::string& key,
                             std::int32_t fallback) const;
    bool ReadBool(const std::string& section, const std::string& key, bool fallback) const;

    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, std::int32_t value);
    void WriteBool(const std::string& section, const std::string& key, bool value);
    void DeleteKey(const std::string& section, const std::string& key);
    void UpdateFile();

    // The integer a value text stands for: leading blanks, then an optional sign and decimal
    // digits, or hex digits after "$", "0x", "0X", "x" or "X". False for anything else.
    static bool parseInteger(const std::string& text, std::int32_t& value);

private:
    void load() const;
    // Index of the line of the section's header, or npos.
    std::size_t findSection(const std::string& section) const;
    // Index of the key's line within the section starting at header, or npos.
    std::size_t findKey(std::size_t header, const std::string& key) const;
    std::size_t sectionEnd(std::size_t header) const;
    void save();

    std::string m_fileName;
    mutable bool m_loaded = false;
    mutable std::vector<std::string> m_lines;
    mutable std::string m_eol = "\r\n";
    bool m_durable;
    bool m_dirty = false;
};

}  // namespace corvane
