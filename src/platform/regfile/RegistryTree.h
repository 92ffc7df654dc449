#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/regfile/BulkAllocator.h"
#include "platform/regfile/PathIndex.h"
#include "platform/regfile/RegSource.h"

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

// A source could not be read as it was indexed: the file was written in place meanwhile.
class RegSourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
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

// How a tree reads lazily: the text is taken in pieces of pieceSize bytes, and the values of at
// most keptKeys unchanged keys are kept in memory at once.
struct LazyReading {
    std::size_t pieceSize = 64 * 1024;
    std::size_t keptKeys = 64;
};

// The keys and values of a registry, in the order of the file they came from, together with
// the original text of everything that was not changed, so that saving reproduces it exactly.
// Key paths are full paths beginning with a root name ("HKEY_LOCAL_MACHINE\Software"). Names
// compare without regard to case and keep their spelling.
//
// A tree read from a source keeps only its keys in memory (names, links, where each key's text
// lies). A key's values are read from the source the first time they are used and kept while
// they are among the last few keys used or once they are changed; a save copies the text of
// every unchanged key from the source.
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

    // Reads a whole export and decodes every value; throws RegFormatError naming the line and
    // the reason.
    static RegistryTree parse(std::string fileBytes);
    // Reads a whole export line by line into keys and values, as a file that deletes keys or
    // names a key twice is read; the text is kept in memory, where the values lie, and a save
    // writes every key from its values. What the tree answers is the same as after parse.
    static RegistryTree parseWhole(std::string fileBytes);
    // Reads the keys of an export and checks every line, as parse does, but reads a key's values
    // only when they are first used. What the tree answers is the same as after parse.
    static RegistryTree parseLazily(std::string fileBytes, LazyReading how = {});
    static RegistryTree parseLazily(std::shared_ptr<const RegSource> source, LazyReading how = {});

    // The file's bytes, in the version and encoding the tree was read with.
    std::string serialize() const;
    // The same bytes, handed to put piece by piece (false from put stops). Returns why they
    // could not be written (the source was changed in place, or put failed), else empty.
    std::string write(const std::function<bool(std::string_view)>& put) const;
    // True once a key's text could not be read back from the source as it was indexed: the
    // tree no longer describes the file and must be read again before it is saved.
    bool sourceLost() const { return m_sourceLost; }

    RegFileVersion version() const { return m_version; }
    RegFileEncoding encoding() const { return m_encoding; }

    // Canonical spelling of a root key name ("hkey_local_machine" -> "HKEY_LOCAL_MACHINE"), or
    // empty when the name is no root.
    static std::string_view canonicalRoot(std::string_view name);

    std::uint32_t findKey(std::string_view path) const;
    std::string keyPath(std::uint32_t key) const;
    std::string_view keyName(std::uint32_t key) const;
    // The key's subkeys in the order they were made; valid until a key is made or deleted.
    std::span<const std::uint32_t> subkeys(std::uint32_t key) const;
    std::size_t liveKeyCount() const;

    // The value's type and its data as the registry API hands it out; false when missing. data
    // stays valid until another key's values are read.
    bool value(std::uint32_t key, std::string_view name, std::uint32_t& type,
               const std::string*& data) const;
    std::size_t valueCount(std::uint32_t key) const;
    // True when the key's values could not be read from the source (it was written in place
    // since it was read): the key answers as if it had none, which is not so.
    bool valuesLost(std::uint32_t key) const;
    // The name of the key's index-th value, in file order (index below valueCount).
    std::string_view valueName(std::uint32_t key, std::size_t index) const;

    // Applies a change; returns a Win32 error code (0 on success). changed, when given, says
    // whether anything differs afterwards (setting a value to what it holds changes nothing).
    long apply(const RegChange& change, bool* changed = nullptr);

    static constexpr std::size_t kPieceSize = LazyReading{}.pieceSize;

private:
    struct Value {
        std::string name;
        // The value's whole text, from its name to the end of its last line (without that line's
        // end; the lines before keep theirs): a stretch of the text its key was read from, or own.
        std::string_view raw;
        std::unique_ptr<std::string> own;  // the text of a value made here
        std::uint32_t dataOffset = 0;
        std::uint32_t type = 0;
        std::string decor;         // blank and comment lines before the value, with their line ends
        mutable std::string data;  // as the API hands it out, decoded on first use
        mutable bool decoded = false;
    };

    // The values of a key that are in memory.
    struct ValueSet {
        std::uint32_t key = kNoKey;
        std::string decor;                  // blank and comment lines before the key's header
        std::unique_ptr<std::string> text;  // what the values were read from
        std::vector<Value> values;
        std::unique_ptr<std::unordered_map<std::string, std::uint32_t>> index;
        bool lost = false;  // the key's text could not be read back from the source
    };

    // Tens of thousands of these are made for a whole export, so they are kept small: children
    // are found from the parents when first asked for, and a key's text ends where the text of
    // the next key read from the file begins.
    struct Key {
        std::uint32_t parent = kNoKey;
        std::uint32_t nameBegin = 0;       // in m_names
        std::uint32_t orderSlot = kNoKey;  // where in m_order the key is written
        // Where the key's text (the lines before its header, the header, its values) begins in the
        // source, for a key read from one; 0 for the others. It is written as it is unless the
        // key's values changed.
        std::uint32_t textBegin = 0;
        mutable std::uint32_t values = kNoKey;  // in m_sets, when the values are in memory
        std::uint16_t nameLength = 0;
        std::uint8_t flags = kAlive;

        bool alive() const { return (flags & kAlive) != 0; }
        bool hasHeader() const { return (flags & kHasHeader) != 0; }
        bool touched() const { return (flags & kTouched) != 0; }  // changed: values kept for good
        bool inSource() const { return textBegin != 0 && !touched(); }
    };
    static constexpr std::uint8_t kAlive = 1;
    static constexpr std::uint8_t kHasHeader = 2;
    static constexpr std::uint8_t kTouched = 4;

    // One step of a key path being resolved, as the last path resolved left it.
    struct Step {
        std::uint32_t key;
        std::uint64_t hash;
    };

    std::uint32_t ensureKey(std::string_view path, bool explicitHeader);
    std::uint32_t addKey(std::string_view name, std::uint32_t parent, std::uint64_t hash,
                         bool explicitHeader, bool place);
    bool pathEquals(std::uint32_t key, std::string_view path) const;
    std::uint64_t pathHash(std::uint32_t key) const;
    void makeExplicit(std::uint32_t key);
    void placeLast(std::uint32_t key);
    void deleteKey(std::uint32_t key);
    ValueSet& valuesOf(std::uint32_t key);
    const ValueSet* loadedValues(std::uint32_t key) const;
    Value* findValue(std::uint32_t key, std::string_view name);
    const Value* findValue(std::uint32_t key, std::string_view name) const;
    void putValue(std::uint32_t key, Value&& value);
    bool eraseValue(std::uint32_t key, std::string_view name);
    void decode(const Value& value) const;
    std::uint32_t newSet(std::uint32_t key) const;
    void freeSet(std::uint32_t key) const;
    bool encodable(std::string_view text) const;
    std::uint32_t textEnd(std::uint32_t key) const;
    void childrenChanged() { m_childrenBuilt = false; }

    class Parser;
    class Indexer;
    class Output;
    enum class Reading { Lazy, Eager, Whole };
    static RegistryTree read(std::shared_ptr<const RegSource> source, LazyReading how,
                             Reading reading);

    RegFileVersion m_version;
    RegFileEncoding m_encoding;
    bool m_crlf = true;
    template <typename T>
    using Array = std::vector<T, BulkAllocator<T>>;

    Array<Key> m_keys;
    // Every key's name, one after another.
    std::basic_string<char, std::char_traits<char>, BulkAllocator<char>> m_names;
    // Keys in the order they are written; an entry counts only where it is the key's orderSlot.
    Array<std::uint32_t> m_order;
    PathIndex m_index;  // key paths, compared without regard to case
    // A path resolved recently, and its steps.
    struct Trail {
        std::vector<Step> steps;
        std::string text;
        std::uint64_t used = 0;  // when it was last taken
    };
    std::array<Trail, 4> m_trails;
    std::uint64_t m_trailClock = 0;
    std::vector<Step> m_scratchSteps;
    std::string m_trailingDecor;
    std::unique_ptr<std::string> m_wholeText;  // the text a whole read took its values from

    // Where the tree's text comes from: the bytes after the header line's byte-order mark, in
    // the file's 8-bit encoding (Windows-1252 when m_cp1252), or UTF-8 decoded from UTF-16.
    std::shared_ptr<const RegSource> m_source;
    bool m_cp1252 = false;
    std::size_t m_trailBegin = 0;  // the lines after the last key, in the source
    bool m_endsWithNewline = true;
    bool m_endsWithCr = false;  // the last line, without a line feed, ends in a carriage return
    mutable bool m_sourceLost = false;
    mutable std::vector<ValueSet> m_sets;
    mutable std::vector<std::uint32_t> m_freeSets;
    // Keys whose values were read from the source and not changed, oldest first: the first to
    // give their memory back once there are more than m_cacheLimit.
    mutable std::vector<std::uint32_t> m_cached;
    std::size_t m_cacheLimit = 64;
    // Every key's subkeys, in the order they were made: those of key k are
    // m_childList[m_childStart[k] .. m_childStart[k + 1]), built when first asked for.
    mutable bool m_childrenBuilt = false;
    mutable Array<std::uint32_t> m_childStart;
    mutable Array<std::uint32_t> m_childList;
};

}  // namespace corvane
