#include "platform/regfile/RegFileStore.h"

#include "platform/files/AtomicFile.h"
#include "platform/files/FolderLock.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>

namespace corvane {
namespace {

std::string errnoText(int error) {
    return std::strerror(error);
}

long long nanoseconds(const timespec& t) {
    return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

// mkdir -p; true when the folder exists afterwards.
bool makeFolders(const std::string& dir) {
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    return std::filesystem::is_directory(dir, error);
}

class Fd {
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    ~Fd() {
        if (m_fd >= 0) ::close(m_fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

}  // namespace

bool RegFileStore::Identity::operator==(const Identity& other) const {
    if (exists != other.exists) return false;
    if (!exists) return true;
    return device == other.device && inode == other.inode && size == other.size &&
           mtimeNs == other.mtimeNs && ctimeNs == other.ctimeNs;
}

RegFileStore::RegFileStore(std::string path) : m_path(std::move(path)), m_dir(folderOf(m_path)) {
    replaceTree(load(m_identity));
}

RegFileStore::~RegFileStore() {
    // Changes made outside an update are saved at once; this only catches an update that was
    // never ended, and a save that failed earlier.
    if (!m_journal.empty()) save();
}

RegFileStore::Identity RegFileStore::Identity::of(const struct stat& st) {
    Identity id;
    id.exists = true;
    id.device = st.st_dev;
    id.inode = st.st_ino;
    id.size = st.st_size;
    id.mtimeNs = nanoseconds(st.st_mtim);
    id.ctimeNs = nanoseconds(st.st_ctim);
    return id;
}

RegFileStore::Identity RegFileStore::identityNow() const {
    struct stat st {};
    return ::stat(m_path.c_str(), &st) == 0 ? Identity::of(st) : Identity{};
}

RegistryTree RegFileStore::load(Identity& identity) const {
    Fd fd(::open(m_path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        if (errno == ENOENT) {
            identity = Identity{};
            return RegistryTree(RegFileVersion::Regedit4, RegFileEncoding::Ansi);
        }
        throw RegistryFileError("Cannot read the registry file " + m_path + ": " +
                                errnoText(errno));
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        throw RegistryFileError("Cannot read the registry file " + m_path + ": not a regular file");
    }
    std::string bytes;
    // One byte more than the file, so that reading to its end needs no larger buffer, and room
    // for turning Windows-1252 text into UTF-8 where it lies.
    const auto size = static_cast<std::size_t>(st.st_size);
    bytes.reserve(size + size / 16 + 1);
    bytes.resize(size + 1);
    std::size_t done = 0;
    while (true) {
        if (done == bytes.size()) bytes.resize(bytes.size() + 65536);
        const ssize_t n = ::read(fd.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            throw RegistryFileError("Cannot read the registry file " + m_path + ": " +
                                    errnoText(errno));
        }
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    identity = Identity::of(st);
    try {
        return RegistryTree::parseLazily(std::move(bytes));
    } catch (const RegFormatError& e) {
        throw RegistryFileError("The registry file " + m_path + " cannot be read: line " +
                                std::to_string(e.line()) + ": " + e.reason());
    }
}

void RegFileStore::refresh() {
    // Pick up what another process saved, unless this one has changes of its own waiting: those
    // are merged when they are saved.
    if (!m_journal.empty()) return;
    if (identityNow() == m_identity) return;
    try {
        Identity id;
        RegistryTree tree = load(id);
        replaceTree(std::move(tree));
        m_identity = id;
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
    if (!(current == m_identity)) {
        Identity id;
        RegistryTree tree;
        try {
            tree = load(id);
        } catch (const RegistryFileError& e) {
            return e.what();
        }
        for (const RegChange& change : m_journal)
            tree.apply(change);
        replaceTree(std::move(tree));
        m_identity = id;
    }
    if (const std::string error = writeFileAtomically(m_path, tree().serialize()); !error.empty()) {
        return "Cannot save the registry file " + m_path + ": " + error;
    }
    m_identity = identityNow();
    m_journal.clear();
    return {};
}

}  // namespace corvane
