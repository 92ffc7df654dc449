#include "app/RegistryChanges.h"

#include <cstring>

namespace corvane {

namespace {

std::string rootName(win::RegHandle root) {
    switch (root) {
        case win::kHKeyClassesRoot:
            return "HKEY_CLASSES_ROOT";
        case win::kHKeyCurrentUser:
            return "HKEY_CURRENT_USER";
        case win::kHKeyLocalMachine:
            return "HKEY_LOCAL_MACHINE";
        case win::kHKeyUsers:
            return "HKEY_USERS";
        case win::kHKeyCurrentConfig:
            return "HKEY_CURRENT_CONFIG";
        default:
            return "HKEY_" + std::to_string(root);
    }
}

std::string show(const std::optional<RegistryChanges::Value>& value) {
    if (!value) return "(none)";
    if (value->type == win::kRegDword && value->data.size() == 4) {
        std::uint32_t number = 0;
        std::memcpy(&number, value->data.data(), 4);  // stored little-endian, as the host reads it
        return std::to_string(static_cast<std::int32_t>(number));
    }
    if (value->type == win::kRegSz || value->type == win::kRegExpandSz) {
        const std::string text = value->data.substr(0, value->data.find('\0'));
        return "\"" + text + "\"";
    }
    static const char* const kHex = "0123456789abcdef";
    std::string hex = "hex(" + std::to_string(value->type) + "):";
    for (std::size_t i = 0; i < value->data.size(); ++i) {
        const auto byte = static_cast<unsigned char>(value->data[i]);
        if (i > 0) hex += ',';
        hex += kHex[byte >> 4];
        hex += kHex[byte & 15];
    }
    return hex;
}

}  // namespace

std::string RegistryChanges::pathOf(win::RegHandle key) const {
    const auto it = m_paths.find(key);
    return it != m_paths.end() ? it->second : rootName(key);
}

long RegistryChanges::openKey(win::RegHandle parent, std::string_view subKey,
                              win::RegHandle& result) {
    const long error = m_store.openKey(parent, subKey, result);
    if (error == win::kErrorSuccess)
        m_paths[result] =
            subKey.empty() ? pathOf(parent) : pathOf(parent) + "\\" + std::string(subKey);
    return error;
}

long RegistryChanges::createKey(win::RegHandle parent, std::string_view subKey,
                                win::RegHandle& result) {
    const long error = m_store.createKey(parent, subKey, result);
    if (error == win::kErrorSuccess)
        m_paths[result] =
            subKey.empty() ? pathOf(parent) : pathOf(parent) + "\\" + std::string(subKey);
    return error;
}

long RegistryChanges::closeKey(win::RegHandle key) {
    m_paths.erase(key);
    return m_store.closeKey(key);
}

long RegistryChanges::queryValue(win::RegHandle key, std::string_view name, std::uint32_t* type,
                                 std::uint8_t* data, std::uint32_t* size) {
    return m_store.queryValue(key, name, type, data, size);
}

std::optional<RegistryChanges::Value> RegistryChanges::current(win::RegHandle key,
                                                               std::string_view name) {
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    if (m_store.queryValue(key, name, &type, nullptr, &size) != win::kErrorSuccess) return {};
    std::string data(size, '\0');
    if (m_store.queryValue(key, name, &type, reinterpret_cast<std::uint8_t*>(data.data()), &size) !=
        win::kErrorSuccess) {
        return {};
    }
    data.resize(size);
    return Value{type, std::move(data)};
}

void RegistryChanges::note(win::RegHandle key, std::string_view name, std::optional<Value> before) {
    const std::string path = pathOf(key);
    for (Change& change : m_changes) {
        if (change.keyPath == path && change.name == name) {
            change.after = current(key, name);
            return;
        }
    }
    m_changes.push_back({path, std::string(name), std::move(before), current(key, name)});
}

long RegistryChanges::setValue(win::RegHandle key, std::string_view name, std::uint32_t type,
                               const std::uint8_t* data, std::uint32_t size) {
    std::optional<Value> before = current(key, name);
    const long error = m_store.setValue(key, name, type, data, size);
    if (error == win::kErrorSuccess) note(key, name, std::move(before));
    return error;
}

long RegistryChanges::deleteValue(win::RegHandle key, std::string_view name) {
    std::optional<Value> before = current(key, name);
    const long error = m_store.deleteValue(key, name);
    if (error == win::kErrorSuccess) note(key, name, std::move(before));
    return error;
}

long RegistryChanges::queryInfoKey(win::RegHandle key, std::uint32_t* subKeys,
                                   std::uint32_t* maxSubKeyLen) {
    return m_store.queryInfoKey(key, subKeys, maxSubKeyLen);
}

long RegistryChanges::enumKey(win::RegHandle key, std::uint32_t index, std::string& name) {
    return m_store.enumKey(key, index, name);
}

std::vector<RegistryChanges::Change> RegistryChanges::changes() const {
    std::vector<Change> real;
    for (const Change& change : m_changes) {
        if (change.before != change.after) real.push_back(change);
    }
    return real;
}

std::string RegistryChanges::describe(const Change& change) {
    return change.keyPath + "\\" + change.name + ": " + show(change.before) + " -> " +
           show(change.after);
}

}  // namespace corvane
