#pragma once

#include <string>
#include <variant>

#include "fakes/LocalMachine.h"
#include "platform/RegistryStore.h"
#include "settings/Registry.h"

namespace corvane::test {

// A value as the tests store and expect it: missing, REG_SZ or REG_DWORD.
using Value = std::variant<std::monostate, std::string, std::int32_t>;

// Reads and writes single values of a store below HKEY_LOCAL_MACHINE, as the test's own hand on
// the registry, apart from the code under test.
class RegistryValues {
public:
    explicit RegistryValues(RegistryStore& store) : m_store(store) {}

    // Creates the key and, unless value is missing, stores the value. False when the key can't be
    // created.
    bool put(const std::string& key, const std::string& name, const Value& value) {
        LocalMachine<RegistryStore&> local(m_store);
        TRegistry& reg = local.reg;
        if (!reg.OpenKey(key, true)) return false;
        if (const auto* text = std::get_if<std::string>(&value)) reg.WriteString(name, *text);
        if (const auto* number = std::get_if<std::int32_t>(&value)) reg.WriteInteger(name, *number);
        return true;
    }
    Value get(const std::string& key, const std::string& name) const {
        LocalMachine<RegistryStore&> local(m_store);
        TRegistry& reg = local.reg;
        if (!reg.OpenKey(key, false) || !reg.ValueExists(name)) return {};
        try {
            return reg.ReadInteger(name);
        } catch (const ERegistryException&) {
            return reg.ReadString(name);
        }
    }
    bool keyExists(const std::string& key) const {
        LocalMachine<RegistryStore&> local(m_store);
        TRegistry& reg = local.reg;
        return reg.OpenKey(key, false);
    }

private:
    RegistryStore& m_store;
};

}  // namespace corvane::test
