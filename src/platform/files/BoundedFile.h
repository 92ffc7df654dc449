#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace corvane {

// A regular file opened for reading, refused when it is larger than a limit, so that a file of
// any size or kind (a folder, a pipe, a device) can be handed in without harm. Reads stay
// within the size found when the file was opened.
class BoundedFile {
public:
    enum class Status {
        Ok,
        Missing,     // no such file (or a folder on its path is missing)
        NotRegular,  // a folder, pipe, device...
        TooLarge,    // larger than the limit
        Failed,      // could not be opened or examined (permissions, I/O error)
    };

    BoundedFile(const std::string& path, std::uint64_t limit);
    ~BoundedFile();
    BoundedFile(const BoundedFile&) = delete;
    BoundedFile& operator=(const BoundedFile&) = delete;

    Status status() const { return m_status; }
    bool ok() const { return m_status == Status::Ok; }
    std::uint64_t size() const { return m_size; }

    // Reads length bytes at offset; false when they do not all lie within the file or the read
    // fails.
    bool readAt(std::uint64_t offset, std::size_t length, void* out);
    // The whole file; false when the read fails or the file grew past the limit meanwhile.
    bool readAll(std::string& out);

private:
    std::uint64_t m_limit;
    std::uint64_t m_size = 0;
    Status m_status = Status::Failed;
#ifdef _WIN32
    std::string m_path;
#else
    int m_fd = -1;
#endif
};

// What identifies a file's present contents: device, inode, size, modification and change
// times. Two equal identities mean the file was not replaced or written in between, unless it
// was written within one tick of the file system's clock: recent says that it was modified so
// lately (within two seconds) that an equal identity proves nothing yet.
struct FileStamp {
    std::string identity;  // empty when the file is missing
    bool recent = false;
};
FileStamp fileStamp(const std::string& path);

}  // namespace corvane
