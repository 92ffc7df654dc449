#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/WinTypes.h"

namespace corvane {

// The registry as the program sees it: the handful of advapi32 calls it needs, one to one, with
// Win32 error codes as results. Names are text in UTF-8; string data (REG_SZ, REG_EXPAND_SZ,
// REG_MULTI_SZ) is UTF-8 with its terminating NUL(s), as RegQueryValueExA would hand it out
// with UTF-8 as the code page.
class RegistryStore {
public:
    virtual ~RegistryStore() = default;

    // RegOpenKeyExA: an existing key below parent (a root or an open handle).
    virtual long openKey(win::RegHandle parent, std::string_view subKey,
                         win::RegHandle& result) = 0;
    // RegCreateKeyExA: opens the key, creating it and any missing parents.
    virtual long createKey(win::RegHandle parent, std::string_view subKey,
                           win::RegHandle& result) = 0;
    virtual long closeKey(win::RegHandle key) = 0;
    // RegQueryValueExA: type and/or data. With data null only the size is given; a buffer that
    // is too small gives kErrorMoreData and the needed size.
    virtual long queryValue(win::RegHandle key, std::string_view name, std::uint32_t* type,
                            std::uint8_t* data, std::uint32_t* size) = 0;
    virtual long setValue(win::RegHandle key, std::string_view name, std::uint32_t type,
                          const std::uint8_t* data, std::uint32_t size) = 0;
    virtual long deleteValue(win::RegHandle key, std::string_view name) = 0;
    // RegQueryInfoKeyA: number of subkeys and the length of the longest subkey name.
    virtual long queryInfoKey(win::RegHandle key, std::uint32_t* subKeys,
                              std::uint32_t* maxSubKeyLen) = 0;
    // RegEnumKeyExA: the name of the index-th subkey, in the store's own order.
    virtual long enumKey(win::RegHandle key, std::uint32_t index, std::string& name) = 0;

    // The changes made between the outermost beginUpdate and its endUpdate form one top-level
    // operation and reach durable storage together. endUpdate returns an empty text on
    // success, else what went wrong; changes that could not be saved stay pending and are
    // saved with the next update. Outside an update every change is saved at once.
    virtual void beginUpdate() {}
    virtual std::string endUpdate() { return {}; }
};

}  // namespace corvane
