#include "presets/IniFile.h"

#include "platform/inifile/IniFileProfile.h"
#include "platform/inifile/IniInteger.h"

namespace corvane {

namespace {

bool holdsNul(const std::string& text) {
    return text.find('\0') != std::string::npos;
}

}  // namespace

TIniFile::TIniFile(PrivateProfile& profile, std::string fileName)
    : m_profile(&profile), m_fileName(std::move(fileName)) {}

TIniFile::TIniFile(std::string fileName)
    : m_ownProfile(std::make_unique<IniFileProfile>()),
      m_profile(m_ownProfile.get()),
      m_fileName(std::move(fileName)) {}

TIniFile::~TIniFile() = default;
TIniFile::TIniFile(TIniFile&&) noexcept = default;

void TIniFile::ReadSections(std::vector<std::string>& strings) const {
    strings.clear();
    std::vector<char> buffer(kSectionsBufferSize);
    const std::uint32_t length = m_profile->getPrivateProfileString(
        nullptr, nullptr, nullptr, buffer.data(), kSectionsBufferSize, m_fileName.c_str());
    if (length == 0) return;
    // Names ended by NULs, up to the empty one that ends the list.
    for (const char* name = buffer.data(); *name != '\0';) {
        std::string text(name);
        name += text.size() + 1;
        strings.push_back(std::move(text));
    }
}

std::string TIniFile::ReadString(const std::string& section, const std::string& ident,
                                 const std::string& defaultValue) const {
    // A name with a NUL in it can't be in the file (the profile functions would see it cut).
    if (holdsNul(section) || holdsNul(ident)) return defaultValue;
    char buffer[kValueBufferSize];
    const std::uint32_t length =
        m_profile->getPrivateProfileString(section.c_str(), ident.c_str(), defaultValue.c_str(),
                                           buffer, kValueBufferSize, m_fileName.c_str());
    return std::string(buffer, length);
}

std::int32_t TIniFile::ReadInteger(const std::string& section, const std::string& ident,
                                   std::int32_t defaultValue) const {
    std::int32_t value = 0;
    return parseIniInteger(ReadString(section, ident, ""), value) ? value : defaultValue;
}

bool TIniFile::ReadBool(const std::string& section, const std::string& ident,
                        bool defaultValue) const {
    return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void TIniFile::WriteString(const std::string& section, const std::string& ident,
                           const std::string& value) {
    if (!PrivateProfile::canStore(section, ident, value) ||
        !m_profile->writePrivateProfileString(section.c_str(), ident.c_str(), value.c_str(),
                                              m_fileName.c_str())) {
        throw EIniFileException("Unable to write to " + m_fileName);
    }
}

void TIniFile::WriteInteger(const std::string& section, const std::string& ident,
                            std::int32_t value) {
    WriteString(section, ident, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& ident, bool value) {
    WriteString(section, ident, value ? "1" : "0");
}

void TIniFile::UpdateFile() {
    // The flush form reports false also when it worked, so its result says nothing.
    m_profile->writePrivateProfileString(nullptr, nullptr, nullptr, m_fileName.c_str());
}

}  // namespace corvane
