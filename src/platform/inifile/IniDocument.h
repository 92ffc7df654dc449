#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace corvane {

// The text of an INI file as the Windows profile functions understand it, edited in place so
// that every line an edit does not touch keeps its bytes, its line ending included.
//
// Lines end at CR LF, LF or a CR alone (as in Wine); a line
// is read with the blanks at both ends removed (PrivateProfile::isBlank). A line is
//  - a section header: "[" first, then the name up to the last "]" (taken as spelled; anything
//    after that "]" is ignored). "[]" is a header without a name: it ends the section before it
//    and its lines belong to no section that can be asked for;
//  - a comment: ";" first;
//  - a key: a name (not starting with "["), "=", the value; blanks around both are removed;
//  - blank, or anything else (no "=", a NUL byte anywhere, an empty name): not understood,
//    kept as it is and never matched.
// Lines before the first header belong to no section.
//
// Names are compared without regard to case, and a name that is asked for is trimmed of
// blanks; the first section of a name counts, and within it the first key.
class IniDocument {
public:
    // The size above which a file is not read: it is taken as holding no sections or keys, and
    // it is never written to. An INI file is a few kilobytes.
    static constexpr std::uint64_t kMaxFileSize = 16u * 1024 * 1024;

    // A file with a byte order mark keeps it, and its encoding, on every save; without one the
    // bytes are taken as they are.
    enum class Encoding { Ansi, Utf8Bom, Utf16Le, Utf16Be };
    enum class Load { Ok, Missing, Unreadable };
    enum class Edit { Refused, Unchanged, Changed };

    // An empty document; the file it is saved to gets CR LF line endings.
    IniDocument() = default;

    // Nothing when the bytes can't be decoded (a UTF-16 file of odd length or with a broken
    // surrogate pair).
    static std::optional<IniDocument> fromBytes(std::string_view bytes);
    // The file's bytes; nothing when the text has no form in the file's encoding (text that is
    // not UTF-8 in a UTF-16 file).
    std::optional<std::string> toBytes() const;

    // Reads a file of at most kMaxFileSize bytes into doc. A missing file gives an empty
    // document; a file that can't be read or decoded (a folder, too large, no permission) gives
    // Unreadable and an empty document.
    static Load load(const std::string& path, IniDocument& doc);
    // Replaces the file atomically (not forced to disk). The empty text on success, else why
    // not; a read-only file, or a text over kMaxFileSize, is refused.
    std::string save(const std::string& path) const;

    // The text in UTF-8 (or, without a byte order mark, the file's own bytes).
    const std::string& text() const { return m_text; }
    Encoding encoding() const { return m_encoding; }

    // Calls visit with each section name that is not empty, in file order, until it returns
    // false.
    void forEachSection(const std::function<bool(std::string_view)>& visit) const;
    // Calls visit with each key name of the section, in file order, until it returns false.
    void forEachKey(std::string_view section,
                    const std::function<bool(std::string_view)>& visit) const;
    // The value of the key, blanks around it removed; nothing when the section or key is
    // missing.
    std::optional<std::string_view> value(std::string_view section, std::string_view key) const;

    // Sets the key's value (blanks before it dropped). A missing section is appended at the end
    // of the text, a missing key after the last line of its section that is not blank; an
    // existing key keeps its line and spelling and only its value changes. Refused for what
    // PrivateProfile::canStore refuses.
    Edit set(std::string_view section, std::string_view key, std::string_view value);
    // Removes the key's line.
    Edit removeKey(std::string_view section, std::string_view key);
    // Removes the section's header and lines, up to the next header.
    Edit removeSection(std::string_view section);

private:
    struct Line {
        std::size_t start = 0;  // first byte
        std::size_t end = 0;    // the line end (CR LF, LF or CR), or the end of the text
        std::size_t next = 0;   // first byte of the next line
    };
    struct Section {
        std::size_t header = 0;  // start of the header line
        std::size_t body = 0;    // start of the line after it
        std::size_t end = 0;     // start of the next header line, or the end of the text
    };
    struct Key {
        std::size_t line = 0;
        std::size_t next = 0;
        std::size_t valueStart = 0;
        std::size_t valueEnd = 0;
    };

    Line lineAt(std::size_t start) const;
    // Whether the text is empty or its last line has its line end.
    bool endsInLineEnd() const;
    std::optional<Section> findSection(std::string_view name) const;
    std::optional<Key> findKey(const Section& section, std::string_view name) const;
    void changed();

    std::string m_text;
    Encoding m_encoding = Encoding::Ansi;
    std::string m_eol = "\r\n";
    // Lookups already made, so that reading many keys of a large file stays linear: by folded
    // section name, and by folded section name, NUL, folded key name.
    mutable std::unordered_map<std::string, std::optional<Section>> m_sections;
    mutable std::unordered_map<std::string, std::optional<Key>> m_keys;
};

}  // namespace corvane
