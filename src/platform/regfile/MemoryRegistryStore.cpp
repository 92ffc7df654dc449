#include "platform/regfile/MemoryRegistryStore.h"

#include <algorithm>
#include <cstring>

#include "platform/files/TextCodec.h"

namespace corvane {

// Marks one call as part of a top-level operation: the outermost one refreshes the tree first.
class MemoryRegistryStore::Operation {
public:
    explicit Operation(MemoryRegistryStore& store) : m_store(store), m_top(store.m_depth == 0) {
        if (m_top) m_store.refresh();
        ++m_store.m_depth;
    }
    ~Operation() { --m_store.m_depth; }
    Operation(const Operation&) = delete;
    Operation& operator=(const Operation&) = delete;
    bool top() const { return m_top; }

private:
    MemoryRegistryStore& m_store;
    bool m_top;
};

MemoryRegistryStore::MemoryRegistryStore()
    : m_tree(RegFileVersion::Regedit5, RegFileEncoding::Utf16Le) {}

MemoryRegistryStore::MemoryRegistryStore(RegistryTree tree) : m_tree(std::move(tree)) {}

void MemoryRegistryStore::replaceTree(RegistryTree tree) {
    m_tree = std::move(tree);
    ++m_generation;
}

std::uint32_t MemoryRegistryStore::resolve(win::RegHandle handle, long& error) {
    error = win::kErrorSuccess;
    if (handle >= win::kHKeyClassesRoot && handle <= win::kHKeyDynData) {
        static constexpr std::string_view kNames[] = {
            "HKEY_CLASSES_ROOT",     "HKEY_CURRENT_USER",   "HKEY_LOCAL_MACHINE", "HKEY_USERS",
            "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA"};
        const std::string_view name = kNames[handle - win::kHKeyClassesRoot];
        RegChange create{RegChange::Kind::CreateKey, std::string(name), {}, 0, {}};
        // Root keys always exist; they are made on first use and never written as keys.
        if (m_tree.findKey(name) == RegistryTree::kNoKey) m_tree.apply(create);
        return m_tree.findKey(name);
    }
    const auto it = m_handles.find(handle);
    if (it == m_handles.end()) {
        error = win::kErrorInvalidHandle;
        return RegistryTree::kNoKey;
    }
    Handle& h = it->second;
    if (h.generation != m_generation) {
        h.key = m_tree.findKey(h.path);
        h.generation = m_generation;
    }
    if (h.key == RegistryTree::kNoKey) error = win::kErrorKeyDeleted;
    return h.key;
}

long MemoryRegistryStore::childPath(win::RegHandle parent, std::string_view subKey,
                                    std::string& path) {
    long error = 0;
    const std::uint32_t key = resolve(parent, error);
    if (error != win::kErrorSuccess) return error;
    path = m_tree.keyPath(key);
    if (!subKey.empty() && subKey.front() == '\\') return win::kErrorBadPathname;
    // As in Windows, repeated and trailing backslashes separate no more than one does.
    std::size_t start = 0;
    while (start < subKey.size()) {
        const std::size_t slash = std::min(subKey.find('\\', start), subKey.size());
        const std::string_view part = subKey.substr(start, slash - start);
        start = slash + 1;
        if (part.empty()) continue;
        if (codec::utf16Length(part) > RegistryTree::kMaxKeyNameLength)
            return win::kErrorInvalidParameter;
        path += '\\';
        path += part;
    }
    return win::kErrorSuccess;
}

win::RegHandle MemoryRegistryStore::addHandle(std::uint32_t key) {
    const win::RegHandle handle = m_nextHandle++;
    m_handles.emplace(handle, Handle{m_tree.keyPath(key), key, m_generation});
    return handle;
}

long MemoryRegistryStore::openKey(win::RegHandle parent, std::string_view subKey,
                                  win::RegHandle& result) {
    Operation op(*this);
    std::string path;
    if (const long error = childPath(parent, subKey, path); error != win::kErrorSuccess)
        return error;
    const std::uint32_t key = m_tree.findKey(path);
    if (key == RegistryTree::kNoKey) return win::kErrorFileNotFound;
    result = addHandle(key);
    return win::kErrorSuccess;
}

long MemoryRegistryStore::createKey(win::RegHandle parent, std::string_view subKey,
                                    win::RegHandle& result) {
    Operation op(*this);
    std::string path;
    if (const long error = childPath(parent, subKey, path); error != win::kErrorSuccess)
        return error;
    std::uint32_t key = m_tree.findKey(path);
    if (key == RegistryTree::kNoKey) {
        if (const long error = change(RegChange{RegChange::Kind::CreateKey, path, {}, 0, {}});
            error != win::kErrorSuccess) {
            return error;
        }
        key = m_tree.findKey(path);
        if (op.top() && !saveNow()) return win::kErrorRegistryIoFailed;
    }
    result = addHandle(key);
    return win::kErrorSuccess;
}

long MemoryRegistryStore::closeKey(win::RegHandle key) {
    if (key >= win::kHKeyClassesRoot && key <= win::kHKeyDynData) return win::kErrorSuccess;
    return m_handles.erase(key) == 1 ? win::kErrorSuccess : win::kErrorInvalidHandle;
}

long MemoryRegistryStore::queryValue(win::RegHandle key, std::string_view name, std::uint32_t* type,
                                     std::uint8_t* data, std::uint32_t* size) {
    Operation op(*this);
    if (data != nullptr && size == nullptr) return win::kErrorInvalidParameter;
    long error = 0;
    const std::uint32_t k = resolve(key, error);
    if (error != win::kErrorSuccess) return error;
    std::uint32_t valueType = 0;
    const std::string* bytes = nullptr;
    if (!m_tree.value(k, name, valueType, bytes)) {
        // A file written in place under a lazily read tree: its values can't be told.
        return m_tree.valuesLost(k) ? win::kErrorRegistryIoFailed : win::kErrorFileNotFound;
    }
    if (type != nullptr) *type = valueType;
    if (size != nullptr) {
        const auto needed = static_cast<std::uint32_t>(bytes->size());
        if (data != nullptr && *size < needed) {
            *size = needed;
            return win::kErrorMoreData;
        }
        if (data != nullptr && needed > 0) std::memcpy(data, bytes->data(), needed);
        *size = needed;
    }
    return win::kErrorSuccess;
}

long MemoryRegistryStore::change(const RegChange& change) {
    bool changed = false;
    if (const long error = m_tree.apply(change, &changed); error != win::kErrorSuccess)
        return error;
    // Storing what a value already holds is no change: nothing is to be saved for it.
    if (!changed) return win::kErrorSuccess;
    m_dirty = true;
    record(change);
    return win::kErrorSuccess;
}

long MemoryRegistryStore::setValue(win::RegHandle key, std::string_view name, std::uint32_t type,
                                   const std::uint8_t* data, std::uint32_t size) {
    Operation op(*this);
    long error = 0;
    const std::uint32_t k = resolve(key, error);
    if (error != win::kErrorSuccess) return error;
    if (data == nullptr && size > 0) return win::kErrorNoAccess;
    RegChange c{RegChange::Kind::SetValue, m_tree.keyPath(k), std::string(name), type,
                std::string(reinterpret_cast<const char*>(data), size)};
    if (const long e = change(c); e != win::kErrorSuccess) return e;
    if (op.top() && !saveNow()) return win::kErrorRegistryIoFailed;
    return win::kErrorSuccess;
}

long MemoryRegistryStore::deleteValue(win::RegHandle key, std::string_view name) {
    Operation op(*this);
    long error = 0;
    const std::uint32_t k = resolve(key, error);
    if (error != win::kErrorSuccess) return error;
    RegChange c{RegChange::Kind::DeleteValue, m_tree.keyPath(k), std::string(name), 0, {}};
    if (const long e = change(c); e != win::kErrorSuccess) return e;
    if (op.top() && !saveNow()) return win::kErrorRegistryIoFailed;
    return win::kErrorSuccess;
}

long MemoryRegistryStore::queryInfoKey(win::RegHandle key, std::uint32_t* subKeys,
                                       std::uint32_t* maxSubKeyLen) {
    Operation op(*this);
    long error = 0;
    const std::uint32_t k = resolve(key, error);
    if (error != win::kErrorSuccess) return error;
    const auto& children = m_tree.subkeys(k);
    if (subKeys != nullptr) *subKeys = static_cast<std::uint32_t>(children.size());
    if (maxSubKeyLen != nullptr) {
        std::size_t longest = 0;
        for (const std::uint32_t child : children)
            longest = std::max(longest, m_tree.keyName(child).size());
        *maxSubKeyLen = static_cast<std::uint32_t>(longest);
    }
    return win::kErrorSuccess;
}

long MemoryRegistryStore::enumKey(win::RegHandle key, std::uint32_t index, std::string& name) {
    Operation op(*this);
    long error = 0;
    const std::uint32_t k = resolve(key, error);
    if (error != win::kErrorSuccess) return error;
    const auto& children = m_tree.subkeys(k);
    if (index >= children.size()) return win::kErrorNoMoreItems;
    name = m_tree.keyName(children[index]);
    return win::kErrorSuccess;
}

bool MemoryRegistryStore::saveNow() {
    if (!save().empty()) return false;
    m_dirty = false;
    return true;
}

void MemoryRegistryStore::beginUpdate() {
    if (m_depth == 0) refresh();
    ++m_depth;
}

std::string MemoryRegistryStore::endUpdate() {
    if (m_depth > 0) --m_depth;
    if (m_depth > 0 || !m_dirty) return {};
    std::string error = save();
    if (error.empty()) m_dirty = false;
    return error;
}

}  // namespace corvane
