#include "platform/regfile/RegFileStore.h"

#include "platform/files/AtomicFile.h"
#include "platform/files/FolderLock.h"

#include <filesystem>
#include <optional>

namespace corvane {
namespace {

// mkdir -p; true when the folder exists afterwards.
bool makeFolders(const std::string& dir) {
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    return std::filesystem::is_directory(dir, error);
}

}  // namespace

RegFileStore::RegFileStore(std::string path) : m_path(std::move(path)), m_dir(folderOf(m_path)) {
    replaceTree(load(m_identity));
}

RegFileStore::~RegFileStore() {
    // Changes made outside an update are saved at once; this only catches an update that was
    // never ended, and a save that failed earlier.
    if (!m_journal.empty()) save();
}

RegFileStore::Identity RegFileStore::identityNow() const {
    return fileIdentity(m_path);
}

RegistryTree RegFileStore::load(Identity& identity) const {
    std::shared_ptr<const RegSource> source;
    std::string error;
    switch (openFileSource(m_path, source, identity, error)) {
        case FileRead::Ok:
            break;
        case FileRead::Missing:
            return RegistryTree(RegFileVersion::Regedit4, RegFileEncoding::Ansi);
        case FileRead::NotRegular:
            throw RegistryFileError("Cannot read the registry file " + m_path +
                                    ": not a regular file");
        case FileRead::Failed:
            throw RegistryFileError("Cannot read the registry file " + m_path + ": " + error);
    }
    try {
        return RegistryTree::parseLazily(std::move(source));
    } catch (const RegSourceError& e) {
        throw RegistryFileError("Cannot read the registry file " + m_path + ": " + e.what());
    } catch (const RegFormatError& e) {
        throw RegistryFileError("The registry file " + m_path + " cannot be read: line " +
                                std::to_string(e.line()) + ": " + e.reason());
    }
}

// Reads the file again and applies this process's pending changes on top; throws
// RegistryFileError.
void RegFileStore::reload() {
    Identity id;
    RegistryTree tree = load(id);
    for (const RegChange& change : m_journal)
        tree.apply(change);
    replaceTree(std::move(tree));
    m_identity = id;
}

void RegFileStore::refresh() {
    // Pick up what another process saved, unless this one has changes of its own waiting: those
    // are merged when they are saved. A tree that could no longer read its file is read again
    // either way.
    const bool lost = tree().sourceLost();
    if (!m_journal.empty() && !lost) return;
    if (!lost && identityNow() == m_identity) return;
    try {
        reload();
    } catch (const RegistryFileError&) {
        // Keep working on what was read before; saving reports the problem.
    }
}

void RegFileStore::record(const RegChange& change) {
    m_journal.push_back(change);
}

std::string RegFileStore::save() {
    if (m_journal.empty()) return {};
    if (!makeFolders(m_dir)) {
        return "Cannot save the registry file " + m_path + ": cannot create the folder " + m_dir;
    }
    std::string lockError;
    const std::optional<FolderLock> lock = FolderLock::acquire(m_dir, lockError);
    if (!lock) return "Cannot lock the registry file " + m_path + ": " + lockError;

    // Under the lock no other process is writing, so any temporary file left in the folder was
    // left by a process that died while saving.
    removeStaleTempFiles(m_path);

    const Identity current = identityNow();
    if (current.exists && !canWriteFile(m_path)) {
        return "Cannot save the registry file " + m_path + ": the file is read-only";
    }
    try {
        // A tree whose file was written in place meanwhile is read again, as one replaced.
        if (!(current == m_identity) || tree().sourceLost()) reload();
        // Unchanged keys are copied from the file the tree was read from; if that can't be done
        // as it was read (the file was written in place just now), it is read again, once.
        for (int attempt = 0;; ++attempt) {
            const RegistryTree& saved = tree();
            const std::string error = writeFileAtomically(
                m_path, [&saved](const std::function<bool(std::string_view)>& put) {
                    return saved.write(put);
                });
            if (error.empty()) break;
            if (attempt > 0 || !saved.sourceLost()) {
                return "Cannot save the registry file " + m_path + ": " + error;
            }
            reload();
        }
    } catch (const RegistryFileError& e) {
        return e.what();
    }
    m_identity = identityNow();
    m_journal.clear();
    return {};
}

}  // namespace corvane
