#pragma once

#include "platform/RegistryStore.h"

namespace corvane {

// The system registry through advapi32's ANSI functions. Keys are opened with full access, and
// read-only where full access is refused, so that a user without the right to change a key can
// still read it; writes to such a key then fail.
//
// The store hands names and text out in UTF-8, as the program holds them, which the ANSI
// functions do when the process runs with UTF-8 as its code page (the programs carry a manifest
// that asks for it; Windows 10 version 1903 and later honour it). Under any other code page the
// same bytes would mean other characters, so text beyond ASCII is then refused with
// ERROR_NO_UNICODE_TRANSLATION instead of being stored or handed out garbled; so is text that is
// not valid UTF-8, which Windows would store with replacement characters.
class Win32RegistryStore : public RegistryStore {
public:
    Win32RegistryStore();
    explicit Win32RegistryStore(bool utf8CodePage);

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

    // True when the process's ANSI code page is UTF-8.
    static bool codePageIsUtf8();

private:
    bool representable(std::string_view text, bool name) const;
    // Success when the name can be handed to the system, else the error to give for it.
    long check(std::string_view name, bool lookup) const;

    bool m_utf8;
};

}  // namespace corvane
