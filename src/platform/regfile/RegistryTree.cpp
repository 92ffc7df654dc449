#include "platform/regfile/RegistryTree.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <utility>

#include "platform/WinTypes.h"
#include "platform/files/TextCodec.h"

namespace corvane {

namespace {

constexpr std::string_view kHeader4 = "REGEDIT4";
constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";

constexpr std::array<std::string_view, 7> kRoots = {
    "HKEY_CLASSES_ROOT",   "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",   "HKEY_USERS",
    "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA",     "HKEY_PERFORMANCE_DATA"};

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimRight(std::string_view s) {
    while (!s.empty() && (isBlank(s.back()) || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::string_view trimLeft(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    return s;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool startsWithFolded(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && codec::equalsFolded(s.substr(0, prefix.size()), prefix);
}

bool isStringType(std::uint32_t type) {
    return type == win::kRegSz || type == win::kRegExpandSz || type == win::kRegMultiSz;
}

// Walks the byte list of hex data ("01,02,\<newline>  03"); calls put for every byte. Returns an
// error text, empty when the list is well formed.
template <typename Put>
std::string scanHexBytes(std::string_view s, Put&& put) {
    std::size_t i = 0;
    const std::size_t n = s.size();
    while (true) {
        while (i < n && (isBlank(s[i]) || s[i] == '\r'))
            ++i;
        if (i >= n) break;
        const char c = s[i];
        if (c == '\\') {
            ++i;
            while (i < n && (isBlank(s[i]) || s[i] == '\r'))
                ++i;
            if (i < n && s[i] == '\n') {
                ++i;
                continue;
            }
            return "a '\\' in hex data must end its line";
        }
        if (c == '\n') {
            ++i;
            continue;
        }
        const int hi = hexDigit(c);
        if (hi < 0) return "bad hex byte in the value's data";
        int value = hi;
        ++i;
        if (i < n && hexDigit(s[i]) >= 0) {
            value = value * 16 + hexDigit(s[i]);
            ++i;
            if (i < n && hexDigit(s[i]) >= 0) return "hex byte with more than two digits";
        }
        put(static_cast<char>(value));
        while (i < n && isBlank(s[i]))
            ++i;
        if (i < n && s[i] == ',') {
            ++i;
            continue;
        }
        if (i < n && s[i] != '\\' && s[i] != '\r' && s[i] != '\n') {
            return "expected ',' between hex bytes";
        }
    }
    // A trailing comma is tolerated, as regedit tolerates it.
    return {};
}

struct DataShape {
    bool isDelete = false;
    std::uint32_t type = 0;
    std::string error;
};

// Recognises the data part of a value line and checks it.
DataShape classifyData(std::string_view data) {
    DataShape shape;
    const std::string_view trimmed = trimRight(data);
    if (trimmed == "-") {
        shape.isDelete = true;
        return shape;
    }
    if (!data.empty() && data.front() == '"') {
        std::size_t i = 1;
        while (i < data.size() && data[i] != '"') {
            if (data[i] == '\\' && i + 1 < data.size()) ++i;
            ++i;
        }
        if (i >= data.size()) {
            shape.error = "the text value has no closing quote";
        } else if (!trimRight(data.substr(i + 1)).empty()) {
            shape.error = "unexpected text after the closing quote";
        }
        shape.type = win::kRegSz;
        return shape;
    }
    if (startsWithFolded(data, "dword:")) {
        const std::string_view digits = trimRight(data.substr(6));
        bool ok = !digits.empty() && digits.size() <= 8;
        for (const char c : digits)
            ok = ok && hexDigit(c) >= 0;
        if (!ok) shape.error = "bad dword value (expected up to 8 hex digits)";
        shape.type = win::kRegDword;
        return shape;
    }
    if (startsWithFolded(data, "hex")) {
        std::size_t i = 3;
        shape.type = win::kRegBinary;
        if (i < data.size() && data[i] == '(') {
            const std::size_t close = data.find(')', i);
            const std::string_view num = close == std::string_view::npos
                                             ? std::string_view{}
                                             : data.substr(i + 1, close - i - 1);
            std::uint32_t type = 0;
            bool ok = !num.empty() && num.size() <= 8;
            for (const char c : num) {
                ok = ok && hexDigit(c) >= 0;
                type = type * 16 + static_cast<std::uint32_t>(std::max(hexDigit(c), 0));
            }
            if (!ok) {
                shape.error = "bad type number in hex(...)";
                return shape;
            }
            shape.type = type;
            i = close + 1;
        }
        if (i >= data.size() || data[i] != ':') {
            shape.error = "expected ':' after hex";
            return shape;
        }
        shape.error = scanHexBytes(data.substr(i + 1), [](char) {});
        return shape;
    }
    shape.error = "unrecognised value data";
    return shape;
}

std::string unescapeQuoted(std::string_view inner) {
    std::string out;
    out.reserve(inner.size());
    for (std::size_t i = 0; i < inner.size(); ++i) {
        if (inner[i] == '\\' && i + 1 < inner.size() &&
            (inner[i + 1] == '\\' || inner[i + 1] == '"')) {
            ++i;
        }
        out += inner[i];
    }
    return out;
}

std::string quote(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    out += '"';
    return out;
}

// regedit breaks hex data after a comma so that lines stay under 80 columns.
std::string hexData(std::string_view prefix, std::size_t column, std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out(prefix);
    column += prefix.size();
    out.reserve(out.size() + bytes.size() * 3 + bytes.size() / 20 * 5);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const bool last = i + 1 == bytes.size();
        const std::size_t width = last ? 2 : 3;
        if (i > 0 && column + width > 77) {
            out += "\\\n  ";
            column = 2;
        }
        const auto b = static_cast<unsigned char>(bytes[i]);
        out += kDigits[b >> 4];
        out += kDigits[b & 15];
        if (!last) out += ',';
        column += width;
    }
    return out;
}

std::string reasonForBadUtf16(std::string_view bytes, int& line) {
    line = 1;
    const std::size_t n = bytes.size() / 2;
    for (std::size_t k = 0; k < n; ++k) {
        const unsigned u = static_cast<unsigned char>(bytes[2 * k]) |
                           (static_cast<unsigned char>(bytes[2 * k + 1]) << 8);
        if (u == '\n') ++line;
        if (u >= 0xD800 && u <= 0xDFFF) break;
    }
    return bytes.size() % 2 ? "the file is cut off inside a UTF-16 character"
                            : "the file holds text that is not valid UTF-16";
}

}  // namespace

RegFormatError::RegFormatError(int line, const std::string& reason)
    : std::runtime_error("line " + std::to_string(line) + ": " + reason),
      m_line(line),
      m_reason(reason) {}

struct RegistryTree::Value {
    std::string name;
    std::string raw;  // the whole text of the value; continuation lines joined by '\n'
    std::uint32_t dataOffset = 0;
    std::uint32_t type = 0;
    std::uint32_t decorLines = 0;  // blank and comment lines before the value
    std::string decor;
    mutable std::string data;  // as the API hands it out, decoded on first use
    mutable bool decoded = false;
};

struct RegistryTree::Key {
    std::string path;
    std::uint32_t nameOffset = 0;
    std::uint32_t parent = kNoKey;
    bool alive = true;
    bool hasHeader = false;
    std::uint32_t decorLines = 0;
    std::string decor;
    std::vector<std::uint32_t> children;
    std::vector<Value> values;
    std::unique_ptr<std::unordered_map<std::string, std::uint32_t>> valueIndex;
};

RegistryTree::RegistryTree(RegFileVersion version, RegFileEncoding encoding)
    : m_version(version), m_encoding(encoding) {}
RegistryTree::RegistryTree(RegistryTree&&) noexcept = default;
RegistryTree& RegistryTree::operator=(RegistryTree&&) noexcept = default;
RegistryTree::~RegistryTree() = default;

std::string_view RegistryTree::canonicalRoot(std::string_view name) {
    for (const std::string_view root : kRoots) {
        if (codec::equalsFolded(root, name)) return root;
    }
    return {};
}

std::uint32_t RegistryTree::findKey(std::string_view path) const {
    return m_index.find(foldedHash(path), [&](std::uint32_t key) {
        return codec::equalsFolded(m_keys[key].path, path);
    });
}

const std::string& RegistryTree::keyPath(std::uint32_t key) const {
    return m_keys[key].path;
}

std::string_view RegistryTree::keyName(std::uint32_t key) const {
    return std::string_view(m_keys[key].path).substr(m_keys[key].nameOffset);
}

const std::vector<std::uint32_t>& RegistryTree::subkeys(std::uint32_t key) const {
    return m_keys[key].children;
}

std::size_t RegistryTree::liveKeyCount() const {
    return static_cast<std::size_t>(
        std::count_if(m_keys.begin(), m_keys.end(), [](const Key& k) { return k.alive; }));
}

std::size_t RegistryTree::valueCount(std::uint32_t key) const {
    return m_keys[key].values.size();
}

std::uint32_t RegistryTree::ensureKey(std::string_view path, bool explicitHeader) {
    const std::uint64_t hash = foldedHash(path);
    const std::uint32_t found = m_index.find(
        hash, [&](std::uint32_t key) { return codec::equalsFolded(m_keys[key].path, path); });
    if (found != PathIndex::kNone) return found;
    const std::size_t slash = path.rfind('\\');
    std::uint32_t parent = kNoKey;
    if (slash != std::string_view::npos) {
        const std::string_view parentPath = path.substr(0, slash);
        if (m_lastParent != kNoKey && codec::equalsFolded(m_keys[m_lastParent].path, parentPath)) {
            parent = m_lastParent;
        } else {
            parent = findKey(parentPath);
            if (parent == kNoKey) parent = ensureKey(parentPath, explicitHeader);
            m_lastParent = parent;
        }
    }
    const auto index = static_cast<std::uint32_t>(m_keys.size());
    Key key;
    key.nameOffset = slash == std::string_view::npos ? 0 : static_cast<std::uint32_t>(slash + 1);
    key.path = std::string(path);
    key.parent = parent;
    m_keys.push_back(std::move(key));
    m_index.insert(hash, index);
    if (parent != kNoKey) {
        m_keys[parent].children.push_back(index);
        if (explicitHeader) makeExplicit(index);
    }
    return index;
}

void RegistryTree::makeExplicit(std::uint32_t key) {
    Key& k = m_keys[key];
    if (k.hasHeader) return;
    k.hasHeader = true;
    if (k.decorLines == 0) k.decorLines = 1;  // the blank line regedit puts before every key
    m_order.push_back(key);
}

void RegistryTree::deleteKey(std::uint32_t key) {
    m_lastParent = kNoKey;
    Key& k = m_keys[key];
    if (k.parent != kNoKey) {
        auto& siblings = m_keys[k.parent].children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), key), siblings.end());
    }
    std::vector<std::uint32_t> pending{key};
    while (!pending.empty()) {
        const std::uint32_t current = pending.back();
        pending.pop_back();
        Key& c = m_keys[current];
        pending.insert(pending.end(), c.children.begin(), c.children.end());
        c.children.clear();
        c.values.clear();
        c.valueIndex.reset();
        c.alive = false;
        m_index.erase(foldedHash(c.path), current);
    }
}

const RegistryTree::Value* RegistryTree::findValue(std::uint32_t key, std::string_view name) const {
    const Key& k = m_keys[key];
    if (k.valueIndex) {
        const auto it = k.valueIndex->find(codec::foldCase(name));
        return it == k.valueIndex->end() ? nullptr : &k.values[it->second];
    }
    for (const Value& v : k.values) {
        if (codec::equalsFolded(v.name, name)) return &v;
    }
    return nullptr;
}

RegistryTree::Value* RegistryTree::findValue(std::uint32_t key, std::string_view name) {
    return const_cast<Value*>(std::as_const(*this).findValue(key, name));
}

void RegistryTree::putValue(std::uint32_t key, Value&& value) {
    if (Value* existing = findValue(key, value.name)) {
        if (value.decorLines > 0) {
            if (existing->decorLines > 0) existing->decor += '\n';
            existing->decor += value.decor;
            existing->decorLines += value.decorLines;
        }
        existing->raw = std::move(value.raw);
        existing->dataOffset = value.dataOffset;
        existing->type = value.type;
        existing->data = std::move(value.data);
        existing->decoded = value.decoded;
        return;
    }
    Key& k = m_keys[key];
    // Keys with many values get an index so that lookups stay cheap.
    constexpr std::size_t kIndexFrom = 16;
    if (!k.valueIndex && k.values.size() >= kIndexFrom) {
        k.valueIndex = std::make_unique<std::unordered_map<std::string, std::uint32_t>>();
        for (std::uint32_t i = 0; i < k.values.size(); ++i) {
            k.valueIndex->emplace(codec::foldCase(k.values[i].name), i);
        }
    }
    if (k.valueIndex) {
        k.valueIndex->emplace(codec::foldCase(value.name),
                              static_cast<std::uint32_t>(k.values.size()));
    }
    k.values.push_back(std::move(value));
}

bool RegistryTree::eraseValue(std::uint32_t key, std::string_view name) {
    Key& k = m_keys[key];
    const Value* v = findValue(key, name);
    if (v == nullptr) return false;
    k.values.erase(k.values.begin() + (v - k.values.data()));
    k.valueIndex.reset();
    return true;
}

void RegistryTree::decode(const Value& value) const {
    if (value.decoded) return;
    const std::string_view data = std::string_view(value.raw).substr(value.dataOffset);
    std::string out;
    if (!data.empty() && data.front() == '"') {
        const std::size_t close = trimRight(data).size() - 1;
        out = unescapeQuoted(data.substr(1, close - 1));
        out += '\0';
    } else if (startsWithFolded(data, "dword:")) {
        std::uint32_t number = 0;
        for (const char c : trimRight(data.substr(6)))
            number = number * 16 + hexDigit(c);
        for (int i = 0; i < 4; ++i)
            out += static_cast<char>((number >> (8 * i)) & 0xFF);
    } else {
        const std::size_t colon = data.find(':');
        scanHexBytes(data.substr(colon + 1), [&out](char b) { out += b; });
        if (isStringType(value.type)) {
            if (m_version == RegFileVersion::Regedit4) {
                out = codec::cp1252ToUtf8(out);
            } else if (auto text = codec::utf16leToUtf8(out)) {
                out = std::move(*text);
            }
        }
    }
    value.data = std::move(out);
    value.decoded = true;
}

bool RegistryTree::value(std::uint32_t key, std::string_view name, std::uint32_t& type,
                         const std::string*& data) const {
    const Value* v = findValue(key, name);
    if (v == nullptr) return false;
    decode(*v);
    type = v->type;
    data = &v->data;
    return true;
}

bool RegistryTree::encodable(std::string_view text) const {
    if (codec::isAscii(text)) return true;
    if (m_encoding == RegFileEncoding::Ansi) return codec::utf8ToCp1252(text).has_value();
    return codec::firstInvalidUtf8(text) == std::string_view::npos;
}

long RegistryTree::apply(const RegChange& change) {
    if (!encodable(change.keyPath)) return win::kErrorNoUnicodeTranslation;
    if (change.kind == RegChange::Kind::CreateKey) {
        const std::size_t slash = change.keyPath.find('\\');
        if (canonicalRoot(std::string_view(change.keyPath).substr(0, slash)).empty()) {
            return win::kErrorBadKey;
        }
        ensureKey(change.keyPath, true);
        return win::kErrorSuccess;
    }
    std::uint32_t key = findKey(change.keyPath);
    if (change.kind == RegChange::Kind::DeleteValue) {
        if (key == kNoKey || !eraseValue(key, change.name)) return win::kErrorFileNotFound;
        return win::kErrorSuccess;
    }
    if (!encodable(change.name)) return win::kErrorNoUnicodeTranslation;
    const Value* existing = key == kNoKey ? nullptr : findValue(key, change.name);
    Value value;
    value.name = existing != nullptr ? existing->name : change.name;  // keeps its spelling
    value.type = change.type;
    std::string head = value.name.empty() ? std::string("@") : quote(value.name);
    head += '=';
    const std::string_view text(change.data);
    std::string body;
    if (change.type == win::kRegSz && !text.empty() && text.back() == '\0' &&
        text.substr(0, text.size() - 1).find_first_of(std::string_view("\0\r\n", 3)) ==
            std::string_view::npos &&
        encodable(text.substr(0, text.size() - 1))) {
        body = quote(text.substr(0, text.size() - 1));
    } else if (change.type == win::kRegDword && text.size() == 4) {
        std::uint32_t number = 0;
        for (int i = 3; i >= 0; --i)
            number = (number << 8) | static_cast<unsigned char>(text[i]);
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "dword:%08x", number);
        body = buffer;
    } else {
        std::string bytes(text);
        if (isStringType(change.type)) {
            auto converted = m_version == RegFileVersion::Regedit4 ? codec::utf8ToCp1252(text)
                                                                   : codec::utf8ToUtf16le(text);
            if (!converted) return win::kErrorNoUnicodeTranslation;
            bytes = std::move(*converted);
        }
        std::string prefix = "hex";
        if (change.type != win::kRegBinary) {
            char buffer[16];
            std::snprintf(buffer, sizeof buffer, "(%x)", change.type);
            prefix += buffer;
        }
        prefix += ':';
        body = hexData(prefix, head.size(), bytes);
    }
    value.dataOffset = static_cast<std::uint32_t>(head.size());
    value.raw = std::move(head) + body;
    value.data = change.data;
    value.decoded = true;
    if (key == kNoKey) key = ensureKey(change.keyPath, true);
    makeExplicit(key);
    putValue(key, std::move(value));
    return win::kErrorSuccess;
}

// --- Reading a file --------------------------------------------------------------------------

class RegistryTree::Parser {
public:
    Parser(RegistryTree& tree, std::string_view text, std::size_t start)
        : m_tree(tree), m_text(text), m_pos(start) {}

    void run() {
        while (m_pos < m_text.size()) {
            const std::string_view line = nextLine();
            const std::string_view body = trimLeft(line);
            if (trimRight(body).empty() || body.front() == ';' || body.front() == '#') {
                addDecor(line);
            } else if (body.front() == '[') {
                keyLine(body);
            } else if (body.front() == '"' || body.front() == '@') {
                valueLine(body);
            } else {
                fail("unrecognised line (expected [key], \"name\"=data, @=data or a comment)");
            }
        }
        m_tree.m_trailingDecor = std::move(m_decor);
        m_tree.m_trailingDecorLines = m_decorLines;
    }

private:
    std::string_view nextLine() {
        ++m_line;
        const std::size_t end = m_text.find('\n', m_pos);
        std::string_view line =
            m_text.substr(m_pos, end == std::string_view::npos ? end : end - m_pos);
        m_pos = end == std::string_view::npos ? m_text.size() : end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        return line;
    }

    [[noreturn]] void fail(const std::string& reason) const {
        throw RegFormatError(m_line, reason);
    }

    void addDecor(std::string_view line) {
        if (m_decorLines > 0) m_decor += '\n';
        m_decor += line;
        ++m_decorLines;
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
        key.decorLines = m_decorLines;
        m_decor.clear();
        m_decorLines = 0;
        key.hasHeader = true;
        m_tree.m_order.push_back(m_current);
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
        value.decorLines = m_decorLines;
        m_decor.clear();
        m_decorLines = 0;
        m_tree.putValue(m_current, std::move(value));
    }

    RegistryTree& m_tree;
    std::string_view m_text;
    std::size_t m_pos;
    int m_line = 1;
    std::uint32_t m_current = kNoKey;
    bool m_skipping = false;
    std::string m_decor;
    std::uint32_t m_decorLines = 0;
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

// --- Writing a file --------------------------------------------------------------------------

std::string RegistryTree::serialize() const {
    const std::string_view eol = m_crlf ? "\r\n" : "\n";
    std::string out;
    std::size_t estimate = 64;
    for (const Key& key : m_keys) {
        estimate += key.path.size() + key.decor.size() + 8;
        for (const Value& v : key.values)
            estimate += v.raw.size() + v.decor.size() + 4;
    }
    out.reserve(estimate + estimate / 16);

    auto lines = [&](std::string_view text, std::uint32_t count) {
        if (count == 0) return;
        std::size_t start = 0;
        while (true) {
            const std::size_t nl = text.find('\n', start);
            out += text.substr(start, nl == std::string_view::npos ? nl : nl - start);
            out += eol;
            if (nl == std::string_view::npos) break;
            start = nl + 1;
        }
    };

    out += m_version == RegFileVersion::Regedit4 ? kHeader4 : kHeader5;
    out += eol;
    for (const std::uint32_t index : m_order) {
        const Key& key = m_keys[index];
        if (!key.alive) continue;
        lines(key.decor, key.decorLines);
        out += '[';
        out += key.path;
        out += ']';
        out += eol;
        for (const Value& v : key.values) {
            lines(v.decor, v.decorLines);
            lines(v.raw, 1);
        }
    }
    lines(m_trailingDecor, m_trailingDecorLines);

    switch (m_encoding) {
        case RegFileEncoding::Ansi:
            if (codec::isAscii(out)) return out;
            // Every name and text was checked to fit the code page when it came in.
            return codec::utf8ToCp1252(out).value_or(std::string{});
        case RegFileEncoding::Utf16Le:
            return "\xFF\xFE" + codec::utf8ToUtf16le(out).value_or(std::string{});
        case RegFileEncoding::Utf8Bom:
            return "\xEF\xBB\xBF" + out;
        case RegFileEncoding::Utf8:
            break;
    }
    return out;
}

}  // namespace corvane
