// Reading a registry export into a RegistryTree.

#include <algorithm>
#include <string>

#include "platform/WinTypes.h"
#include "platform/files/TextCodec.h"
#include "platform/regfile/RegSyntax.h"
#include "platform/regfile/RegistryTree.h"

namespace corvane {

using namespace regsyntax;

namespace {

// A file that the index can't describe key by key (it deletes keys, or names a key twice): it is
// read whole instead.
struct NeedsFullRead {};

}  // namespace

// Reads lines into a tree. Full: every key and value. Index: every key, with the stretch of the
// file it takes; value lines are only checked, or with decodeAll read as well. Load: the values
// of one key from its stretch.
class RegistryTree::Parser {
public:
    enum class Mode { Full, Index, Load };

    Parser(RegistryTree& tree, std::string_view text, std::size_t start, std::size_t end, Mode mode,
           bool decodeAll = false)
        : m_tree(tree),
          m_text(text),
          m_pos(start),
          m_end(end),
          m_mode(mode),
          m_keep(mode != Mode::Index || decodeAll) {}

    void run() {
        while (m_pos < m_end) {
            const std::string_view line = nextLine();
            const std::string_view body = trimLeft(line);
            if (trimRight(body).empty() || body.front() == ';' || body.front() == '#') {
                if (m_mode == Mode::Index && m_decorStart == kNoText) m_decorStart = m_lineStart;
                if (m_keep) m_decor += m_lineWithEnd;
            } else if (body.front() == '[') {
                keyLine(body);
            } else if (body.front() == '"' || body.front() == '@') {
                valueLine(body);
            } else {
                fail("unrecognised line (expected [key], \"name\"=data, @=data or a comment)");
            }
        }
        if (m_mode == Mode::Index) {
            const std::size_t end = m_decorStart == kNoText ? m_text.size() : m_decorStart;
            if (m_current != kNoKey) m_tree.m_keys[m_current].textEnd = offset(end);
            m_tree.m_trailingDecor = std::string(m_text.substr(end));
        } else if (m_mode == Mode::Full) {
            m_tree.m_trailingDecor = std::move(m_decor);
        }
    }

    // Values of one key, from the stretch of the file the index gave it.
    void loadKey(std::uint32_t key) {
        m_current = key;
        run();
    }

private:
    static constexpr std::size_t kNoText = std::string_view::npos;

    static std::uint32_t offset(std::size_t at) { return static_cast<std::uint32_t>(at); }

    std::string_view nextLine() {
        ++m_line;
        m_lineStart = m_pos;
        const std::size_t end = m_text.find('\n', m_pos);
        const std::size_t next = end == std::string_view::npos ? m_text.size() : end + 1;
        // Blank and comment lines are kept with their own line ends, byte for byte.
        m_lineWithEnd = m_text.substr(m_pos, next - m_pos);
        std::string_view line =
            m_text.substr(m_pos, (end == std::string_view::npos ? next : end) - m_pos);
        m_pos = next;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        return line;
    }

    [[noreturn]] void fail(const std::string& reason) const {
        throw RegFormatError(m_line, reason);
    }

    void checkPath(std::string_view path) const {
        const std::size_t slash = path.find('\\');
        const std::string_view root = path.substr(0, slash);
        if (canonicalRoot(root).empty()) {
            fail("unknown root key '" + std::string(root) + "'");
        }
        if (path.find("\\\\") != std::string_view::npos || path.back() == '\\') {
            fail("empty key name in '" + std::string(path) + "'");
        }
        // Windows refuses such keys; a file holding one is refused like any other bad file.
        switch (RegistryTree::checkKeyPath(path)) {
            case win::kErrorSuccess:
                break;
            case win::kErrorInvalidParameter:
                fail("a key name is longer than " +
                     std::to_string(RegistryTree::kMaxKeyNameLength) + " characters");
            default:
                fail("the key is nested deeper than " + std::to_string(RegistryTree::kMaxKeyDepth) +
                     " levels");
        }
    }

    void keyLine(std::string_view body) {
        if (m_mode == Mode::Load) {  // the key's own header
            m_tree.m_keys[m_current].decor = std::move(m_decor);
            m_decor.clear();
            return;
        }
        const std::string_view trimmed = trimRight(body);
        if (trimmed.back() != ']') fail("key line without a closing ']'");
        std::string_view path = trimmed.substr(1, trimmed.size() - 2);
        if (!path.empty() && path.front() == '-') {
            if (m_mode == Mode::Index) throw NeedsFullRead{};
            path.remove_prefix(1);
            if (path.empty()) fail("empty key name");
            checkPath(path);
            if (const std::uint32_t key = m_tree.findKey(path); key != kNoKey) {
                m_tree.deleteKey(key);
            }
            m_current = kNoKey;
            m_skipping = true;
            return;
        }
        if (path.empty()) fail("empty key name");
        checkPath(path);
        const std::uint32_t previous = m_current;
        m_current = m_tree.ensureKey(path, false);
        m_skipping = false;
        Key& key = m_tree.m_keys[m_current];
        if (m_mode == Mode::Index) {
            if (key.hasHeader) throw NeedsFullRead{};
            // The key's stretch begins with the blank and comment lines before its header.
            const std::size_t begin = m_decorStart == kNoText ? m_lineStart : m_decorStart;
            if (previous != kNoKey) m_tree.m_keys[previous].textEnd = offset(begin);
            key.textBegin = offset(begin);
            key.loaded = m_keep;
            m_decorStart = kNoText;
            key.decor = std::move(m_decor);
            m_decor.clear();
            key.hasHeader = true;
            m_tree.placeLast(m_current);
            return;
        }
        if (key.hasHeader) return;  // a key named again: its decor goes with what follows
        key.decor = std::move(m_decor);
        m_decor.clear();
        key.hasHeader = true;
        m_tree.placeLast(m_current);
    }

    void valueLine(std::string_view body) {
        const int firstLine = m_line;
        std::size_t p = 0;
        std::string name;
        if (body.front() == '@') {
            p = 1;
        } else {
            p = 1;
            bool closed = false;
            while (p < body.size()) {
                const char c = body[p];
                if (c == '\\' && p + 1 < body.size()) {
                    const char next = body[p + 1];
                    name += (next == '\\' || next == '"') ? next : c;
                    p += (next == '\\' || next == '"') ? 2 : 1;
                    continue;
                }
                ++p;
                if (c == '"') {
                    closed = true;
                    break;
                }
                name += c;
            }
            if (!closed) fail("value name without a closing quote");
        }
        while (p < body.size() && isBlank(body[p]))
            ++p;
        if (p >= body.size() || body[p] != '=') fail("expected '=' after the value name");
        ++p;
        while (p < body.size() && isBlank(body[p]))
            ++p;

        const bool keep = m_keep;
        if (m_mode == Mode::Index) m_decorStart = kNoText;
        std::string raw;
        if (keep) raw = body;
        // The whole text of the value, in the file: its continuation lines stay as they are.
        const std::size_t bodyStart = static_cast<std::size_t>(body.data() - m_text.data());
        std::size_t bodyEnd = bodyStart + body.size();
        // hex data may run over several lines, each but the last ending in a backslash.
        if (startsWithFolded(body.substr(p), "hex")) {
            while (trimRight(m_text.substr(bodyStart, bodyEnd - bodyStart)).ends_with('\\')) {
                if (m_pos >= m_end) {
                    throw RegFormatError(firstLine,
                                         "the value's data continues past the end of the file");
                }
                const std::string_view line = nextLine();
                bodyEnd = static_cast<std::size_t>(line.data() - m_text.data()) + line.size();
                if (keep) {
                    raw += '\n';
                    raw += line;
                }
            }
        }
        const std::string_view data = keep ? std::string_view(raw).substr(p)
                                           : m_text.substr(bodyStart + p, bodyEnd - bodyStart - p);
        const DataShape shape = classifyData(data);
        if (!shape.error.empty()) throw RegFormatError(firstLine, shape.error);
        if (!keep) {
            if (m_current == kNoKey)
                throw RegFormatError(firstLine, "a value before the first [key] line");
            return;
        }
        if (m_current == kNoKey) {
            if (m_skipping) return;  // values of a deleted key are dropped, as regedit drops them
            throw RegFormatError(firstLine, "a value before the first [key] line");
        }
        if (shape.isDelete) {
            m_tree.eraseValue(m_current, name);
            return;
        }
        Value value;
        value.name = std::move(name);
        value.type = shape.type;
        value.dataOffset = static_cast<std::uint32_t>(p);
        value.raw = std::move(raw);
        value.decor = std::move(m_decor);
        m_decor.clear();
        m_tree.putValue(m_current, std::move(value));
    }

    RegistryTree& m_tree;
    std::string_view m_text;
    std::size_t m_pos;
    std::size_t m_end;
    Mode m_mode;
    bool m_keep;  // values are read, not only checked
    std::size_t m_lineStart = 0;
    std::size_t m_decorStart = kNoText;  // where the blank and comment lines not yet placed begin
    int m_line = 1;
    std::uint32_t m_current = kNoKey;
    bool m_skipping = false;
    std::string m_decor;  // blank and comment lines not yet given to a key or value
    std::string_view m_lineWithEnd;
};

RegistryTree RegistryTree::parse(std::string fileBytes) {
    return read(std::move(fileBytes), true);
}

RegistryTree RegistryTree::parseLazily(std::string fileBytes) {
    return read(std::move(fileBytes), false);
}

RegistryTree RegistryTree::read(std::string bytes, bool decodeAll) {
    if (bytes.empty()) {
        throw RegFormatError(1, "the file is empty (a registry file begins with REGEDIT4 or " +
                                    std::string(kHeader5) + ")");
    }
    std::string text;
    RegFileEncoding encoding = RegFileEncoding::Ansi;
    const std::string_view view(bytes);
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
        auto decoded = codec::utf16leToUtf8(view.substr(2));
        if (!decoded) {
            int line = 1;
            const std::string reason = reasonForBadUtf16(view.substr(2), line);
            throw RegFormatError(line, reason);
        }
        text = std::move(*decoded);
        encoding = RegFileEncoding::Utf16Le;
    } else if (bytes.size() >= 3 && view.substr(0, 3) == "\xEF\xBB\xBF") {
        text = bytes.substr(3);
        encoding = RegFileEncoding::Utf8Bom;
    } else {
        text = std::move(bytes);
    }

    const std::size_t firstEnd = text.find('\n');
    const std::string_view first = trimRight(
        std::string_view(text).substr(0, firstEnd == std::string::npos ? text.size() : firstEnd));
    RegFileVersion version;
    if (first == kHeader4) {
        version = RegFileVersion::Regedit4;
        if (encoding == RegFileEncoding::Ansi && !codec::isAscii(text))
            codec::cp1252ToUtf8InPlace(text);
    } else if (first == kHeader5) {
        version = RegFileVersion::Regedit5;
        if (encoding == RegFileEncoding::Ansi) encoding = RegFileEncoding::Utf8;
    } else {
        throw RegFormatError(
            1, "not a registry file: the first line must be REGEDIT4 or " + std::string(kHeader5));
    }
    if (encoding == RegFileEncoding::Utf8 || encoding == RegFileEncoding::Utf8Bom) {
        const std::size_t bad = codec::firstInvalidUtf8(text);
        if (bad != std::string::npos) {
            const auto line =
                1 + std::count(text.begin(), text.begin() + static_cast<long>(bad), '\n');
            throw RegFormatError(static_cast<int>(line),
                                 "the file holds text that is not valid UTF-8");
        }
    }

    const bool crlf = firstEnd == std::string::npos || (firstEnd > 0 && text[firstEnd - 1] == '\r');
    const std::size_t start = firstEnd == std::string::npos ? text.size() : firstEnd + 1;
    auto read = [&](Parser::Mode mode) {
        RegistryTree tree(version, encoding);
        tree.m_crlf = crlf;
        tree.m_keys.reserve(text.size() / 160);
        tree.m_index.reserve(text.size() / 160);
        Parser(tree, text, start, text.size(), mode, decodeAll).run();
        return tree;
    };
    try {
        RegistryTree tree = read(Parser::Mode::Index);
        tree.m_text = std::move(text);
        return tree;
    } catch (const NeedsFullRead&) {
        return read(Parser::Mode::Full);
    }
}

void RegistryTree::load(std::uint32_t key) const {
    const Key& k = m_keys[key];
    if (k.loaded) return;
    k.loaded = true;
    // Loading changes no key as the tree's users see it: it only decodes what the file holds.
    auto& tree = const_cast<RegistryTree&>(*this);
    Parser(tree, m_text, k.textBegin, k.textEnd, Parser::Mode::Load).loadKey(key);
}

}  // namespace corvane
