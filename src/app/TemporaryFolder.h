#pragma once

#include <string>

namespace corvane {

// A folder removed with everything in it when the object goes, so that a run leaves no trace.
class TemporaryFolder {
public:
    TemporaryFolder();
    explicit TemporaryFolder(std::string path);
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    TemporaryFolder(TemporaryFolder&& other) noexcept;
    TemporaryFolder& operator=(TemporaryFolder&& other) noexcept;
    const std::string& path() const { return m_path; }
    // Keeps the folder: the caller takes it over.
    std::string release();

    // Removes every folder still held, for a program about to end without unwinding (a signal).
    static void removeAllNow();

private:
    std::string m_path;
};

}  // namespace corvane
