#include "platform/regfile/RegistryTree.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "platform/WinTypes.h"
#include "platform/files/TextCodec.h"
#include "platform/regfile/RegSyntax.h"

namespace corvane {

using namespace regsyntax;

RegFormatError::RegFormatError(int line, const std::string& reason)
    : std::runtime_error("line " + std::to_string(line) + ": " + reason),
      m_line(line),
      m_reason(reason) {}

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

long RegistryTree::checkKeyPath(std::string_view path) {
    std::size_t depth = 0;
    std::size_t start = path.find('\\');
    while (start != std::string_view::npos) {
        if (++depth > kMaxKeyDepth) return win::kErrorBadKey;
        const std::size_t end = path.find('\\', start + 1);
        const std::string_view name =
            path.substr(start + 1, end == std::string_view::npos ? end : end - start - 1);
        if (codec::utf16Length(name) > kMaxKeyNameLength) return win::kErrorInvalidParameter;
        start = end;
    }
    return win::kErrorSuccess;
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
    load(key);
    return m_keys[key].values.size();
}

std::string_view RegistryTree::valueName(std::uint32_t key, std::size_t index) const {
    load(key);
    return m_keys[key].values[index].name;
}

std::uint32_t RegistryTree::ensureKey(std::string_view path, bool explicitHeader) {
    if (const std::uint32_t found = findKey(path); found != kNoKey) return found;
    // Walk up to the nearest key that exists, then make the missing ones downwards: a loop, so
    // that a deep path costs no stack, and each key takes its path from the one given.
    std::vector<std::size_t> missing{path.size()};  // ends of the paths to make, deepest first
    std::uint32_t parent = kNoKey;
    std::size_t end = path.size();
    while (end > 0) {
        const std::size_t slash = path.rfind('\\', end - 1);
        if (slash == std::string_view::npos) break;  // the root itself is missing
        const std::string_view parentPath = path.substr(0, slash);
        if (m_lastParent != kNoKey && codec::equalsFolded(m_keys[m_lastParent].path, parentPath)) {
            parent = m_lastParent;
            break;
        }
        parent = findKey(parentPath);
        if (parent != kNoKey) break;
        missing.push_back(slash);
        end = slash;
    }
    std::uint32_t key = kNoKey;
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        const bool deepest = *it == path.size();
        if (deepest) m_lastParent = parent;
        // Keys a header implies are placed where they were implied; the header's own key is
        // placed by whoever reads the header.
        key = addKey(path.substr(0, *it), parent, explicitHeader, !deepest || explicitHeader);
        parent = key;
    }
    return key;
}

std::uint32_t RegistryTree::addKey(std::string_view path, std::uint32_t parent, bool explicitHeader,
                                   bool place) {
    const auto index = static_cast<std::uint32_t>(m_keys.size());
    const std::size_t slash = path.rfind('\\');
    Key key;
    key.nameOffset = slash == std::string_view::npos ? 0 : static_cast<std::uint32_t>(slash + 1);
    key.path = std::string(path);
    key.parent = parent;
    m_keys.push_back(std::move(key));
    m_index.insert(foldedHash(path), index);
    if (parent != kNoKey) {
        m_keys[parent].children.push_back(index);
        if (explicitHeader) {
            makeExplicit(index);
        } else if (place) {
            placeLast(index);
        }
    }
    return index;
}

void RegistryTree::placeLast(std::uint32_t key) {
    m_keys[key].orderSlot = static_cast<std::uint32_t>(m_order.size());
    m_order.push_back(key);
}

void RegistryTree::makeExplicit(std::uint32_t key) {
    Key& k = m_keys[key];
    if (k.hasHeader) return;
    k.hasHeader = true;
    if (k.decor.empty()) k.decor = m_crlf ? "\r\n" : "\n";  // the blank line before every key
    placeLast(key);
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
    load(key);
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
        existing->decor += value.decor;
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

namespace {

bool hasLineBreak(std::string_view name) {
    return name.find_first_of("\r\n") != std::string_view::npos;
}

}  // namespace

long RegistryTree::apply(const RegChange& change, bool* changed) {
    bool ignored = false;
    bool& done = changed != nullptr ? *changed : ignored;
    done = false;
    // A line break would end the line the name is written on: the file would no longer parse.
    if (hasLineBreak(change.keyPath)) return win::kErrorInvalidName;
    if (change.kind == RegChange::Kind::SetValue) {
        if (hasLineBreak(change.name)) return win::kErrorInvalidName;
        if (codec::utf16Length(change.name) > kMaxValueNameLength)
            return win::kErrorInvalidParameter;
    }
    if (!encodable(change.keyPath)) return win::kErrorNoUnicodeTranslation;
    if (change.kind == RegChange::Kind::CreateKey) {
        const std::size_t slash = change.keyPath.find('\\');
        if (canonicalRoot(std::string_view(change.keyPath).substr(0, slash)).empty()) {
            return win::kErrorBadKey;
        }
        if (const long error = checkKeyPath(change.keyPath); error != win::kErrorSuccess) {
            return error;
        }
        done = findKey(change.keyPath) == kNoKey;
        ensureKey(change.keyPath, true);
        return win::kErrorSuccess;
    }
    std::uint32_t key = findKey(change.keyPath);
    if (change.kind == RegChange::Kind::DeleteValue) {
        if (key == kNoKey || !eraseValue(key, change.name)) return win::kErrorFileNotFound;
        m_keys[key].touched = true;
        done = true;
        return win::kErrorSuccess;
    }
    if (!encodable(change.name)) return win::kErrorNoUnicodeTranslation;
    const Value* existing = key == kNoKey ? nullptr : findValue(key, change.name);
    if (existing != nullptr) {
        decode(*existing);
        // The value as it is, in the form the file gives it.
        if (existing->type == change.type && existing->data == change.data)
            return win::kErrorSuccess;
    }
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
    if (key == kNoKey) {
        if (const long error = checkKeyPath(change.keyPath); error != win::kErrorSuccess) {
            return error;
        }
        key = ensureKey(change.keyPath, true);
    }
    makeExplicit(key);
    putValue(key, std::move(value));
    m_keys[key].touched = true;
    done = true;
    return win::kErrorSuccess;
}

}  // namespace corvane
