#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/regfile/PathIndex.h"

namespace corvane {

// How a registry export is written: the header decides how text inside hex(1), hex(2) and
// hex(7) data is encoded (REGEDIT4: Windows-1252 bytes; version 5: UTF-16LE), the encoding how
// the file itself is stored.
enum class RegFileVersion { Regedit4, Regedit5 };
enum class RegFileEncoding { Ansi, Utf16Le, Utf8, Utf8Bom };

class RegFormatError : public std::runtime_error {
public:
    RegFormatError(int line, const std::string& reason);
    int line() const { return m_line; }
    const std::string& reason() const { return m_reason; }

private:
    int m_line;
    std::string m_reason;
};

// One change to a tree, as the store records it so that it can be applied again on top of a
// newer copy of the file.
struct RegChange {
    enum class Kind { CreateKey, SetValue, DeleteValue };
    Kind kind = Kind::CreateKey;
    std::string keyPath;  // full path, root included
    std::string name;
    std::uint32_t type = 0;
    std::string data;
};

// The keys and values of a registry, in the order of the file they came from, together with
// the original text of everything that was not changed, so that saving reproduces it exactly.
// Key paths are full paths beginning with a root name ("HKEY_LOCAL_MACHINE\Software"). Names
// compare without regard to case and keep their spelling.
class RegistryTree {
public:
    static constexpr std::uint32_t kNoKey = UINT32_MAX;
    // The limits of the Windows registry, in UTF-16 units and levels below the root.
    static constexpr std::size_t kMaxKeyNameLength = 255;
    static constexpr std::size_t kMaxValueNameLength = 16383;
    static constexpr std::size_t kMaxKeyDepth = 512;

    // Whether a full key path keeps the limits: kErrorInvalidParameter for a name that is too
    // long, kErrorBadKey for a path that is too deep, else kErrorSuccess.
    static long checkKeyPath(std::string_view path);

    explicit RegistryTree(RegFileVersion version = RegFileVersion::Regedit4,
                          RegFileEncoding encoding = RegFileEncoding::Ansi);
    RegistryTree(RegistryTree&&) noexcept;
    RegistryTree& operator=(RegistryTree&&) noexcept;
    ~RegistryTree();

    // Reads a whole export; throws RegFormatError naming the line and the reason.
    static RegistryTree parse(std::string fileBytes);
    // Reads the keys of an export and checks every line, as parse does, but keeps the values as
    // the file's text until a key's values are first used; a save copies the text of every key
    // whose values were not changed. What the tree answers is the same as after parse.
    static RegistryTree parseLazily(std::string fileBytes);
    // The file's bytes, in the version and encoding the tree was read with.
    std::string serialize() const;

    RegFileVersion version() const { return m_version; }
    RegFileEncoding encoding() const { return m_encoding; }

    // Canonical spelling of a root key name ("hkey_local_machine" -> "HKEY_LOCAL_MACHINE"), or
    // empty when the name is no root.
    static std::string_view canonicalRoot(std::string_view name);

    std::uint32_t findKey(std::string_view path) const;
    const std::string& keyPath(std::uint32_t key) const;
    std::string_view keyName(std::uint32_t key) const;
    const std::vector<std::uint32_t>& subkeys(std::uint32_t key) const;
    std::size_t liveKeyCount() const;

    // The value's type and its data as the registry API hands it out; false when missing.
    bool value(std::uint32_t key, std::string_view name, std::uint32_t& type,
               const std::string*& data) const;
    std::size_t valueCount(std::uint32_t key) const;
    // The name of the key's index-th value, in file order (index below valueCount).
    std::string_view valueName(std::uint32_t key, std::size_t index) const;

    // Applies a change; returns a Win32 error code (0 on success). changed, when given, says
    // whether anything differs afterwards (setting a value to what it holds changes nothing).
    long apply(const RegChange& change, bool* changed = nullptr);

private:
    struct Value {
        std::string name;
        std::string raw;  // the whole text of the value; continuation lines joined by '\n'
        std::uint32_t dataOffset = 0;
        std::uint32_t type = 0;
        std::string decor;         // blank and comment lines before the value, with their line ends
        mutable std::string data;  // as the API hands it out, decoded on first use
        mutable bool decoded = false;
    };

    struct Key {
        std::string path;
        std::uint32_t nameOffset = 0;
        std::uint32_t parent = kNoKey;
        bool alive = true;
        bool hasHeader = false;
        std::string decor;                 // as for values
        std::uint32_t orderSlot = kNoKey;  // where in m_order the key is written
        // The stretch of the file's text that holds the key (the lines before its header, the
        // header, its values), for a key read by parseLazily; its values are decoded from it
        // when first used, and it is written as it is unless they were changed.
        std::uint32_t textBegin = 0;
        std::uint32_t textEnd = 0;
        mutable bool loaded = true;
        bool touched = false;
        std::vector<std::uint32_t> children;
        std::vector<Value> values;
        std::unique_ptr<std::unordered_map<std::string, std::uint32_t>> valueIndex;
    };

    std::uint32_t ensureKey(std::string_view path, bool explicitHeader);
    std::uint32_t addKey(std::string_view path, std::uint32_t parent, bool explicitHeader,
                         bool place);
    void makeExplicit(std::uint32_t key);
    void placeLast(std::uint32_t key);
    void deleteKey(std::uint32_t key);
    Value* findValue(std::uint32_t key, std::string_view name);
    const Value* findValue(std::uint32_t key, std::string_view name) const;
    void putValue(std::uint32_t key, Value&& value);
    bool eraseValue(std::uint32_t key, std::string_view name);
    void decode(const Value& value) const;
    void load(std::uint32_t key) const;
    bool encodable(std::string_view text) const;

    class Parser;
    static RegistryTree read(std::string fileBytes, bool decodeAll);

    RegFileVersion m_version;
    RegFileEncoding m_encoding;
    bool m_crlf = true;
    std::vector<Key> m_keys;
    // Keys in the order they are written; an entry counts only where it is the key's orderSlot.
    std::vector<std::uint32_t> m_order;
    PathIndex m_index;  // key paths, compared without regard to case
    // Keys of an export come grouped under their parents; remembering the last parent saves
    // most parent lookups while reading.
    std::uint32_t m_lastParent = kNoKey;
    std::string m_trailingDecor;
    std::string m_text;  // the file's text, for a tree read by parseLazily
};

}  // namespace corvane
