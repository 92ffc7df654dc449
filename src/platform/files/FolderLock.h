#pragma once

#include <optional>
#include <string>

namespace corvane {

// An exclusive lock that writers of the files in one folder take before they read, change and
// replace a file there, so that two processes never lose each other's changes. It is held until
// the object is destroyed (or the process ends, also when it is killed).
class FolderLock {
public:
    // Waits for the lock on the folder. Returns nothing, with the reason in error, when the
    // folder can't be opened or locked.
    static std::optional<FolderLock> acquire(const std::string& folder, std::string& error);

    FolderLock(FolderLock&& other) noexcept;
    FolderLock& operator=(FolderLock&& other) noexcept;
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    ~FolderLock();

private:
    explicit FolderLock(void* handle) : m_handle(handle) {}
    void release();

    // A descriptor (POSIX) or a HANDLE (Windows), kept opaque so that no system header leaks.
    void* m_handle = nullptr;
};

}  // namespace corvane
