#include "settings/Registry.h"

#include <cstring>

namespace corvane {

using namespace win;

TRegistry::TRegistry(RegistryStore& store) : m_store(store) {}

TRegistry::~TRegistry() {
    CloseKey();
}

void TRegistry::SetRootKey(RegHandle root) {
    if (root == m_rootKey) return;
    CloseKey();
    m_rootKey = root;
}

RegHandle TRegistry::baseKey(bool relative) const {
    return (m_currentKey == 0 || !relative) ? m_rootKey : m_currentKey;
}

void TRegistry::changeKey(RegHandle key, const std::string& path) {
    CloseKey();
    m_currentKey = key;
    m_currentPath = path;
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) {
    const bool relative = isRelative(key);
    std::string path = relative ? key : key.substr(1);
    RegHandle opened = 0;
    const long result = (!canCreate || path.empty())
                            ? m_store.openKey(baseKey(relative), path, opened)
                            : m_store.createKey(baseKey(relative), path, opened);
    if (result != kErrorSuccess) return false;
    if (m_currentKey != 0 && relative) path = m_currentPath + "\\" + path;
    changeKey(opened, path);
    return true;
}

void TRegistry::CreateKey(const std::string& key) {
    const bool relative = isRelative(key);
    const std::string path = relative ? key : key.substr(1);
    RegHandle created = 0;
    if (m_store.createKey(baseKey(relative), path, created) != kErrorSuccess) {
        throw ERegistryException::createFailed(key);
    }
    m_store.closeKey(created);
}

void TRegistry::CloseKey() {
    if (m_currentKey != 0) {
        m_store.closeKey(m_currentKey);
        m_currentKey = 0;
        m_currentPath.clear();
    }
}

void TRegistry::GetKeyNames(std::vector<std::string>& list) const {
    list.clear();
    std::uint32_t count = 0;
    if (m_store.queryInfoKey(m_currentKey, &count, nullptr) != kErrorSuccess) return;
    std::string name;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (m_store.enumKey(m_currentKey, i, name) != kErrorSuccess) name.clear();
        list.push_back(name);
    }
}

std::int32_t TRegistry::ReadInteger(const std::string& name) const {
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    if (m_store.queryValue(m_currentKey, name, &type, nullptr, &size) != kErrorSuccess) {
        throw ERegistryException::getFailed(name);
    }
    if (type != kRegDword) throw ERegistryException::invalidType(name);
    std::uint8_t bytes[4] = {};
    size = sizeof bytes;
    if (m_store.queryValue(m_currentKey, name, &type, bytes, &size) != kErrorSuccess) {
        throw ERegistryException::getFailed(name);
    }
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | bytes[i];
    return static_cast<std::int32_t>(value);
}

std::string TRegistry::ReadString(const std::string& name) const {
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    if (m_store.queryValue(m_currentKey, name, &type, nullptr, &size) != kErrorSuccess ||
        size == 0) {
        return {};
    }
    if (type != kRegSz && type != kRegExpandSz) throw ERegistryException::invalidType(name);
    std::string text(size, '\0');
    if (m_store.queryValue(m_currentKey, name, &type, reinterpret_cast<std::uint8_t*>(text.data()),
                           &size) != kErrorSuccess) {
        throw ERegistryException::getFailed(name);
    }
    text.resize(std::strlen(text.c_str()));
    return text;
}

bool TRegistry::ReadBool(const std::string& name) const {
    return ReadInteger(name) != 0;
}

int TRegistry::ReadBinaryData(const std::string& name, void* buffer, int bufferSize) const {
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    if (m_store.queryValue(m_currentKey, name, &type, nullptr, &size) != kErrorSuccess) return 0;
    if (type == kRegSz || type == kRegExpandSz || type == kRegDword || bufferSize < 0 ||
        size > static_cast<std::uint32_t>(bufferSize)) {
        throw ERegistryException::invalidType(name);
    }
    if (m_store.queryValue(m_currentKey, name, &type, static_cast<std::uint8_t*>(buffer), &size) !=
        kErrorSuccess) {
        throw ERegistryException::getFailed(name);
    }
    return static_cast<int>(size);
}

bool TRegistry::ValueExists(const std::string& name) const {
    std::uint32_t type = 0;
    return m_store.queryValue(m_currentKey, name, &type, nullptr, nullptr) == kErrorSuccess;
}

void TRegistry::WriteInteger(const std::string& name, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                                   static_cast<std::uint8_t>(v >> 16),
                                   static_cast<std::uint8_t>(v >> 24)};
    if (m_store.setValue(m_currentKey, name, kRegDword, bytes, 4) != kErrorSuccess) {
        throw ERegistryException::setFailed(name);
    }
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
    if (m_store.setValue(m_currentKey, name, kRegSz,
                         reinterpret_cast<const std::uint8_t*>(value.c_str()),
                         static_cast<std::uint32_t>(value.size() + 1)) != kErrorSuccess) {
        throw ERegistryException::setFailed(name);
    }
}

void TRegistry::WriteBool(const std::string& name, bool value) {
    WriteInteger(name, value ? 1 : 0);
}

bool TRegistry::DeleteValue(const std::string& name) {
    return m_store.deleteValue(m_currentKey, name) == kErrorSuccess;
}

std::int32_t ReadIntegerDef(const TRegistry& registry, const std::string& name,
                            std::int32_t fallback) {
    try {
        return registry.ReadInteger(name);
    } catch (const std::exception&) {
        return fallback;
    }
}

std::string ReadStringDef(const TRegistry& registry, const std::string& name,
                          const std::string& fallback) {
    try {
        return registry.ReadString(name);
    } catch (const std::exception&) {
        return fallback;
    }
}

RegistryUpdate::RegistryUpdate(RegistryStore& store) : m_store(store) {
    m_store.beginUpdate();
}

RegistryUpdate::~RegistryUpdate() {
    if (m_open) m_store.endUpdate();
}

void RegistryUpdate::commit() {
    if (!m_open) return;
    m_open = false;
    if (std::string error = m_store.endUpdate(); !error.empty()) throw ERegistryException(error);
}

}  // namespace corvane
