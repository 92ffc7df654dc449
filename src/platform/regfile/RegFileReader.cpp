// Reading a registry export into a RegistryTree.

#include <algorithm>
#include <string>

#include "platform/WinTypes.h"
#include "platform/files/TextCodec.h"
#include "platform/regfile/RegSyntax.h"
#include "platform/regfile/RegistryTree.h"

namespace corvane {

using namespace regsyntax;

class RegistryTree::Parser {
public:
    Parser(RegistryTree& tree, std::string_view text, std::size_t start)
        : m_tree(tree), m_text(text), m_pos(start) {}

    void run() {
        while (m_pos < m_text.size()) {
            const std::string_view line = nextLine();
            const std::string_view body = trimLeft(line);
            if (trimRight(body).empty() || body.front() == ';' || body.front() == '#') {
                m_decor += m_lineWithEnd;
            } else if (body.front() == '[') {
                keyLine(body);
            } else if (body.front() == '"' || body.front() == '@') {
                valueLine(body);
            } else {
                fail("unrecognised line (expected [key], \"name\"=data, @=data or a comment)");
            }
        }
        m_tree.m_trailingDecor = std::move(m_decor);
    }

private:
    std::string_view nextLine() {
        ++m_line;
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
        const std::string_view trimmed = trimRight(body);
        if (trimmed.back() != ']') fail("key line without a closing ']'");
        std::string_view path = trimmed.substr(1, trimmed.size() - 2);
        if (!path.empty() && path.front() == '-') {
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
        m_current = m_tree.ensureKey(path, false);
        m_skipping = false;
        Key& key = m_tree.m_keys[m_current];
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

        std::string raw(body);
        // hex data may run over several lines, each but the last ending in a backslash.
        if (startsWithFolded(body.substr(p), "hex")) {
            while (trimRight(std::string_view(raw)).ends_with('\\')) {
                if (m_pos >= m_text.size()) {
                    throw RegFormatError(firstLine,
                                         "the value's data continues past the end of the file");
                }
                raw += '\n';
                raw += nextLine();
            }
        }
        const std::string_view data = std::string_view(raw).substr(p);
        const DataShape shape = classifyData(data);
        if (!shape.error.empty()) throw RegFormatError(firstLine, shape.error);
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
    int m_line = 1;
    std::uint32_t m_current = kNoKey;
    bool m_skipping = false;
    std::string m_decor;  // blank and comment lines not yet given to a key or value
    std::string_view m_lineWithEnd;
};

RegistryTree RegistryTree::parse(std::string_view bytes) {
    if (bytes.empty()) {
        throw RegFormatError(1, "the file is empty (a registry file begins with REGEDIT4 or " +
                                    std::string(kHeader5) + ")");
    }
    std::string text;
    RegFileEncoding encoding = RegFileEncoding::Ansi;
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
        auto decoded = codec::utf16leToUtf8(bytes.substr(2));
        if (!decoded) {
            int line = 1;
            const std::string reason = reasonForBadUtf16(bytes.substr(2), line);
            throw RegFormatError(line, reason);
        }
        text = std::move(*decoded);
        encoding = RegFileEncoding::Utf16Le;
    } else if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        text = bytes.substr(3);
        encoding = RegFileEncoding::Utf8Bom;
    } else {
        text = bytes;
    }

    const std::size_t firstEnd = text.find('\n');
    const std::string_view first = trimRight(
        std::string_view(text).substr(0, firstEnd == std::string::npos ? text.size() : firstEnd));
    RegFileVersion version;
    if (first == kHeader4) {
        version = RegFileVersion::Regedit4;
        if (encoding == RegFileEncoding::Ansi && !codec::isAscii(text))
            text = codec::cp1252ToUtf8(text);
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

    RegistryTree tree(version, encoding);
    tree.m_crlf = firstEnd == std::string::npos || (firstEnd > 0 && text[firstEnd - 1] == '\r');
    tree.m_keys.reserve(text.size() / 96);
    tree.m_index.reserve(text.size() / 96);
    Parser parser(tree, text, firstEnd == std::string::npos ? text.size() : firstEnd + 1);
    parser.run();
    return tree;
}

}  // namespace corvane
