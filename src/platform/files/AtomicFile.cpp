#include "platform/files/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#ifndef _WIN32
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
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

std::string writeFileAtomically(const std::string& path, const std::string& bytes, bool durable) {
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
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return fail(errno);
        done += static_cast<std::size_t>(n);
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

std::string writeFileAtomically(const std::string& path, const std::string& bytes,
                                bool /*durable*/) {
    static std::atomic<unsigned> counter{0};
    const std::string temp = folderOf(path) + "\\" + tempPrefix(path) + std::to_string(counter++);
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << bytes;
        out.flush();
        if (!out) return "cannot write " + temp;
    }
    std::error_code error;
    std::filesystem::rename(temp, path, error);
    if (error) {
        std::filesystem::remove(temp, error);
        return "cannot replace " + path;
    }
    return {};
}

void removeStaleTempFiles(const std::string&) {}

bool canWriteFile(const std::string& path) {
    std::error_code error;
    if (std::filesystem::exists(path, error)) {
        const auto perms = std::filesystem::status(path, error).permissions();
        return (perms & std::filesystem::perms::owner_write) != std::filesystem::perms::none;
    }
    return std::filesystem::is_directory(folderOf(path), error);
}

#endif

}  // namespace corvane
