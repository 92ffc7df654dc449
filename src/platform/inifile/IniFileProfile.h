#pragma once

#include <optional>
#include <string>

#include "platform/PrivateProfile.h"
#include "platform/inifile/IniDocument.h"

namespace corvane {

// The profile functions over INI files of our own (IniDocument): each write is saved at once,
// atomically (not forced to disk, as Windows does not either), so a failed write leaves the file
// as the writes before it made it, and the flush form has nothing left to do. A file larger than
// IniDocument::kMaxFileSize, one that can't be read or decoded, or anything but a regular file
// holds no sections for reading and is never written.
//
// The last file read is kept and read again only when it changed on disk, so that reading
// many keys of a large file reads it once. A file read within two seconds of its last change is
// read again on the next call, since a second change within the same tick of the file
// system's clock would not show in its stamp.
class IniFileProfile : public PrivateProfile {
public:
    std::uint32_t getPrivateProfileString(const char* section, const char* key,
                                          const char* defaultValue, char* buffer,
                                          std::uint32_t size, const char* fileName) override;
    bool writePrivateProfileString(const char* section, const char* key, const char* value,
                                   const char* fileName) override;

private:
    // The document of the file, from memory when the file has not changed since.
    IniDocument::Load load(const std::string& path);
    void forget();

    std::string m_path;
    std::string m_stamp;  // fileStamp(m_path).identity when m_doc was read or written
    IniDocument m_doc;
    IniDocument::Load m_state = IniDocument::Load::Missing;
    bool m_trusted = false;  // m_doc may stand for the file while its identity stays m_stamp
};

}  // namespace corvane
