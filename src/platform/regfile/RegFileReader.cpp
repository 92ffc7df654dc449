// Reading a registry export into a RegistryTree.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/WinTypes.h"
#include "platform/files/TextCodec.h"
#include "platform/regfile/RegSyntax.h"
#include "platform/regfile/RegistryTree.h"

namespace corvane {

using namespace regsyntax;

// Outside the unnamed namespace: the reader of a file keeps one.
namespace regpath {

// A header's path as far as it was checked: the path, and where each of its names ends (the
// root's first).
struct CheckedPath {
    std::string path;
    std::vector<std::uint32_t> nameEnds;
};

}  // namespace regpath

using regpath::CheckedPath;

namespace {

// A file that the index can't describe key by key (it deletes keys, or names a key twice): it is
// read whole instead.
struct NeedsFullRead {};

// Why a key path from a header can't be a key, or empty. Given the path of the header checked
// before, the names the two share are not checked again: the headers of an export mostly differ
// from the one before only in their last name. After a problem, last no longer describes a path
// (a file with a bad header is read no further).
std::string pathProblem(std::string_view path, CheckedPath* last = nullptr) {
    std::size_t kept = 0;  // names known good
    if (last != nullptr) {
        const std::size_t same = commonPrefixLength(path, last->path);
        // A name counts when the backslash after it is shared too.
        auto shared = [&](std::size_t end) {
            return end < same || (end == same && end < path.size() && path[end] == '\\');
        };
        while (kept < last->nameEnds.size() && shared(last->nameEnds[kept]))
            ++kept;
        last->nameEnds.resize(kept);
    }
    std::size_t nameStart = 0;
    if (kept == 0) {
        const std::size_t slash = path.find('\\');
        const std::string_view root = path.substr(0, slash);
        if (RegistryTree::canonicalRoot(root).empty()) {
            return "unknown root key '" + std::string(root) + "'";
        }
        if (last != nullptr) last->nameEnds.push_back(static_cast<std::uint32_t>(root.size()));
        if (slash == std::string_view::npos) {
            if (last != nullptr) last->path.assign(path);
            return {};
        }
        nameStart = slash + 1;
        kept = 1;
    } else {
        nameStart = last->nameEnds.back() + 1;
    }
    // Windows refuses keys too deep or with too long a name; a file holding one is refused like
    // any other bad file. An empty name is reported first, wherever it is.
    long limit = win::kErrorSuccess;
    std::size_t depth = kept - 1;
    while (true) {
        const std::size_t i = std::min(path.find('\\', nameStart), path.size());
        const std::size_t length = i - nameStart;
        if (length == 0) return "empty key name in '" + std::string(path) + "'";
        if (limit == win::kErrorSuccess) {
            if (++depth > RegistryTree::kMaxKeyDepth) {
                limit = win::kErrorBadKey;
            } else if (length > RegistryTree::kMaxKeyNameLength &&
                       codec::utf16Length(path.substr(nameStart, length)) >
                           RegistryTree::kMaxKeyNameLength) {
                // A UTF-8 name has no more UTF-16 units than bytes.
                limit = win::kErrorInvalidParameter;
            }
        }
        if (last != nullptr) last->nameEnds.push_back(static_cast<std::uint32_t>(i));
        if (i == path.size()) break;
        nameStart = i + 1;
    }
    switch (limit) {
        case win::kErrorSuccess:
            if (last != nullptr) last->path.assign(path);
            return {};
        case win::kErrorInvalidParameter:
            return "a key name is longer than " + std::to_string(RegistryTree::kMaxKeyNameLength) +
                   " characters";
        default:
            return "the key is nested deeper than " + std::to_string(RegistryTree::kMaxKeyDepth) +
                   " levels";
    }
}

// Where the name of a value line ends (just past its closing quote), or npos when it has none.
std::size_t valueNameEnd(std::string_view body) {
    if (body.front() == '@') return 1;
    const std::size_t quote = closingQuote(body, 1);
    return quote == std::string_view::npos ? quote : quote + 1;
}

// Where the name of a value line ends (just past its closing quote) and its data begins.
struct ValueHead {
    std::size_t nameEnd = 0;
    std::size_t data = 0;
    const char* error = nullptr;
};

ValueHead valueHead(std::string_view body) {
    ValueHead head;
    head.nameEnd = valueNameEnd(body);
    if (head.nameEnd == std::string_view::npos) {
        head.error = "value name without a closing quote";
        return head;
    }
    std::size_t p = head.nameEnd;
    while (p < body.size() && isBlank(body[p]))
        ++p;
    if (p >= body.size() || body[p] != '=') {
        head.error = "expected '=' after the value name";
        return head;
    }
    ++p;
    while (p < body.size() && isBlank(body[p]))
        ++p;
    head.data = p;
    return head;
}

}  // namespace

// Reads lines of text held in memory into a tree. Full: every key and value of a file. Load:
// the values of one key, from the stretch of the file the index gave it.
class RegistryTree::Parser {
public:
    enum class Mode { Full, Load };

    Parser(RegistryTree& tree, std::string_view text, std::size_t start, Mode mode)
        : m_tree(tree), m_text(text), m_pos(start), m_mode(mode) {}

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
        if (m_mode == Mode::Full) m_tree.m_trailingDecor = std::move(m_decor);
    }

    void loadKey(std::uint32_t key) {
        m_current = key;
        run();
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

    void keyLine(std::string_view body) {
        if (m_mode == Mode::Load) {  // the key's own header
            m_tree.m_sets[m_tree.m_keys[m_current].values].decor = std::move(m_decor);
            m_decor.clear();
            return;
        }
        const std::string_view trimmed = trimRight(body);
        if (trimmed.back() != ']') fail("key line without a closing ']'");
        std::string_view path = trimmed.substr(1, trimmed.size() - 2);
        const bool deletion = !path.empty() && path.front() == '-';
        if (deletion) path.remove_prefix(1);
        if (path.empty()) fail("empty key name");
        if (const std::string problem = pathProblem(path); !problem.empty()) fail(problem);
        if (deletion) {
            if (const std::uint32_t key = m_tree.findKey(path); key != kNoKey) {
                m_tree.deleteKey(key);
            }
            m_current = kNoKey;
            m_skipping = true;
            return;
        }
        m_current = m_tree.ensureKey(path, false);
        m_skipping = false;
        Key& key = m_tree.m_keys[m_current];
        if (key.hasHeader()) return;  // a key named again: its decor goes with what follows
        key.flags |= kHasHeader;
        m_tree.valuesOf(m_current).decor = std::move(m_decor);
        m_decor.clear();
        m_tree.placeLast(m_current);
    }

    void valueLine(std::string_view body) {
        const int firstLine = m_line;
        const ValueHead head = valueHead(body);
        if (head.error != nullptr) fail(head.error);
        std::string name =
            head.nameEnd == 1 ? std::string() : unescapeQuoted(body.substr(1, head.nameEnd - 2));
        const std::size_t p = head.data;

        // hex data may run over several lines, each but the last ending in a backslash.
        std::string_view last = body;
        if (startsWithFolded(body.substr(p), "hex")) {
            while (trimRight(last).ends_with('\\')) {
                if (m_pos >= m_text.size()) {
                    throw RegFormatError(firstLine,
                                         "the value's data continues past the end of the file");
                }
                last = nextLine();
            }
        }
        // The value is left where it lies in the text, which its key or the tree keeps.
        const std::string_view raw(
            body.data(), static_cast<std::size_t>(last.data() + last.size() - body.data()));
        // A key's own text was checked when the file was read.
        const std::string_view data = raw.substr(p);
        const DataShape shape = m_mode == Mode::Load ? shapeOf(data) : classifyData(data);
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
        value.raw = raw;
        value.decor = std::move(m_decor);
        m_decor.clear();
        m_tree.putValue(m_current, std::move(value));
    }

    RegistryTree& m_tree;
    std::string_view m_text;
    std::size_t m_pos;
    Mode m_mode;
    int m_line = 1;
    std::uint32_t m_current = kNoKey;
    bool m_skipping = false;
    std::string m_decor;  // blank and comment lines not yet given to a key or value
    std::string_view m_lineWithEnd;
};

// Reads a file's lines as they come, piece by piece, and checks each: keys go into the tree
// with the stretch of the source each one takes; values are only checked.
class RegistryTree::Indexer {
public:
    Indexer(RegistryTree& tree, std::size_t start, bool checkUtf8)
        : m_tree(tree), m_offset(start), m_checkUtf8(checkUtf8) {}

    void feed(std::string_view piece) {
        std::size_t pos = 0;
        if (!m_carry.empty()) {
            const void* nl = std::memchr(piece.data(), '\n', piece.size());
            if (nl == nullptr) {
                m_carry += piece;
                m_offset += piece.size();
                return;
            }
            pos = static_cast<std::size_t>(static_cast<const char*>(nl) - piece.data());
            m_carry += piece.substr(0, pos);
            line(m_carry, m_carryStart);
            m_carry.clear();
            ++pos;
        }
        while (pos < piece.size()) {
            const void* nl = std::memchr(piece.data() + pos, '\n', piece.size() - pos);
            if (nl == nullptr) {
                m_carry.assign(piece.substr(pos));
                m_carryStart = m_offset + pos;
                break;
            }
            const auto end = static_cast<std::size_t>(static_cast<const char*>(nl) - piece.data());
            line(piece.substr(pos, end - pos), m_offset + pos);
            pos = end + 1;
        }
        m_offset += piece.size();
    }

    void finish() {
        const std::size_t size = m_offset;
        if (!m_carry.empty()) {
            line(m_carry, m_carryStart);
            m_tree.m_endsWithNewline = false;
            m_tree.m_endsWithCr = m_carry.back() == '\r';
        }
        if (m_inHex) {
            throw RegFormatError(m_valueLine,
                                 "the value's data continues past the end of the file");
        }
        const std::size_t end = m_decorStart == kNoText ? size : m_decorStart;
        m_tree.m_trailBegin = end;
    }

private:
    static constexpr std::size_t kNoText = std::string_view::npos;

    static std::uint32_t offset(std::size_t at) { return static_cast<std::uint32_t>(at); }

    [[noreturn]] void fail(int line, const std::string& reason) const {
        throw RegFormatError(line, reason);
    }

    void line(std::string_view text, std::size_t start) {
        ++m_line;
        if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
        if (m_checkUtf8 && !codec::isAscii(text) &&
            codec::firstInvalidUtf8(text) != std::string_view::npos) {
            fail(m_line, "the file holds text that is not valid UTF-8");
        }
        if (m_inHex) {
            hexLine(text);
            return;
        }
        const std::string_view body = trimLeft(text);
        if (trimRight(body).empty() || body.front() == ';' || body.front() == '#') {
            if (m_decorStart == kNoText) m_decorStart = start;
        } else if (body.front() == '[') {
            keyLine(body, start);
        } else if (body.front() == '"' || body.front() == '@') {
            valueLine(body);
        } else {
            fail(m_line, "unrecognised line (expected [key], \"name\"=data, @=data or a comment)");
        }
    }

    void keyLine(std::string_view body, std::size_t start) {
        const std::string_view trimmed = trimRight(body);
        if (trimmed.back() != ']') fail(m_line, "key line without a closing ']'");
        std::string_view path = trimmed.substr(1, trimmed.size() - 2);
        if (!path.empty() && path.front() == '-') throw NeedsFullRead{};
        if (path.empty()) fail(m_line, "empty key name");
        std::string converted;
        if (m_tree.m_cp1252 && !codec::isAscii(path)) {
            converted = codec::cp1252ToUtf8(path);
            path = converted;
        }
        if (const std::string problem = pathProblem(path, &m_checked); !problem.empty()) {
            fail(m_line, problem);
        }
        const std::uint32_t current = m_tree.ensureKey(path, false);
        Key& key = m_tree.m_keys[current];
        if (key.hasHeader()) throw NeedsFullRead{};
        // The key's stretch begins with the blank and comment lines before its header (and so
        // never at 0, where the file's first line is).
        key.textBegin = offset(m_decorStart == kNoText ? start : m_decorStart);
        key.flags |= kHasHeader;
        m_tree.placeLast(current);
        m_current = current;
        m_decorStart = kNoText;
    }

    void valueLine(std::string_view body) {
        m_decorStart = kNoText;
        m_valueLine = m_line;
        const ValueHead head = valueHead(body);
        if (head.error != nullptr) fail(m_line, head.error);
        const std::string_view data = body.substr(head.data);
        if (startsWithFolded(data, "hex")) {
            std::size_t list = 0;
            std::uint32_t type = 0;
            if (const char* error = checkHexHead(data, type, list)) fail(m_line, error);
            hexLine(data.substr(list));
            return;
        }
        const DataShape shape = classifyData(data);
        if (!shape.error.empty()) fail(m_line, shape.error);
        valueDone();
    }

    void hexLine(std::string_view list) {
        if (const char* error = checkHexLine(list, m_inHex)) fail(m_valueLine, error);
        if (!m_inHex) valueDone();
    }

    void valueDone() const {
        if (m_current == kNoKey) fail(m_valueLine, "a value before the first [key] line");
    }

    RegistryTree& m_tree;
    std::size_t m_offset;  // where the next piece begins in the source
    bool m_checkUtf8;
    std::string m_carry;  // the start of a line that the next piece ends
    std::size_t m_carryStart = 0;
    std::size_t m_decorStart = kNoText;  // where the blank and comment lines not yet placed begin
    int m_line = 1;
    int m_valueLine = 0;
    bool m_inHex = false;  // the last line ended in a backslash inside hex data
    std::uint32_t m_current = kNoKey;
    CheckedPath m_checked;  // the last header's path
};

RegistryTree RegistryTree::parse(std::string fileBytes) {
    return read(memorySource(std::move(fileBytes)), LazyReading{}, Reading::Eager);
}

RegistryTree RegistryTree::parseWhole(std::string fileBytes) {
    return read(memorySource(std::move(fileBytes)), LazyReading{}, Reading::Whole);
}

RegistryTree RegistryTree::parseLazily(std::string fileBytes, LazyReading how) {
    return read(memorySource(std::move(fileBytes)), how, Reading::Lazy);
}

RegistryTree RegistryTree::parseLazily(std::shared_ptr<const RegSource> source, LazyReading how) {
    return read(std::move(source), how, Reading::Lazy);
}

namespace {

[[noreturn]] void sourceChanged() {
    throw RegSourceError("the file was changed while it was read");
}

}  // namespace

RegistryTree RegistryTree::read(std::shared_ptr<const RegSource> source, LazyReading how,
                                Reading reading) {
    const std::size_t pieceSize = std::max<std::size_t>(how.pieceSize, 1);
    const std::size_t size = source->size();
    if (size == 0) {
        throw RegFormatError(1, "the file is empty (a registry file begins with REGEDIT4 or " +
                                    std::string(kHeader5) + ")");
    }
    // Offsets into the text are kept in 32 bits.
    if (size >= UINT32_MAX / 2) throw RegFormatError(1, "the file is larger than 2 GB");
    std::string head;
    if (!source->read(0, std::min<std::size_t>(size, 64 * 1024), head)) sourceChanged();
    RegFileEncoding encoding = RegFileEncoding::Ansi;
    std::size_t start = 0;
    if (head.size() >= 2 && head[0] == '\xFF' && head[1] == '\xFE') {
        // Rare for a whole export, and not read in pieces: the text is turned into UTF-8 first.
        std::string bytes;
        if (!source->read(2, size, bytes)) sourceChanged();
        auto decoded = codec::utf16leToUtf8(bytes);
        if (!decoded) {
            int line = 1;
            const std::string reason = reasonForBadUtf16(bytes, line);
            throw RegFormatError(line, reason);
        }
        const std::size_t lineEnd = decoded->find('\n');
        head = decoded->substr(0, lineEnd == std::string::npos ? lineEnd : lineEnd + 1);
        source = memorySource(std::move(*decoded));
        encoding = RegFileEncoding::Utf16Le;
    } else if (std::string_view(head).starts_with("\xEF\xBB\xBF")) {
        start = 3;
        encoding = RegFileEncoding::Utf8Bom;
    }

    // The first line may be longer than what was read (blanks after the header are allowed).
    std::size_t firstEnd = head.find('\n', start);
    while (firstEnd == std::string::npos && head.size() < source->size() &&
           head.find_first_not_of(" \t\r", start + kHeader5.size()) == std::string::npos) {
        const std::size_t from = head.size();
        if (!source->read(from, std::min(source->size(), from + 64 * 1024), head)) sourceChanged();
        firstEnd = head.find('\n', from);
    }
    const std::string_view first = trimRight(std::string_view(head).substr(
        start, firstEnd == std::string::npos ? std::string::npos : firstEnd - start));
    RegFileVersion version;
    if (first == kHeader4) {
        version = RegFileVersion::Regedit4;
    } else if (first == kHeader5) {
        version = RegFileVersion::Regedit5;
        if (encoding == RegFileEncoding::Ansi) encoding = RegFileEncoding::Utf8;
    } else {
        throw RegFormatError(
            1, "not a registry file: the first line must be REGEDIT4 or " + std::string(kHeader5));
    }
    const bool checkUtf8 =
        encoding == RegFileEncoding::Utf8 || encoding == RegFileEncoding::Utf8Bom;
    const bool crlf = firstEnd == std::string::npos || (firstEnd > 0 && head[firstEnd - 1] == '\r');
    const std::size_t textStart = firstEnd == std::string::npos ? source->size() : firstEnd + 1;

    RegistryTree tree(version, encoding);
    tree.m_crlf = crlf;
    tree.m_cp1252 = encoding == RegFileEncoding::Ansi;
    tree.m_source = source;
    tree.m_cacheLimit = std::max<std::size_t>(how.keptKeys, 1);
    // A key takes 150 to 250 bytes of an export. The arrays that grow with the keys share one
    // stretch of memory sized for them: most of what reading a large file costs is the first touch
    // of fresh memory, which then comes a few huge pages at a time.
    const std::size_t keys = source->size() / 192;
    const std::size_t bytes =
        keys * (sizeof(Key) + 16 + 3 * sizeof(std::uint32_t)) + PathIndex::bytesFor(keys) + 4096;
    if (bytes >= bulk::kLargeBytes) {
        const BulkAllocator<Key> memory(std::make_shared<bulk::Arena>(bytes));
        tree.m_keys = Array<Key>(memory);
        tree.m_names = decltype(tree.m_names)(memory);
        tree.m_order = Array<std::uint32_t>(memory);
        tree.m_index = PathIndex(memory);
        tree.m_childStart = Array<std::uint32_t>(memory);
        tree.m_childList = Array<std::uint32_t>(memory);
    }
    tree.m_keys.reserve(keys);
    tree.m_names.reserve(keys * 16);
    tree.m_order.reserve(keys);
    tree.m_index.reserve(keys);
    auto readWhole = [&] {
        std::string text;
        if (!source->read(start, source->size(), text)) sourceChanged();
        if (tree.m_cp1252 && !codec::isAscii(text)) codec::cp1252ToUtf8InPlace(text);
        if (const std::size_t bad = checkUtf8 ? codec::firstInvalidUtf8(text) : std::string::npos;
            bad != std::string::npos) {
            const auto line =
                1 + std::count(text.begin(), text.begin() + static_cast<long>(bad), '\n');
            throw RegFormatError(static_cast<int>(line),
                                 "the file holds text that is not valid UTF-8");
        }
        RegistryTree whole(version, encoding);
        whole.m_crlf = crlf;
        whole.m_wholeText = std::make_unique<std::string>(std::move(text));
        const std::string& kept = *whole.m_wholeText;
        Parser(whole, kept, firstEnd == std::string::npos ? kept.size() : firstEnd + 1 - start,
               Parser::Mode::Full)
            .run();
        return whole;
    };
    if (reading == Reading::Whole) return readWhole();
    try {
        Indexer indexer(tree, textStart, checkUtf8);
        if (!source->scan(textStart, source->size(), pieceSize,
                          [&indexer](std::string_view piece) { indexer.feed(piece); })) {
            sourceChanged();
        }
        indexer.finish();
    } catch (const NeedsFullRead&) {
        return readWhole();
    }
    if (reading == Reading::Eager) {
        tree.m_cacheLimit = SIZE_MAX;
        for (std::uint32_t key = 0; key < tree.m_keys.size(); ++key)
            tree.loadedValues(key);
    }
    return tree;
}

const RegistryTree::ValueSet* RegistryTree::loadedValues(std::uint32_t key) const {
    const Key& k = m_keys[key];
    if (k.values != kNoKey) return &m_sets[k.values];
    if (!k.inSource()) return nullptr;
    const std::uint32_t slot = newSet(key);
    // The values stay in the text they were read from; a slot given back keeps its buffer.
    std::unique_ptr<std::string>& kept = m_sets[slot].text;
    if (!kept) kept = std::make_unique<std::string>();
    std::string& text = *kept;
    bool ok = m_source->read(k.textBegin, textEnd(key), text);
    if (ok) {
        if (m_cp1252 && !codec::isAscii(text)) codec::cp1252ToUtf8InPlace(text);
        try {
            // Loading changes no key as the tree's users see it: it only decodes what the file
            // holds.
            Parser(const_cast<RegistryTree&>(*this), text, 0, Parser::Mode::Load).loadKey(key);
        } catch (const RegFormatError&) {
            ok = false;
        }
    }
    if (!ok) {
        // The file is not what was indexed; what was read of it must not be written back.
        m_sourceLost = true;
        m_sets[slot].values.clear();
        m_sets[slot].index.reset();
        m_sets[slot].lost = true;
    }
    m_cached.push_back(key);
    while (m_cached.size() > m_cacheLimit) {
        const std::uint32_t old = m_cached.front();
        m_cached.erase(m_cached.begin());
        if (old != key && !m_keys[old].touched()) freeSet(old);
    }
    return &m_sets[m_keys[key].values];
}

}  // namespace corvane
