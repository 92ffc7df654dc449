#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/PrivateProfile.h"

namespace corvane {

// Raised when a value can't be written: "Unable to write to <path>".
class EIniFileException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The class library's INI file class, over the profile functions: every call goes to the file
// at once (nothing is kept here), so the file's behaviour is the profile functions' (see
// PrivateProfile).
class TIniFile {
public:
    // The profile functions read a value through a buffer of this many bytes, so at most one
    // less counts, and the section list through the other.
    static constexpr std::uint32_t kValueBufferSize = 2048;
    static constexpr std::uint32_t kSectionsBufferSize = 16384;

    // Remembers the path; the file is neither opened nor created.
    TIniFile(PrivateProfile& profile, std::string fileName);
    // The same over a back end of its own, our INI files. Code that has the platform's profile
    // functions passes them instead, so that the Windows build uses Windows' own.
    explicit TIniFile(std::string fileName);
    ~TIniFile();
    TIniFile(TIniFile&&) noexcept;
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    const std::string& FileName() const { return m_fileName; }

    // Clears the list and fills it with the section names, in file order, as spelled in the
    // file; a missing file gives an empty list.
    void ReadSections(std::vector<std::string>& strings) const;
    // The key's value, or the default when the file, section or key is missing.
    std::string ReadString(const std::string& section, const std::string& ident,
                           const std::string& defaultValue) const;
    // The key's value read by parseIniInteger; the default when it is missing or not an integer.
    std::int32_t ReadInteger(const std::string& section, const std::string& ident,
                             std::int32_t defaultValue) const;
    // ReadInteger with 1 for true and 0 for false; true when the result is not 0.
    bool ReadBool(const std::string& section, const std::string& ident, bool defaultValue) const;

    // Each write reaches the file at once and raises EIniFileException when it can't: the file
    // stays as the writes before made it. A section, key or value that the file can't hold
    // (see PrivateProfile::canStore) raises too, without writing.
    void WriteString(const std::string& section, const std::string& ident,
                     const std::string& value);
    void WriteInteger(const std::string& section, const std::string& ident, std::int32_t value);
    void WriteBool(const std::string& section, const std::string& ident, bool value);
    // Makes sure the writes so far are in the file (the flush form of the profile functions).
    void UpdateFile();

private:
    std::unique_ptr<PrivateProfile> m_ownProfile;
    PrivateProfile* m_profile;
    std::string m_fileName;
};

}  // namespace corvane
