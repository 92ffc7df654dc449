#include "platform/files/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <cstring>

#ifndef _WIN32
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <algorithm>

#include "platform/win32/Win32Error.h"
#endif

namespace corvane {

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    if (slash == std::string::npos) return ".";
    if (slash == 0) return path.substr(0, 1);
    return path.substr(0, slash);
}

namespace {

std::string tempPrefix(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return "." + (slash == std::string::npos ? path : path.substr(slash + 1)) + ".tmp-";
}

}  // namespace

#ifndef _WIN32

std::string writeFileAtomically(const std::string& path, const FileFiller& fill, bool durable) {
    static std::atomic<unsigned> counter{0};
    const std::string dir = folderOf(path);
    const std::string temp =
        dir + "/" + tempPrefix(path) + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return std::strerror(errno);
    auto fail = [&](int error) {
        ::close(fd);
        ::unlink(temp.c_str());
        return std::string(std::strerror(error));
    };
    // The new file takes the old one's permissions and, where allowed, its owner.
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        ::fchmod(fd, st.st_mode & 07777);
        [[maybe_unused]] const int ignored = ::fchown(fd, st.st_uid, st.st_gid);
    }
    int writeError = 0;
    std::string fillError;
    try {
        fillError = fill([&](std::string_view bytes) {
            std::size_t done = 0;
            while (done < bytes.size()) {
                const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
                if (n < 0 && errno == EINTR) continue;
                if (n < 0) {
                    writeError = errno;
                    return false;
                }
                done += static_cast<std::size_t>(n);
            }
            return true;
        });
    } catch (...) {
        ::close(fd);
        ::unlink(temp.c_str());
        throw;
    }
    if (writeError != 0) return fail(writeError);
    if (!fillError.empty()) {
        ::close(fd);
        ::unlink(temp.c_str());
        return fillError;
    }
    if (durable && ::fsync(fd) != 0) return fail(errno);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        return std::strerror(error);
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        return std::strerror(error);
    }
    // The rename itself is made durable by flushing the folder.
    if (const int dirFd = durable ? ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1;
        dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return {};
}

void removeStaleTempFiles(const std::string& path) {
    const std::string dir = folderOf(path);
    const std::string prefix = tempPrefix(path);
    DIR* listing = ::opendir(dir.c_str());
    if (listing == nullptr) return;
    while (const dirent* entry = ::readdir(listing)) {
        if (std::strncmp(entry->d_name, prefix.c_str(), prefix.size()) == 0) {
            ::unlink((dir + "/" + entry->d_name).c_str());
        }
    }
    ::closedir(listing);
}

bool canWriteFile(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        return S_ISREG(st.st_mode) && (st.st_mode & 0222) != 0 && ::access(path.c_str(), W_OK) == 0;
    }
    return ::access(folderOf(path).c_str(), W_OK) == 0;
}

#else

namespace {

std::string lastErrorText(const std::string& what) {
    return what + ": " + win32ErrorText(GetLastError());
}

}  // namespace

std::string writeFileAtomically(const std::string& path, const FileFiller& fill, bool durable) {
    static std::atomic<unsigned> counter{0};
    const std::string temp = folderOf(path) + "\\" + tempPrefix(path) +
                             std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(counter++);
    const HANDLE file = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return lastErrorText("cannot create " + temp);
    auto fail = [&](const std::string& what) {
        const std::string text = lastErrorText(what);
        CloseHandle(file);
        DeleteFileA(temp.c_str());
        return text;
    };
    bool written = true;
    std::string fillError;
    try {
        fillError = fill([&](std::string_view bytes) {
            std::size_t done = 0;
            while (written && done < bytes.size()) {
                const auto chunk =
                    static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
                DWORD count = 0;
                written = WriteFile(file, bytes.data() + done, chunk, &count, nullptr) && count > 0;
                done += count;
            }
            return written;
        });
    } catch (...) {
        CloseHandle(file);
        DeleteFileA(temp.c_str());
        throw;
    }
    if (!written) return fail("cannot write " + temp);
    if (!fillError.empty()) {
        CloseHandle(file);
        DeleteFileA(temp.c_str());
        return fillError;
    }
    if (durable && !FlushFileBuffers(file)) return fail("cannot flush " + temp);
    if (!CloseHandle(file)) {
        const std::string text = lastErrorText("cannot write " + temp);
        DeleteFileA(temp.c_str());
        return text;
    }
    // Write-through: the call returns once the new name is on disk.
    const DWORD flags = MOVEFILE_REPLACE_EXISTING | (durable ? MOVEFILE_WRITE_THROUGH : 0);
    // Another process that has the file open for a moment (a reader, a virus scanner) makes the
    // replace fail with a sharing error; it is tried again for up to a second.
    for (int attempt = 0; !MoveFileExA(temp.c_str(), path.c_str(), flags); ++attempt) {
        const DWORD code = GetLastError();
        if ((code != ERROR_ACCESS_DENIED && code != ERROR_SHARING_VIOLATION) || attempt == 100) {
            const std::string text = "cannot replace " + path + ": " + win32ErrorText(code);
            DeleteFileA(temp.c_str());
            return text;
        }
        Sleep(10);
    }
    return {};
}

void removeStaleTempFiles(const std::string& path) {
    const std::string dir = folderOf(path);
    WIN32_FIND_DATAA entry{};
    const HANDLE listing = FindFirstFileA((dir + "\\" + tempPrefix(path) + "*").c_str(), &entry);
    if (listing == INVALID_HANDLE_VALUE) return;
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            DeleteFileA((dir + "\\" + entry.cFileName).c_str());
        }
    } while (FindNextFileA(listing, &entry));
    FindClose(listing);
}

bool canWriteFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) == 0;
    }
    const DWORD folder = GetFileAttributesA(folderOf(path).c_str());
    return folder != INVALID_FILE_ATTRIBUTES && (folder & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

#endif

std::string writeFileAtomically(const std::string& path, const std::string& bytes, bool durable) {
    return writeFileAtomically(
        path,
        [&bytes](const std::function<bool(std::string_view)>& put) {
            return put(bytes) ? std::string() : std::string("cannot write");
        },
        durable);
}

}  // namespace corvane
