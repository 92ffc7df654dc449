#pragma once

#include <map>
#include <string>

#include "platform/win32/Win32RegistryStore.h"

namespace corvane::test {

// The system registry with every root key moved into a scratch key below
// HKEY_CURRENT_USER\Software, so that tests write what they like into the real registry. The
// scratch key is made for each store and deleted with everything in it when the store goes.
class ScratchRegistryStore : public RegistryStore {
public:
    ScratchRegistryStore();
    explicit ScratchRegistryStore(bool utf8CodePage);
    ~ScratchRegistryStore() override;
    ScratchRegistryStore(const ScratchRegistryStore&) = delete;
    ScratchRegistryStore& operator=(const ScratchRegistryStore&) = delete;

    // Where a root key lives, below HKEY_CURRENT_USER ("Software\Corvane-test-...\HKEY_...").
    std::string rootPath(win::RegHandle root) const;

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

private:
    // The scratch stand-in for a root key; other handles are the system's own.
    long map(win::RegHandle handle, win::RegHandle& mapped);

    Win32RegistryStore m_store;
    std::string m_path;
    std::map<win::RegHandle, win::RegHandle> m_roots;
};

}  // namespace corvane::test
