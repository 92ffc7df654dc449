#include "platform/files/FolderLock.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <utility>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#else
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "platform/win32/Win32Error.h"
#endif

namespace corvane {

FolderLock::FolderLock(FolderLock&& other) noexcept
    : m_handle(std::exchange(other.m_handle, nullptr)) {}

FolderLock& FolderLock::operator=(FolderLock&& other) noexcept {
    if (this != &other) {
        release();
        m_handle = std::exchange(other.m_handle, nullptr);
    }
    return *this;
}

FolderLock::~FolderLock() {
    release();
}

#ifndef _WIN32

namespace {

// The descriptor is stored off by one, so that descriptor 0 is not mistaken for no lock.
void* toHandle(int fd) {
    return reinterpret_cast<void*>(static_cast<std::intptr_t>(fd) + 1);
}

int toFd(void* handle) {
    return static_cast<int>(reinterpret_cast<std::intptr_t>(handle) - 1);
}

}  // namespace

std::optional<FolderLock> FolderLock::acquire(const std::string& folder, std::string& error) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        error = std::strerror(errno);
        return std::nullopt;
    }
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            error = std::strerror(errno);
            ::close(fd);
            return std::nullopt;
        }
    }
    return FolderLock(toHandle(fd));
}

void FolderLock::release() {
    if (m_handle != nullptr) ::close(toFd(m_handle));
    m_handle = nullptr;
}

#else

std::optional<FolderLock> FolderLock::acquire(const std::string& folder, std::string& error) {
    // A folder can't be locked on Windows; a lock file inside it, opened without sharing, can.
    // Others wait for it to be closed.
    const std::string path = folder + "\\.corvane.lock";
    for (;;) {
        HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr);
        if (file != INVALID_HANDLE_VALUE) return FolderLock(file);
        const DWORD code = ::GetLastError();
        if (code != ERROR_SHARING_VIOLATION) {
            error = win32ErrorText(code);
            return std::nullopt;
        }
        ::Sleep(10);
    }
}

void FolderLock::release() {
    if (m_handle != nullptr) ::CloseHandle(static_cast<HANDLE>(m_handle));
    m_handle = nullptr;
}

#endif

}  // namespace corvane
