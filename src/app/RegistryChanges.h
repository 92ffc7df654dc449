#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/RegistryStore.h"

namespace corvane {

// A registry store that passes every call on to another and notes each value whose type or data
// a call changed, so that a command can say what it did.
class RegistryChanges : public RegistryStore {
public:
    struct Value {
        std::uint32_t type = 0;
        std::string data;
        bool operator==(const Value&) const = default;
    };
    struct Change {
        std::string keyPath;  // "HKEY_LOCAL_MACHINE\Software\..."
        std::string name;
        std::optional<Value> before;  // nothing: the value was missing
        std::optional<Value> after;   // nothing: the value was deleted
    };

    explicit RegistryChanges(RegistryStore& store) : m_store(store) {}

    // The changes in the order first made; a value changed twice shows its first and last state,
    // and one changed back shows nothing.
    std::vector<Change> changes() const;
    // One line per change: "key\value: old -> new", text in quotes, numbers in decimal.
    static std::string describe(const Change& change);

    long openKey(win::RegHandle parent, std::string_view subKey, win::RegHandle& result) override;
    long createKey(win::RegHandle parent, std::string_view subKey, win::RegHandle& result) override;
    long closeKey(win::RegHandle key) override;
    long queryValue(win::RegHandle key, std::string_view name, std::uint32_t* type,
                    std::uint8_t* data, std::uint32_t* size) override;
    long setValue(win::RegHandle key, std::string_view name, std::uint32_t type,
                  const std::uint8_t* data, std::uint32_t size) override;
    long deleteValue(win::RegHandle key, std::string_view name) override;
    long queryInfoKey(win::RegHandle key, std::uint32_t* subKeys,
                      std::uint32_t* maxSubKeyLen) override;
    long enumKey(win::RegHandle key, std::uint32_t index, std::string& name) override;
    void beginUpdate() override { m_store.beginUpdate(); }
    std::string endUpdate() override { return m_store.endUpdate(); }

private:
    std::string pathOf(win::RegHandle key) const;
    std::optional<Value> current(win::RegHandle key, std::string_view name);
    void note(win::RegHandle key, std::string_view name, std::optional<Value> before);

    RegistryStore& m_store;
    std::map<win::RegHandle, std::string> m_paths;
    std::vector<Change> m_changes;
};

}  // namespace corvane
