#include "platform/files/FileIdentity.h"

#include <cerrno>
#include <cstring>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "platform/win32/Win32Error.h"
#endif

namespace corvane {

#ifndef _WIN32

namespace {

std::int64_t nanoseconds(const timespec& t) {
    return static_cast<std::int64_t>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

}  // namespace

FileIdentity identityOf(const struct stat& st) {
    FileIdentity id;
    id.exists = true;
    id.device = static_cast<std::uint64_t>(st.st_dev);
    id.file = static_cast<std::uint64_t>(st.st_ino);
    id.size = static_cast<std::uint64_t>(st.st_size);
    id.modified = nanoseconds(st.st_mtim);
    id.changed = nanoseconds(st.st_ctim);
    return id;
}

namespace {

class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
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

FileIdentity fileIdentity(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? identityOf(st) : FileIdentity{};
}

FileRead readFileWithIdentity(const std::string& path, std::string& bytes, FileIdentity& identity,
                              std::string& error) {
    bytes.clear();
    identity = FileIdentity{};
    // Not blocking, so that a pipe in the file's place does not wait for a writer.
    const Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.get() < 0) {
        error = std::strerror(errno);
        if (errno == ENOENT) return FileRead::Missing;
        return errno == EISDIR ? FileRead::NotRegular : FileRead::Failed;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        error = std::strerror(errno);
        return FileRead::Failed;
    }
    if (!S_ISREG(st.st_mode)) {
        error = "not a regular file";
        return FileRead::NotRegular;
    }
    // One byte more than the file, so that reading to its end needs no larger buffer, and room
    // for turning the text into UTF-8 where it lies.
    const auto size = static_cast<std::size_t>(st.st_size);
    bytes.reserve(size + size / 16 + 1);
    bytes.resize(size + 1);
    std::size_t done = 0;
    for (;;) {
        if (done == bytes.size()) bytes.resize(bytes.size() + 65536);
        const ssize_t n = ::read(fd.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            error = std::strerror(errno);
            bytes.clear();
            return FileRead::Failed;
        }
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    identity = identityOf(st);
    return FileRead::Ok;
}

#else

namespace {

class Handle {
public:
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    ~Handle() {
        if (m_handle != INVALID_HANDLE_VALUE) CloseHandle(m_handle);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return m_handle; }

private:
    HANDLE m_handle;
};

std::int64_t ticks(const FILETIME& t) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) |
                                     t.dwLowDateTime);
}

// Every sharing mode, so that others may still read, write and replace the file meanwhile.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool identityOf(HANDLE handle, FileIdentity& id) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle, &info)) return false;
    id.exists = true;
    id.device = info.dwVolumeSerialNumber;
    id.file = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    id.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    id.modified = ticks(info.ftLastWriteTime);
    FILE_BASIC_INFO basic{};
    if (GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic))
        id.changed = basic.ChangeTime.QuadPart;
    return true;
}

bool missing(DWORD code) {
    return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND;
}

}  // namespace

FileIdentity fileIdentity(const std::string& path) {
    // Backup semantics, so that a folder opens too (for its attributes only).
    const Handle handle(CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    FileIdentity id;
    if (handle.get() == INVALID_HANDLE_VALUE || !identityOf(handle.get(), id)) return {};
    return id;
}

FileRead readFileWithIdentity(const std::string& path, std::string& bytes, FileIdentity& identity,
                              std::string& error) {
    bytes.clear();
    identity = FileIdentity{};
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        error = "not a regular file";
        return FileRead::NotRegular;
    }
    const Handle handle(CreateFileA(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (handle.get() == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        error = win32ErrorText(code);
        return missing(code) ? FileRead::Missing : FileRead::Failed;
    }
    // A device (NUL, CON, a pipe) is no file to read.
    if (GetFileType(handle.get()) != FILE_TYPE_DISK) {
        error = "not a regular file";
        return FileRead::NotRegular;
    }
    FileIdentity id;
    if (!identityOf(handle.get(), id)) {
        error = win32ErrorText(GetLastError());
        return FileRead::Failed;
    }
    // Room for turning the text into UTF-8 where it lies.
    bytes.reserve(static_cast<std::size_t>(id.size + id.size / 16 + 1));
    for (;;) {
        char chunk[65536];
        DWORD got = 0;
        if (!ReadFile(handle.get(), chunk, sizeof chunk, &got, nullptr)) {
            error = win32ErrorText(GetLastError());
            bytes.clear();
            return FileRead::Failed;
        }
        if (got == 0) break;
        bytes.append(chunk, got);
    }
    identity = id;
    return FileRead::Ok;
}

#endif

}  // namespace corvane
