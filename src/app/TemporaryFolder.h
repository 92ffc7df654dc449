#pragma once

#include <string>

namespace corvane {

// A folder removed with everything in it when the object goes, so that a run leaves no trace.
class TemporaryFolder {
public:
    TemporaryFolder() = default;
    explicit TemporaryFolder(std::string path) : m_path(std::move(path)) {}
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    TemporaryFolder(TemporaryFolder&& other) noexcept : m_path(std::move(other.m_path)) {
        other.m_path.clear();
    }
    TemporaryFolder& operator=(TemporaryFolder&& other) noexcept;
    const std::string& path() const { return m_path; }
    // Keeps the folder: the caller takes it over.
    std::string release();

private:
    std::string m_path;
};

}  // namespace corvane
