#include "platform/win32/ScratchRegistryStore.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <atomic>

namespace corvane::test {

namespace {

bool isRoot(win::RegHandle handle) {
    return handle >= win::kHKeyClassesRoot && handle <= win::kHKeyDynData;
}

}  // namespace

ScratchRegistryStore::ScratchRegistryStore()
    : ScratchRegistryStore(Win32RegistryStore::codePageIsUtf8()) {}

ScratchRegistryStore::ScratchRegistryStore(bool utf8CodePage) : m_store(utf8CodePage) {
    static std::atomic<unsigned> counter{0};
    m_path = "Software\\Corvane-test-" + std::to_string(GetCurrentProcessId()) + "-" +
             std::to_string(counter++);
}

ScratchRegistryStore::~ScratchRegistryStore() {
    for (const auto& [root, key] : m_roots)
        m_store.closeKey(key);
    RegDeleteTreeA(HKEY_CURRENT_USER, m_path.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, m_path.c_str());
}

std::string ScratchRegistryStore::rootPath(win::RegHandle root) const {
    static constexpr const char* kNames[] = {
        "HKEY_CLASSES_ROOT",     "HKEY_CURRENT_USER",   "HKEY_LOCAL_MACHINE", "HKEY_USERS",
        "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA"};
    return m_path + "\\" + kNames[root - win::kHKeyClassesRoot];
}

long ScratchRegistryStore::map(win::RegHandle handle, win::RegHandle& mapped) {
    if (!isRoot(handle)) {
        mapped = handle;
        return win::kErrorSuccess;
    }
    if (const auto it = m_roots.find(handle); it != m_roots.end()) {
        mapped = it->second;
        return win::kErrorSuccess;
    }
    const long error = m_store.createKey(win::kHKeyCurrentUser, rootPath(handle), mapped);
    if (error == win::kErrorSuccess) m_roots.emplace(handle, mapped);
    return error;
}

long ScratchRegistryStore::openKey(win::RegHandle parent, std::string_view subKey,
                                   win::RegHandle& result) {
    win::RegHandle key = 0;
    if (const long error = map(parent, key); error != win::kErrorSuccess) return error;
    return m_store.openKey(key, subKey, result);
}

long ScratchRegistryStore::createKey(win::RegHandle parent, std::string_view subKey,
                                     win::RegHandle& result) {
    win::RegHandle key = 0;
    if (const long error = map(parent, key); error != win::kErrorSuccess) return error;
    return m_store.createKey(key, subKey, result);
}

long ScratchRegistryStore::closeKey(win::RegHandle key) {
    if (isRoot(key)) return win::kErrorSuccess;
    return m_store.closeKey(key);
}

long ScratchRegistryStore::queryValue(win::RegHandle key, std::string_view name,
                                      std::uint32_t* type, std::uint8_t* data,
                                      std::uint32_t* size) {
    win::RegHandle mapped = 0;
    if (const long error = map(key, mapped); error != win::kErrorSuccess) return error;
    return m_store.queryValue(mapped, name, type, data, size);
}

long ScratchRegistryStore::setValue(win::RegHandle key, std::string_view name, std::uint32_t type,
                                    const std::uint8_t* data, std::uint32_t size) {
    win::RegHandle mapped = 0;
    if (const long error = map(key, mapped); error != win::kErrorSuccess) return error;
    return m_store.setValue(mapped, name, type, data, size);
}

long ScratchRegistryStore::deleteValue(win::RegHandle key, std::string_view name) {
    win::RegHandle mapped = 0;
    if (const long error = map(key, mapped); error != win::kErrorSuccess) return error;
    return m_store.deleteValue(mapped, name);
}

long ScratchRegistryStore::queryInfoKey(win::RegHandle key, std::uint32_t* subKeys,
                                        std::uint32_t* maxSubKeyLen) {
    win::RegHandle mapped = 0;
    if (const long error = map(key, mapped); error != win::kErrorSuccess) return error;
    return m_store.queryInfoKey(mapped, subKeys, maxSubKeyLen);
}

long ScratchRegistryStore::enumKey(win::RegHandle key, std::uint32_t index, std::string& name) {
    win::RegHandle mapped = 0;
    if (const long error = map(key, mapped); error != win::kErrorSuccess) return error;
    return m_store.enumKey(mapped, index, name);
}

}  // namespace corvane::test
