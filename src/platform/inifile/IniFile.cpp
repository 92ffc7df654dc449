#include "platform/inifile/IniFile.h"

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "platform/files/AtomicFile.h"
#include "platform/files/TextCodec.h"

namespace corvane {

namespace {

std::string trim(const std::string& s) {
    const std::size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    const std::size_t last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

// The name of a "[name]" line, or false when the line is no section header.
bool sectionName(const std::string& line, std::string& name) {
    const std::string t = trim(line);
    if (t.size() < 2 || t.front() != '[') return false;
    const std::size_t close = t.find(']');
    if (close == std::string::npos) return false;
    name = trim(t.substr(1, close - 1));
    return true;
}

bool keyOfLine(const std::string& line, std::string& key, std::string* value) {
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) return false;
    const std::string t = trim(line);
    if (!t.empty() && t.front() == ';') return false;
    key = trim(line.substr(0, eq));
    if (value != nullptr) *value = trim(line.substr(eq + 1));
    return true;
}

}  // namespace

TIniFile::TIniFile(std::string fileName, bool durable)
    : m_fileName(std::move(fileName)), m_durable(durable) {}

TIniFile::~TIniFile() {
    if (m_dirty) {
        try {
            save();
        } catch (const std::exception&) {
            // Nothing to report to from here; UpdateFile is where callers learn of failures.
        }
    }
}

void TIniFile::load() const {
    if (m_loaded) return;
    m_loaded = true;
    std::ifstream in(m_fileName, std::ios::binary);
    if (!in) return;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    const std::string text = buffer.str();
    std::size_t start = 0;
    bool sawCrlf = false;
    bool sawLf = false;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
            sawCrlf = true;
        } else if (end < text.size()) {
            sawLf = true;
        }
        m_lines.push_back(std::move(line));
        start = end + 1;
    }
    if (sawLf && !sawCrlf) m_eol = "\n";
}

std::size_t TIniFile::findSection(const std::string& section) const {
    load();
    std::string name;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (sectionName(m_lines[i], name) && codec::equalsFolded(name, section)) return i;
    }
    return std::string::npos;
}

std::size_t TIniFile::sectionEnd(std::size_t header) const {
    std::string name;
    std::size_t i = header + 1;
    while (i < m_lines.size() && !sectionName(m_lines[i], name))
        ++i;
    return i;
}

std::size_t TIniFile::findKey(std::size_t header, const std::string& key) const {
    const std::size_t end = sectionEnd(header);
    std::string name;
    for (std::size_t i = header + 1; i < end; ++i) {
        if (keyOfLine(m_lines[i], name, nullptr) && codec::equalsFolded(name, key)) return i;
    }
    return std::string::npos;
}

void TIniFile::ReadSections(std::vector<std::string>& sections) const {
    load();
    sections.clear();
    std::string name;
    for (const std::string& line : m_lines) {
        if (sectionName(line, name)) sections.push_back(name);
    }
}

void TIniFile::ReadSection(const std::string& section, std::vector<std::string>& keys) const {
    keys.clear();
    const std::size_t header = findSection(section);
    if (header == std::string::npos) return;
    std::string name;
    for (std::size_t i = header + 1; i < sectionEnd(header); ++i) {
        if (keyOfLine(m_lines[i], name, nullptr)) keys.push_back(name);
    }
}

bool TIniFile::SectionExists(const std::string& section) const {
    return findSection(section) != std::string::npos;
}

bool TIniFile::ValueExists(const std::string& section, const std::string& key) const {
    const std::size_t header = findSection(section);
    return header != std::string::npos && findKey(header, key) != std::string::npos;
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& fallback) const {
    const std::size_t header = findSection(section);
    if (header == std::string::npos) return fallback;
    const std::size_t line = findKey(header, key);
    if (line == std::string::npos) return fallback;
    std::string name;
    std::string value;
    keyOfLine(m_lines[line], name, &value);
    // The profile functions read through a buffer of 2048 characters.
    if (value.size() > 2047) value.resize(2047);
    return value;
}

bool TIniFile::parseInteger(const std::string& text, std::int32_t& value) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    const std::string t = text.substr(i);
    if (t.empty()) return false;
    auto hexPrefix = [&t]() -> std::size_t {
        if (t[0] == '$' || t[0] == 'x' || t[0] == 'X') return 1;
        if (t.size() > 1 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) return 2;
        return 0;
    };
    if (const std::size_t prefix = hexPrefix(); prefix > 0) {
        if (prefix >= t.size()) return false;
        std::uint64_t v = 0;
        for (std::size_t k = prefix; k < t.size(); ++k) {
            const char c = t[k];
            int d = -1;
            if (c >= '0' && c <= '9') d = c - '0';
            if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
            if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
            if (d < 0) return false;
            v = v * 16 + static_cast<std::uint64_t>(d);
            if (v > 0xFFFFFFFFull) return false;
        }
        value = static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
        return true;
    }
    std::size_t k = 0;
    bool negative = false;
    if (t[0] == '+' || t[0] == '-') {
        negative = t[0] == '-';
        k = 1;
    }
    if (k >= t.size()) return false;
    std::int64_t v = 0;
    for (; k < t.size(); ++k) {
        if (t[k] < '0' || t[k] > '9') return false;
        v = v * 10 + (t[k] - '0');
        if (v > 2147483648LL) return false;
    }
    if (negative) v = -v;
    if (v > 2147483647LL) return false;
    value = static_cast<std::int32_t>(v);
    return true;
}

std::int32_t TIniFile::ReadInteger(const std::string& section, const std::string& key,
                                   std::int32_t fallback) const {
    std::int32_t value = 0;
    return parseInteger(ReadString(section, key, ""), value) ? value : fallback;
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool fallback) const {
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void TIniFile::WriteString(const std::string& section, const std::string& key,
                           const std::string& value) {
    load();
    std::size_t header = findSection(section);
    if (header == std::string::npos) {
        m_lines.push_back("[" + section + "]");
        header = m_lines.size() - 1;
    }
    const std::size_t line = findKey(header, key);
    if (line != std::string::npos) {
        std::string name;
        keyOfLine(m_lines[line], name, nullptr);
        m_lines[line] = name + "=" + value;
    } else {
        // After the section's last key, so that blank lines between sections stay between them.
        std::size_t at = sectionEnd(header);
        while (at > header + 1 && trim(m_lines[at - 1]).empty())
            --at;
        m_lines.insert(m_lines.begin() + static_cast<long>(at), key + "=" + value);
    }
    m_dirty = true;
    if (!canWriteFile(m_fileName)) throw EIniFileException("Unable to write to " + m_fileName);
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key,
                            std::int32_t value) {
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void TIniFile::DeleteKey(const std::string& section, const std::string& key) {
    const std::size_t header = findSection(section);
    if (header == std::string::npos) return;
    const std::size_t line = findKey(header, key);
    if (line == std::string::npos) return;
    m_lines.erase(m_lines.begin() + static_cast<long>(line));
    m_dirty = true;
}

void TIniFile::save() {
    std::string text;
    for (const std::string& line : m_lines) {
        text += line;
        text += m_eol;
    }
    if (const std::string error = writeFileAtomically(m_fileName, text, m_durable);
        !error.empty()) {
        throw EIniFileException("Unable to write to " + m_fileName);
    }
    m_dirty = false;
}

void TIniFile::UpdateFile() {
    if (m_dirty) save();
}

}  // namespace corvane
