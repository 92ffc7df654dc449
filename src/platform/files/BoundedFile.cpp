#include "platform/files/BoundedFile.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <ctime>

#ifdef _WIN32
#include <filesystem>
#include <fstream>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace corvane {

#ifndef _WIN32

BoundedFile::BoundedFile(const std::string& path, std::uint64_t limit) : m_limit(limit) {
    // Not blocking, so that opening a pipe does not wait for a writer.
    m_fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (m_fd < 0) {
        m_status = (errno == ENOENT || errno == ENOTDIR) ? Status::Missing
                   : errno == EISDIR                     ? Status::NotRegular
                                                         : Status::Failed;
        return;
    }
    struct stat st {};
    if (::fstat(m_fd, &st) != 0) {
        m_status = Status::Failed;
    } else if (!S_ISREG(st.st_mode)) {
        m_status = Status::NotRegular;
    } else if (static_cast<std::uint64_t>(st.st_size) > limit) {
        m_status = Status::TooLarge;
    } else {
        m_size = static_cast<std::uint64_t>(st.st_size);
        m_status = Status::Ok;
        return;
    }
    ::close(m_fd);
    m_fd = -1;
}

BoundedFile::~BoundedFile() {
    if (m_fd >= 0) ::close(m_fd);
}

bool BoundedFile::readAt(std::uint64_t offset, std::size_t length, void* out) {
    if (!ok() || offset > m_size || length > m_size - offset) return false;
    auto* bytes = static_cast<char*>(out);
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n =
            ::pread(m_fd, bytes + done, length - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;  // an error, or the file shrank meanwhile
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool BoundedFile::readAll(std::string& out) {
    out.clear();
    if (!ok()) return false;
    // Reads to the end rather than to the size seen at opening, but never past the limit.
    out.resize(static_cast<std::size_t>(m_size) + 1);
    std::size_t done = 0;
    for (;;) {
        if (done == out.size()) {
            if (out.size() > m_limit) return false;
            out.resize(std::min<std::uint64_t>(m_limit + 1, out.size() * 2));
        }
        const ssize_t n =
            ::pread(m_fd, out.data() + done, out.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    if (done > m_limit) return false;
    out.resize(done);
    return true;
}

FileStamp fileStamp(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return {};
    FileStamp stamp;
    stamp.identity = std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino) + ":" +
                     std::to_string(st.st_size) + ":" + std::to_string(st.st_mtim.tv_sec) + "." +
                     std::to_string(st.st_mtim.tv_nsec) + ":" + std::to_string(st.st_ctim.tv_sec) +
                     "." + std::to_string(st.st_ctim.tv_nsec);
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const std::time_t changed = std::max(st.st_mtim.tv_sec, st.st_ctim.tv_sec);
    stamp.recent = now.tv_sec - changed < 2;
    return stamp;
}

#else

BoundedFile::BoundedFile(const std::string& path, std::uint64_t limit)
    : m_limit(limit), m_path(path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (error || !std::filesystem::exists(status)) {
        m_status = Status::Missing;
    } else if (!std::filesystem::is_regular_file(status)) {
        m_status = Status::NotRegular;
    } else {
        const auto size = std::filesystem::file_size(path, error);
        if (error) {
            m_status = Status::Failed;
        } else if (size > limit) {
            m_status = Status::TooLarge;
        } else {
            m_size = size;
            m_status = Status::Ok;
        }
    }
}

BoundedFile::~BoundedFile() = default;

bool BoundedFile::readAt(std::uint64_t offset, std::size_t length, void* out) {
    if (!ok() || offset > m_size || length > m_size - offset) return false;
    std::ifstream in(m_path, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(offset));
    in.read(static_cast<char*>(out), static_cast<std::streamsize>(length));
    return static_cast<std::size_t>(in.gcount()) == length;
}

bool BoundedFile::readAll(std::string& out) {
    out.clear();
    if (!ok()) return false;
    std::ifstream in(m_path, std::ios::binary);
    out.resize(static_cast<std::size_t>(std::min<std::uint64_t>(m_limit + 1, m_size + 65536)));
    in.read(out.data(), static_cast<std::streamsize>(out.size()));
    const auto got = static_cast<std::size_t>(in.gcount());
    // Filling the whole buffer means the file grew meanwhile; its end is unknown.
    if (got == out.size() || in.bad()) return false;
    out.resize(got);
    return true;
}

FileStamp fileStamp(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error) return {};
    const auto time = std::filesystem::last_write_time(path, error);
    FileStamp stamp;
    stamp.identity = std::to_string(size) + ":" + std::to_string(time.time_since_epoch().count());
    stamp.recent = std::filesystem::file_time_type::clock::now() - time < std::chrono::seconds(2);
    return stamp;
}

#endif

}  // namespace corvane
