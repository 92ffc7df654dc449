// MemoryRegistryStore, the rules the .reg file store shares, against a plain model of the
// registry calls: keys in a map by their folded path, subkeys in the order they were made. Every
// answer agrees, and the store's file reads back to the model's keys and values.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "platform/WinTypes.h"
#include "platform/files/TextCodec.h"
#include "platform/regfile/MemoryRegistryStore.h"

namespace {

using namespace corvane;

const std::vector<std::string> kNames = {"Software",
                                         "software",
                                         "ATI",
                                         "a\\b",
                                         "a\\\\b",
                                         "\\a",
                                         "\\",
                                         "",
                                         "x\n",
                                         "caf\xC3\xA9",
                                         "CAF\xC3\x89",
                                         "\xCE\xB1",
                                         "\xCE\x91",
                                         "bad\xFF",
                                         "[x]",
                                         " ",
                                         std::string(256, 'k'),
                                         std::string(255, 'k')};
const std::vector<std::string> kData = {
    "",     std::string("1\0", 2), std::string("\0\0\0\0", 4), "\xFF", std::string("a\r\nb\0", 5),
    "\\\"", std::string(300, 'd')};
const std::uint32_t kTypes[] = {
    win::kRegNone,    win::kRegSz, win::kRegExpandSz, win::kRegBinary, win::kRegDword,
    win::kRegMultiSz, 11,          0x12345678};

struct ModelValue {
    std::uint32_t type = 0;
    std::string data;
};

struct ModelKey {
    std::vector<std::string> children;         // names as made
    std::map<std::string, ModelValue> values;  // by folded name
};

class Model {
public:
    Model() { m_keys["hkey_local_machine"]; }

    // What creating or opening subKey below path answers; made is the path it names.
    long path(const std::string& parent, const std::string& subKey, std::string& made) const {
        made = parent;
        if (!subKey.empty() && subKey.front() == '\\') return win::kErrorBadPathname;
        std::size_t start = 0;
        while (start < subKey.size()) {
            std::size_t slash = subKey.find('\\', start);
            if (slash == std::string::npos) slash = subKey.size();
            const std::string part = subKey.substr(start, slash - start);
            start = slash + 1;
            if (part.empty()) continue;
            if (codec::utf16Length(part) > 255) return win::kErrorInvalidParameter;
            made += "\\" + part;
        }
        return 0;
    }

    bool exists(const std::string& p) const { return m_keys.count(codec::foldCase(p)) > 0; }

    long create(const std::string& parent, const std::string& subKey, std::string& made) {
        if (const long error = path(parent, subKey, made); error != 0) return error;
        if (exists(made)) return 0;
        if (made.find_first_of("\r\n") != std::string::npos) return win::kErrorInvalidName;
        if (codec::firstInvalidUtf8(made) != std::string::npos)
            return win::kErrorNoUnicodeTranslation;
        if (std::count(made.begin(), made.end(), '\\') > 512) return win::kErrorBadKey;
        std::size_t at = made.find('\\');
        while (at != std::string::npos) {
            const std::size_t next = made.find('\\', at + 1);
            const std::string prefix = made.substr(0, next);
            if (!exists(prefix)) {
                m_keys[codec::foldCase(made.substr(0, at))].children.push_back(
                    made.substr(at + 1, next == std::string::npos ? next : next - at - 1));
                m_keys[codec::foldCase(prefix)];
            }
            at = next;
        }
        return 0;
    }

    long set(const std::string& key, const std::string& name, std::uint32_t type,
             const std::string& data, bool nullData) {
        if (nullData && !data.empty()) return win::kErrorNoAccess;
        if (name.find_first_of("\r\n") != std::string::npos) return win::kErrorInvalidName;
        if (codec::utf16Length(name) > 16383) return win::kErrorInvalidParameter;
        if (codec::firstInvalidUtf8(name) != std::string::npos)
            return win::kErrorNoUnicodeTranslation;
        const bool text =
            type == win::kRegSz || type == win::kRegExpandSz || type == win::kRegMultiSz;
        auto& values = m_keys[codec::foldCase(key)].values;
        const auto it = values.find(codec::foldCase(name));
        const bool same = it != values.end() && it->second.type == type && it->second.data == data;
        if (!same && text && codec::firstInvalidUtf8(data) != std::string::npos)
            return win::kErrorNoUnicodeTranslation;
        values[codec::foldCase(name)] = {type, nullData ? std::string() : data};
        return 0;
    }

    long erase(const std::string& key, const std::string& name) {
        return m_keys[codec::foldCase(key)].values.erase(codec::foldCase(name)) == 1
                   ? 0
                   : win::kErrorFileNotFound;
    }

    const ModelKey& key(const std::string& p) const { return m_keys.at(codec::foldCase(p)); }
    const std::map<std::string, ModelKey>& keys() const { return m_keys; }

private:
    std::map<std::string, ModelKey> m_keys;  // by folded full path
};

struct Handle {
    win::RegHandle store;
    std::string path;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider input(bytes, size);
    MemoryRegistryStore store;
    Model model;
    std::vector<Handle> handles = {{win::kHKeyLocalMachine, "HKEY_LOCAL_MACHINE"}};
    auto text = [&](const std::vector<std::string>& pool) {
        return input.ConsumeBool()
                   ? pool[input.ConsumeIntegralInRange<std::size_t>(0, pool.size() - 1)]
                   : input.ConsumeRandomLengthString(24);
    };
    while (input.remaining_bytes() > 0) {
        Handle& h = handles[input.ConsumeIntegralInRange<std::size_t>(0, handles.size() - 1)];
        switch (input.ConsumeIntegralInRange(0, 5)) {
            case 0: {
                const std::string subKey = text(kNames);
                win::RegHandle made = 0;
                std::string path;
                const long ours = store.createKey(h.store, subKey, made);
                if (ours != model.create(h.path, subKey, path)) std::abort();
                if (ours == 0) handles.push_back({made, path});
                break;
            }
            case 1: {
                const std::string subKey = text(kNames);
                win::RegHandle made = 0;
                std::string path;
                long expected = model.path(h.path, subKey, path);
                if (expected == 0 && !model.exists(path)) expected = win::kErrorFileNotFound;
                const long ours = store.openKey(h.store, subKey, made);
                if (ours != expected) std::abort();
                if (ours == 0) handles.push_back({made, path});
                break;
            }
            case 2: {
                const std::string name = text(kNames);
                const std::uint32_t type = input.PickValueInArray(kTypes);
                const bool nullData = input.ConsumeBool();
                std::string data = text(kData);
                const long ours = store.setValue(
                    h.store, name, type,
                    nullData ? nullptr : reinterpret_cast<const std::uint8_t*>(data.data()),
                    static_cast<std::uint32_t>(data.size()));
                if (ours != model.set(h.path, name, type, data, nullData)) std::abort();
                break;
            }
            case 3: {
                const std::string name = text(kNames);
                if (store.deleteValue(h.store, name) != model.erase(h.path, name)) std::abort();
                break;
            }
            case 4: {
                const std::string name = text(kNames);
                std::uint32_t type = 0;
                std::uint32_t needed = 0;
                const long ours = store.queryValue(h.store, name, &type, nullptr, &needed);
                const auto& values = model.key(h.path).values;
                const auto it = values.find(codec::foldCase(name));
                if ((ours == 0) != (it != values.end())) std::abort();
                if (ours != 0) break;
                std::string data(needed, '\0');
                if (store.queryValue(h.store, name, &type,
                                     reinterpret_cast<std::uint8_t*>(data.data()), &needed) != 0 ||
                    type != it->second.type || data != it->second.data) {
                    std::abort();
                }
                break;
            }
            default: {
                const auto& children = model.key(h.path).children;
                std::string name;
                for (std::uint32_t i = 0; i <= children.size(); ++i) {
                    const long ours = store.enumKey(h.store, i, name);
                    if (i == children.size() ? ours != win::kErrorNoMoreItems
                                             : (ours != 0 || name != children[i])) {
                        std::abort();
                    }
                }
                break;
            }
        }
    }
    // What the store would save reads back to the model's keys and values.
    const RegistryTree saved = RegistryTree::parse(store.tree().serialize());
    for (const auto& [path, key] : model.keys()) {
        // A root is there without being saved, until it holds something.
        if (path.find('\\') == std::string::npos && key.values.empty()) continue;
        const std::uint32_t k = saved.findKey(path);
        if (k == RegistryTree::kNoKey || saved.valueCount(k) != key.values.size()) std::abort();
        for (const auto& [name, value] : key.values) {
            std::uint32_t type = 0;
            const std::string* data = nullptr;
            if (!saved.value(k, name, type, data) || type != value.type || *data != value.data)
                std::abort();
        }
    }
    for (const Handle& h : handles)
        store.closeKey(h.store);
    return 0;
}
