#pragma once

#include <set>
#include <string>

#include "platform/files/TextCodec.h"
#include "platform/regfile/MemoryRegistryStore.h"

namespace corvane::test {

// A registry in memory where chosen keys can't be opened or created and chosen values can't be
// stored, as a registry with restricted rights behaves. Keys are named by the path as the caller
// passes it (without the leading backslash); every value write is counted.
class FailingStore : public MemoryRegistryStore {
public:
    long openKey(win::RegHandle parent, std::string_view subKey, win::RegHandle& result) override {
        if (matches(unopenable, subKey)) return win::kErrorAccessDenied;
        return MemoryRegistryStore::openKey(parent, subKey, result);
    }
    long createKey(win::RegHandle parent, std::string_view subKey,
                   win::RegHandle& result) override {
        if (matches(unopenable, subKey) || matches(uncreatable, subKey))
            return win::kErrorAccessDenied;
        return MemoryRegistryStore::createKey(parent, subKey, result);
    }
    long setValue(win::RegHandle key, std::string_view name, std::uint32_t type,
                  const std::uint8_t* data, std::uint32_t size) override {
        writes.insert(std::string(name));
        ++writeCount;
        if (unwritable.count(std::string(name))) return win::kErrorAccessDenied;
        return MemoryRegistryStore::setValue(key, name, type, data, size);
    }

    std::set<std::string> unopenable;   // neither opened nor created
    std::set<std::string> uncreatable;  // opened when there, never created
    std::set<std::string> unwritable;   // value names
    std::set<std::string> writes;
    int writeCount = 0;

private:
    static bool matches(const std::set<std::string>& paths, std::string_view subKey) {
        for (const std::string& p : paths) {
            if (codec::equalsFolded(p, subKey)) return true;
        }
        return false;
    }
};

}  // namespace corvane::test
