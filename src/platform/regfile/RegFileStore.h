#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/files/FileIdentity.h"
#include "platform/regfile/MemoryRegistryStore.h"

namespace corvane {

// The registry file could not be read, parsed or saved. The message names the file and, for a
// file that does not parse, the line and the reason.
class RegistryFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A registry kept in one text file in the format regedit exports (REGEDIT4 or version 5).
//
// Each top-level operation's changes are saved together: written to a temporary file beside the
// registry, flushed, renamed over it and the folder flushed, so a crash leaves the old file or
// the new one. Several processes may share the file: saving happens under a lock, and when the
// file changed since this process read it, it is read again and this process's pending changes
// are applied on top before writing. A file that does not parse is never written.
class RegFileStore : public MemoryRegistryStore {
public:
    // Reads the file; a missing file is an empty registry, created at the first write. Throws
    // RegistryFileError.
    explicit RegFileStore(std::string path);
    ~RegFileStore() override;
    RegFileStore(const RegFileStore&) = delete;
    RegFileStore& operator=(const RegFileStore&) = delete;

    const std::string& path() const { return m_path; }

protected:
    void refresh() override;
    void record(const RegChange& change) override;
    std::string save() override;

private:
    using Identity = FileIdentity;

    Identity identityNow() const;
    RegistryTree load(Identity& identity) const;
    void reload();

    std::string m_path;
    std::string m_dir;
    Identity m_identity;
    std::vector<RegChange> m_journal;
};

}  // namespace corvane
