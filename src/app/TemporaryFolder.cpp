#include "app/TemporaryFolder.h"

#include <filesystem>
#include <set>

namespace corvane {

namespace {

std::set<const TemporaryFolder*>& liveFolders() {
    static std::set<const TemporaryFolder*> folders;
    return folders;
}

}  // namespace

TemporaryFolder::TemporaryFolder() {
    liveFolders().insert(this);
}

TemporaryFolder::TemporaryFolder(std::string path) : m_path(std::move(path)) {
    liveFolders().insert(this);
}

TemporaryFolder::TemporaryFolder(TemporaryFolder&& other) noexcept
    : m_path(std::move(other.m_path)) {
    other.m_path.clear();
    liveFolders().insert(this);
}

TemporaryFolder::~TemporaryFolder() {
    liveFolders().erase(this);
    if (m_path.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

void TemporaryFolder::removeAllNow() {
    for (const TemporaryFolder* folder : liveFolders()) {
        std::error_code ignored;
        if (!folder->m_path.empty()) std::filesystem::remove_all(folder->m_path, ignored);
    }
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
