#include "platform/win32/Win32RegistryStore.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>
#include <vector>

#include "platform/files/TextCodec.h"

namespace corvane {

namespace {

bool isPredefined(win::RegHandle handle) {
    return handle >= win::kHKeyClassesRoot && handle <= win::kHKeyDynData;
}

// The predefined keys are sign-extended 32-bit values in a 64-bit HKEY.
HKEY toHkey(win::RegHandle handle) {
    if (isPredefined(handle)) {
        return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(handle)));
    }
    return reinterpret_cast<HKEY>(handle);
}

win::RegHandle fromHkey(HKEY key) {
    const auto value = reinterpret_cast<win::RegHandle>(key);
    // Opening the empty path below a predefined key gives that key back.
    const auto low = static_cast<std::uint32_t>(value);
    if ((value >> 32) == 0xFFFFFFFFu && isPredefined(low)) return low;
    return value;
}

bool isText(std::uint32_t type) {
    return type == win::kRegSz || type == win::kRegExpandSz || type == win::kRegMultiSz;
}

}  // namespace

Win32RegistryStore::Win32RegistryStore() : Win32RegistryStore(codePageIsUtf8()) {}

Win32RegistryStore::Win32RegistryStore(bool utf8CodePage) : m_utf8(utf8CodePage) {}

bool Win32RegistryStore::codePageIsUtf8() {
    return GetACP() == CP_UTF8;
}

bool Win32RegistryStore::representable(std::string_view text, bool name) const {
    // The ANSI functions end names at the first NUL. Text that is not valid UTF-8 would come back
    // with replacement characters, so it is refused rather than changed.
    if (name && text.find('\0') != std::string_view::npos) return false;
    return m_utf8 ? codec::firstInvalidUtf8(text) == std::string_view::npos : codec::isAscii(text);
}

long Win32RegistryStore::check(std::string_view name, bool lookup) const {
    if (representable(name, true)) return win::kErrorSuccess;
    // No key or value can have a name that is not text, so looking one up finds nothing.
    if (lookup && codec::firstInvalidUtf8(name) != std::string_view::npos) {
        return win::kErrorFileNotFound;
    }
    return win::kErrorNoUnicodeTranslation;
}

long Win32RegistryStore::openKey(win::RegHandle parent, std::string_view subKey,
                                 win::RegHandle& result) {
    if (const long error = check(subKey, true); error != win::kErrorSuccess) return error;
    const std::string path(subKey);
    HKEY key = nullptr;
    LONG error = RegOpenKeyExA(toHkey(parent), path.c_str(), 0, KEY_ALL_ACCESS, &key);
    if (error == ERROR_ACCESS_DENIED) {
        error = RegOpenKeyExA(toHkey(parent), path.c_str(), 0, KEY_READ, &key);
    }
    if (error == ERROR_SUCCESS) result = fromHkey(key);
    return error;
}

long Win32RegistryStore::createKey(win::RegHandle parent, std::string_view subKey,
                                   win::RegHandle& result) {
    if (const long error = check(subKey, false); error != win::kErrorSuccess) return error;
    const std::string path(subKey);
    HKEY key = nullptr;
    const LONG error = RegCreateKeyExA(toHkey(parent), path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                       nullptr, &key, nullptr);
    if (error == ERROR_SUCCESS) result = fromHkey(key);
    return error;
}

long Win32RegistryStore::closeKey(win::RegHandle key) {
    // The predefined keys stay open for the life of the process.
    if (isPredefined(key)) return win::kErrorSuccess;
    return RegCloseKey(toHkey(key));
}

long Win32RegistryStore::queryValue(win::RegHandle key, std::string_view name, std::uint32_t* type,
                                    std::uint8_t* data, std::uint32_t* size) {
    if (const long error = check(name, true); error != win::kErrorSuccess) return error;
    const std::string valueName(name);
    DWORD valueType = 0;
    DWORD valueSize = size != nullptr ? *size : 0;
    const LONG error = RegQueryValueExA(toHkey(key), valueName.c_str(), nullptr, &valueType, data,
                                        size != nullptr ? &valueSize : nullptr);
    if (error != ERROR_SUCCESS && error != ERROR_MORE_DATA) return error;
    if (error == ERROR_SUCCESS && data != nullptr && isText(valueType) &&
        !representable(std::string_view(reinterpret_cast<const char*>(data), valueSize), false)) {
        return win::kErrorNoUnicodeTranslation;
    }
    if (type != nullptr) *type = valueType;
    if (size != nullptr) *size = valueSize;
    return error;
}

long Win32RegistryStore::setValue(win::RegHandle key, std::string_view name, std::uint32_t type,
                                  const std::uint8_t* data, std::uint32_t size) {
    if (const long error = check(name, false); error != win::kErrorSuccess) return error;
    if (isText(type) && data != nullptr &&
        !representable(std::string_view(reinterpret_cast<const char*>(data), size), false)) {
        return win::kErrorNoUnicodeTranslation;
    }
    const std::string valueName(name);
    return RegSetValueExA(toHkey(key), valueName.c_str(), 0, type, data, size);
}

long Win32RegistryStore::deleteValue(win::RegHandle key, std::string_view name) {
    if (const long error = check(name, true); error != win::kErrorSuccess) return error;
    const std::string valueName(name);
    return RegDeleteValueA(toHkey(key), valueName.c_str());
}

long Win32RegistryStore::queryInfoKey(win::RegHandle key, std::uint32_t* subKeys,
                                      std::uint32_t* maxSubKeyLen) {
    DWORD count = 0;
    DWORD longest = 0;
    const LONG error = RegQueryInfoKeyA(toHkey(key), nullptr, nullptr, nullptr, &count, &longest,
                                        nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    if (error != ERROR_SUCCESS) return error;
    if (subKeys != nullptr) *subKeys = count;
    if (maxSubKeyLen != nullptr) *maxSubKeyLen = longest;
    return error;
}

long Win32RegistryStore::enumKey(win::RegHandle key, std::uint32_t index, std::string& name) {
    // A key name has at most 255 characters; in UTF-8 one character takes up to three bytes.
    std::vector<char> buffer(256);
    while (true) {
        DWORD length = static_cast<DWORD>(buffer.size());
        const LONG error = RegEnumKeyExA(toHkey(key), index, buffer.data(), &length, nullptr,
                                         nullptr, nullptr, nullptr);
        if (error == ERROR_MORE_DATA && buffer.size() < 4096) {
            buffer.resize(buffer.size() * 4);
            continue;
        }
        if (error != ERROR_SUCCESS) return error;
        const std::string_view found(buffer.data(), length);
        if (!representable(found, true)) return win::kErrorNoUnicodeTranslation;
        name.assign(found);
        return error;
    }
}

}  // namespace corvane
