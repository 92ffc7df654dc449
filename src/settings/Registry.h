#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/RegistryStore.h"
#include "settings/RegistryException.h"

namespace corvane {

// A root key and at most one open current key of a registry store, with the reading and writing
// operations the program uses. Only OpenKey reports failure through its result; every other
// failure raises ERegistryException.
class TRegistry {
public:
    explicit TRegistry(RegistryStore& store);
    virtual ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    void SetRootKey(win::RegHandle root);
    win::RegHandle RootKey() const { return m_rootKey; }
    win::RegHandle CurrentKey() const { return m_currentKey; }
    const std::string& CurrentPath() const { return m_currentPath; }
    RegistryStore& Store() const { return m_store; }

    // A path beginning with "\" is taken from the root key, any other from the current key (or
    // the root when none is current). On failure the current key stays as it was.
    bool OpenKey(const std::string& key, bool canCreate);
    void CreateKey(const std::string& key);
    void CloseKey();
    void GetKeyNames(std::vector<std::string>& list) const;

    std::int32_t ReadInteger(const std::string& name) const;
    std::string ReadString(const std::string& name) const;
    bool ReadBool(const std::string& name) const;
    int ReadBinaryData(const std::string& name, void* buffer, int bufferSize) const;
    bool ValueExists(const std::string& name) const;

    void WriteInteger(const std::string& name, std::int32_t value);
    void WriteString(const std::string& name, const std::string& value);
    void WriteBool(const std::string& name, bool value);
    bool DeleteValue(const std::string& name);

protected:
    // The key a path is taken from, as OpenKey resolves it.
    win::RegHandle baseKey(bool relative) const;
    static bool isRelative(const std::string& key) { return key.empty() || key.front() != '\\'; }

private:
    void changeKey(win::RegHandle key, const std::string& path);

    RegistryStore& m_store;
    win::RegHandle m_rootKey = win::kHKeyCurrentUser;
    win::RegHandle m_currentKey = 0;
    std::string m_currentPath;
};

// The main window's forgiving reads: any failure gives the fallback. A missing string value
// still reads as the empty text, because ReadString does not fail for it.
std::int32_t ReadIntegerDef(const TRegistry& registry, const std::string& name,
                            std::int32_t fallback);
std::string ReadStringDef(const TRegistry& registry, const std::string& name,
                          const std::string& fallback);

// Groups the registry changes of one top-level operation so that they are saved together.
// commit() saves and raises ERegistryException when that fails; an update left without commit
// is saved when it goes out of scope, and a failure there is kept for the next save.
class RegistryUpdate {
public:
    explicit RegistryUpdate(RegistryStore& store);
    ~RegistryUpdate();
    RegistryUpdate(const RegistryUpdate&) = delete;
    RegistryUpdate& operator=(const RegistryUpdate&) = delete;
    void commit();

private:
    RegistryStore& m_store;
    bool m_open = true;
};

}  // namespace corvane
