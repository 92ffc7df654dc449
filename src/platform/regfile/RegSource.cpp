#include "platform/regfile/RegSource.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace corvane {

namespace {

class MemorySource : public RegSource {
public:
    explicit MemorySource(std::string bytes) : m_bytes(std::move(bytes)) {}

    std::size_t size() const override { return m_bytes.size(); }

    bool read(std::size_t begin, std::size_t end, std::string& out) const override {
        if (begin > end || end > m_bytes.size()) return false;
        out.append(m_bytes, begin, end - begin);
        return true;
    }

    bool scan(std::size_t begin, std::size_t end, std::size_t pieceSize,
              const std::function<void(std::string_view)>& each) const override {
        if (begin > end || end > m_bytes.size()) return false;
        const std::string_view all(m_bytes);
        for (std::size_t at = begin; at < end; at += pieceSize)
            each(all.substr(at, std::min(pieceSize, end - at)));
        return true;
    }

private:
    std::string m_bytes;
};

#ifndef _WIN32

// The file stays open: a replacement by rename (as every save makes) leaves these bytes as they
// were. A write in place would not, so every read checks that size and modification time are
// those the file had when it was opened.
class FileSource : public RegSource {
public:
    FileSource(int fd, const struct stat& st)
        : m_fd(fd),
          m_size(static_cast<std::size_t>(st.st_size)),
          m_modified(st.st_mtim.tv_sec),
          m_modifiedNs(st.st_mtim.tv_nsec) {}
    ~FileSource() override { ::close(m_fd); }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    std::size_t size() const override { return m_size; }

    bool read(std::size_t begin, std::size_t end, std::string& out) const override {
        if (begin > end || end > m_size) return false;
        // Values are read key by key, often one key after another in either direction: the
        // aligned block around a key serves its neighbours too.
        if (begin < m_blockBegin || end > m_blockBegin + m_blockSize) {
            constexpr std::size_t kBlock = 64 * 1024;
            const std::size_t from = begin / kBlock * kBlock;
            const std::size_t to = std::min(m_size, (end + kBlock - 1) / kBlock * kBlock);
            if (to - from > m_blockCapacity) {
                m_block = std::make_unique_for_overwrite<char[]>(to - from);
                m_blockCapacity = to - from;
            }
            m_blockBegin = from;
            m_blockSize = to - from;
            if (!readAt(from, m_block.get(), m_blockSize) || !unchanged()) {
                m_blockSize = 0;
                return false;
            }
        }
        out.append(m_block.get() + (begin - m_blockBegin), end - begin);
        return true;
    }

    bool scan(std::size_t begin, std::size_t end, std::size_t pieceSize,
              const std::function<void(std::string_view)>& each) const override {
        if (begin > end || end > m_size) return false;
        const std::size_t size = std::min(pieceSize, end - begin);
        const auto buffer = std::make_unique_for_overwrite<char[]>(size);
        for (std::size_t at = begin; at < end;) {
            const std::size_t n = std::min(size, end - at);
            if (!readAt(at, buffer.get(), n)) return false;
            each(std::string_view(buffer.get(), n));
            at += n;
        }
        return unchanged();
    }

private:
    bool readAt(std::size_t at, char* into, std::size_t count) const {
        while (count > 0) {
            const ssize_t n = ::pread(m_fd, into, count, static_cast<off_t>(at));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            into += n;
            at += static_cast<std::size_t>(n);
            count -= static_cast<std::size_t>(n);
        }
        return true;
    }

    bool unchanged() const {
        struct stat st {};
        return ::fstat(m_fd, &st) == 0 && static_cast<std::size_t>(st.st_size) == m_size &&
               st.st_mtim.tv_sec == m_modified && st.st_mtim.tv_nsec == m_modifiedNs;
    }

    int m_fd;
    std::size_t m_size;
    time_t m_modified;
    long m_modifiedNs;
    mutable std::unique_ptr<char[]> m_block;
    mutable std::size_t m_blockCapacity = 0;
    mutable std::size_t m_blockBegin = 0;
    mutable std::size_t m_blockSize = 0;
};

#endif

}  // namespace

std::shared_ptr<const RegSource> memorySource(std::string bytes) {
    return std::make_shared<MemorySource>(std::move(bytes));
}

#ifndef _WIN32

FileRead openFileSource(const std::string& path, std::shared_ptr<const RegSource>& source,
                        FileIdentity& identity, std::string& error) {
    source.reset();
    identity = FileIdentity{};
    // Not blocking, so that a pipe in the file's place does not wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        error = std::strerror(errno);
        if (errno == ENOENT) return FileRead::Missing;
        return errno == EISDIR ? FileRead::NotRegular : FileRead::Failed;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        error = std::strerror(errno);
        ::close(fd);
        return FileRead::Failed;
    }
    if (!S_ISREG(st.st_mode)) {
        error = "not a regular file";
        ::close(fd);
        return FileRead::NotRegular;
    }
    source = std::make_shared<FileSource>(fd, st);
    identity = identityOf(st);
    return FileRead::Ok;
}

#else

FileRead openFileSource(const std::string& path, std::shared_ptr<const RegSource>& source,
                        FileIdentity& identity, std::string& error) {
    source.reset();
    std::string bytes;
    const FileRead result = readFileWithIdentity(path, bytes, identity, error);
    if (result == FileRead::Ok) source = memorySource(std::move(bytes));
    return result;
}

#endif

}  // namespace corvane
