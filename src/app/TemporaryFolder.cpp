#include "app/TemporaryFolder.h"

#include <filesystem>

namespace corvane {

TemporaryFolder::~TemporaryFolder() {
    if (m_path.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

TemporaryFolder& TemporaryFolder::operator=(TemporaryFolder&& other) noexcept {
    if (this != &other) {
        TemporaryFolder gone(std::move(*this));
        m_path = std::move(other.m_path);
        other.m_path.clear();
    }
    return *this;
}

std::string TemporaryFolder::release() {
    std::string path = std::move(m_path);
    m_path.clear();
    return path;
}

}  // namespace corvane
