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
        // A UTF-8 name has no more UTF-16 units than bytes.
        if (name.size() > kMaxKeyNameLength && codec::utf16Length(name) > kMaxKeyNameLength)
            return win::kErrorInvalidParameter;
        start = end;
    }
    return win::kErrorSuccess;
}

namespace {

std::uint64_t stepHash(std::uint64_t parent, std::string_view name) {
    std::uint64_t h = (parent ^ foldedHash(name)) * 0x9E3779B97F4A7C15ULL;
    h ^= h >> 31;
    return h + parent;
}

}  // namespace

// The hash of a path is built a name at a time, so that reading an export, where each key's
// parent was usually the key just read, hashes only the new name.
std::uint32_t RegistryTree::findKey(std::string_view path) const {
    std::uint64_t hash = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t slash = path.find('\\', start);
        hash = stepHash(
            hash, path.substr(start, slash == std::string_view::npos ? slash : slash - start));
        if (slash == std::string_view::npos) break;
        start = slash + 1;
    }
    return m_index.find(hash, [&](std::uint32_t key) { return pathEquals(key, path); });
}

bool RegistryTree::pathEquals(std::uint32_t key, std::string_view path) const {
    std::size_t end = path.size();
    for (std::uint32_t k = key;; k = m_keys[k].parent) {
        const std::string_view name = keyName(k);
        if (m_keys[k].parent == kNoKey) return codec::equalsFolded(path.substr(0, end), name);
        if (end < name.size() + 1 || path[end - name.size() - 1] != '\\') return false;
        if (!codec::equalsFolded(path.substr(end - name.size(), name.size()), name)) return false;
        end -= name.size() + 1;
    }
}

std::uint64_t RegistryTree::pathHash(std::uint32_t key) const {
    std::vector<std::uint32_t> chain;
    for (std::uint32_t k = key; k != kNoKey; k = m_keys[k].parent)
        chain.push_back(k);
    std::uint64_t hash = 0;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        hash = stepHash(hash, keyName(*it));
    return hash;
}

std::string RegistryTree::keyPath(std::uint32_t key) const {
    std::size_t length = 0;
    for (std::uint32_t k = key; k != kNoKey; k = m_keys[k].parent)
        length += m_keys[k].nameLength + 1u;
    std::string path(length - 1, '\\');
    std::size_t end = path.size();
    for (std::uint32_t k = key; k != kNoKey; k = m_keys[k].parent) {
        const std::string_view name = keyName(k);
        end -= name.size();
        path.replace(end, name.size(), name);
        if (end > 0) --end;
    }
    return path;
}

std::string_view RegistryTree::keyName(std::uint32_t key) const {
    return std::string_view(m_names).substr(m_keys[key].nameBegin, m_keys[key].nameLength);
}

std::span<const std::uint32_t> RegistryTree::subkeys(std::uint32_t key) const {
    if (!m_childrenBuilt) {
        // Counted by parent, then placed in the order of the keys: the order they were made.
        m_childStart.assign(m_keys.size() + 1, 0);
        for (const Key& k : m_keys) {
            if (k.alive() && k.parent != kNoKey) ++m_childStart[k.parent + 1];
        }
        for (std::size_t i = 1; i < m_childStart.size(); ++i)
            m_childStart[i] += m_childStart[i - 1];
        m_childList.resize(m_childStart.back());
        // Each parent's start is its cursor while its subkeys are placed, and ends where the
        // next parent's subkeys begin: afterwards the starts move back by one.
        for (std::uint32_t i = 0; i < m_keys.size(); ++i) {
            if (m_keys[i].alive() && m_keys[i].parent != kNoKey)
                m_childList[m_childStart[m_keys[i].parent]++] = i;
        }
        for (std::size_t i = m_keys.size(); i > 0; --i)
            m_childStart[i] = m_childStart[i - 1];
        m_childStart[0] = 0;
        m_childrenBuilt = true;
    }
    return std::span<const std::uint32_t>(m_childList)
        .subspan(m_childStart[key], m_childStart[key + 1] - m_childStart[key]);
}

std::size_t RegistryTree::liveKeyCount() const {
    return static_cast<std::size_t>(
        std::count_if(m_keys.begin(), m_keys.end(), [](const Key& k) { return k.alive(); }));
}

std::size_t RegistryTree::valueCount(std::uint32_t key) const {
    const ValueSet* set = loadedValues(key);
    return set == nullptr ? 0 : set->values.size();
}

bool RegistryTree::valuesLost(std::uint32_t key) const {
    const ValueSet* set = loadedValues(key);
    return set != nullptr && set->lost;
}

std::string_view RegistryTree::valueName(std::uint32_t key, std::size_t index) const {
    return loadedValues(key)->values[index].name;
}

std::uint32_t RegistryTree::ensureKey(std::string_view path, bool explicitHeader) {
    // The steps the path shares with a recent path are known; the rest are looked up and, from
    // the first that is missing, made. An export moves between a few branches (classes,
    // hardware, users), so the few paths resolved last in different places are kept, and the one
    // sharing most is taken. Names spelled byte for byte alike need no comparing one by one.
    Trail* from = &m_trails.front();
    std::size_t same = 0;
    for (Trail& trail : m_trails) {
        if (const std::size_t shared = commonPrefixLength(path, trail.text); shared > same) {
            same = shared;
            from = &trail;
        }
    }
    auto endsAlike = [&](std::size_t end) {
        if (end < same) return true;
        return end == same && (end == path.size() || path[end] == '\\') &&
               (end == from->text.size() || from->text[end] == '\\');
    };
    std::vector<Step>& steps = m_scratchSteps;
    steps.clear();
    std::size_t start = 0;
    std::uint32_t parent = kNoKey;
    std::uint64_t hash = 0;
    bool known = true;  // every step so far was the trail's
    bool missing = false;
    std::uint32_t key = kNoKey;
    while (true) {
        const std::size_t depth = steps.size();
        const std::size_t slash = path.find('\\', start);
        const bool deepest = slash == std::string_view::npos;
        const std::size_t end = deepest ? path.size() : slash;
        const std::string_view name = path.substr(start, end - start);
        key = kNoKey;
        if (known && depth < from->steps.size() &&
            (endsAlike(end) || codec::equalsFolded(keyName(from->steps[depth].key), name))) {
            key = from->steps[depth].key;
            hash = from->steps[depth].hash;
        } else {
            known = false;
            hash = stepHash(hash, name);
            // The key made last has no subkeys yet: a name below it is new without looking.
            if (parent != kNoKey && parent + 1 == m_keys.size()) missing = true;
            if (!missing && m_index.mayContain(hash)) {
                key = m_index.find(hash, [&](std::uint32_t k) {
                    return m_keys[k].parent == parent && codec::equalsFolded(keyName(k), name);
                });
            }
            if (key == kNoKey) {
                missing = true;
                // Keys a header implies are placed where they were implied; the header's own key
                // is placed by whoever reads the header.
                key = addKey(name, parent, hash, explicitHeader, !deepest || explicitHeader);
            }
        }
        steps.push_back(Step{key, hash});
        if (deepest) break;
        parent = key;
        start = slash + 1;
    }
    // A path that stays in the trail's branch (below the same two names under the root, or
    // beside the trail's own key) moves the trail on; one that leaves it takes the place of the
    // trail used least recently.
    std::size_t kept = 0;
    while (kept < steps.size() && kept < from->steps.size() &&
           steps[kept].key == from->steps[kept].key)
        ++kept;
    Trail* to = from;
    if (kept < 3 && kept + 1 < from->steps.size()) {
        to = &*std::min_element(m_trails.begin(), m_trails.end(),
                                [](const Trail& a, const Trail& b) { return a.used < b.used; });
    }
    to->steps.swap(steps);
    to->text.assign(path);
    to->used = ++m_trailClock;
    return key;
}

std::uint32_t RegistryTree::addKey(std::string_view name, std::uint32_t parent, std::uint64_t hash,
                                   bool explicitHeader, bool place) {
    const auto index = static_cast<std::uint32_t>(m_keys.size());
    Key& key = m_keys.emplace_back();
    key.nameBegin = static_cast<std::uint32_t>(m_names.size());
    key.nameLength = static_cast<std::uint16_t>(name.size());
    m_names += name;
    key.parent = parent;
    m_index.insert(hash, index, [this](std::uint32_t k) { return pathHash(k); });
    childrenChanged();
    if (parent != kNoKey) {
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
    if (k.hasHeader()) return;
    k.flags |= kHasHeader;
    ValueSet& set = valuesOf(key);
    if (set.decor.empty()) set.decor = m_crlf ? "\r\n" : "\n";  // the blank line before every key
    placeLast(key);
}

void RegistryTree::deleteKey(std::uint32_t key) {
    for (Trail& trail : m_trails)
        trail = Trail{};
    std::vector<std::uint32_t> pending{key};
    while (!pending.empty()) {
        const std::uint32_t current = pending.back();
        pending.pop_back();
        const auto children = subkeys(current);
        pending.insert(pending.end(), children.begin(), children.end());
        m_index.erase(pathHash(current), current);
        freeSet(current);
        m_keys[current].flags &= static_cast<std::uint8_t>(~kAlive);
    }
    childrenChanged();
}

std::uint32_t RegistryTree::newSet(std::uint32_t key) const {
    std::uint32_t slot = 0;
    if (!m_freeSets.empty()) {
        slot = m_freeSets.back();
        m_freeSets.pop_back();
    } else {
        slot = static_cast<std::uint32_t>(m_sets.size());
        m_sets.emplace_back();
    }
    m_sets[slot].key = key;
    m_keys[key].values = slot;
    return slot;
}

void RegistryTree::freeSet(std::uint32_t key) const {
    const std::uint32_t slot = m_keys[key].values;
    if (slot == kNoKey) return;
    ValueSet& set = m_sets[slot];
    set.key = kNoKey;
    set.decor.clear();
    set.values.clear();
    // The next key read into this slot reuses the buffer, unless it grew large.
    if (set.text && set.text->capacity() > 64 * 1024) set.text.reset();
    if (set.text) set.text->clear();
    set.index.reset();
    set.lost = false;
    m_freeSets.push_back(slot);
    m_keys[key].values = kNoKey;
}

// The values of a key that is about to change: from now on they live in memory.
RegistryTree::ValueSet& RegistryTree::valuesOf(std::uint32_t key) {
    loadedValues(key);
    Key& k = m_keys[key];
    if (k.values == kNoKey) newSet(key);
    k.flags |= kTouched;
    return m_sets[k.values];
}

const RegistryTree::Value* RegistryTree::findValue(std::uint32_t key, std::string_view name) const {
    const ValueSet* set = loadedValues(key);
    if (set == nullptr) return nullptr;
    if (set->index) {
        const auto it = set->index->find(codec::foldCase(name));
        return it == set->index->end() ? nullptr : &set->values[it->second];
    }
    for (const Value& v : set->values) {
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
        existing->raw = value.raw;
        existing->own = std::move(value.own);
        existing->dataOffset = value.dataOffset;
        existing->type = value.type;
        existing->data = std::move(value.data);
        existing->decoded = value.decoded;
        return;
    }
    if (m_keys[key].values == kNoKey) newSet(key);
    ValueSet& set = m_sets[m_keys[key].values];
    // Keys with many values get an index so that lookups stay cheap.
    constexpr std::size_t kIndexFrom = 16;
    if (!set.index && set.values.size() >= kIndexFrom) {
        set.index = std::make_unique<std::unordered_map<std::string, std::uint32_t>>();
        for (std::uint32_t i = 0; i < set.values.size(); ++i) {
            set.index->emplace(codec::foldCase(set.values[i].name), i);
        }
    }
    if (set.index) {
        set.index->emplace(codec::foldCase(value.name),
                           static_cast<std::uint32_t>(set.values.size()));
    }
    set.values.push_back(std::move(value));
}

bool RegistryTree::eraseValue(std::uint32_t key, std::string_view name) {
    const Value* v = findValue(key, name);
    if (v == nullptr) return false;
    ValueSet& set = m_sets[m_keys[key].values];
    set.values.erase(set.values.begin() + (v - set.values.data()));
    set.index.reset();
    return true;
}

void RegistryTree::decode(const Value& value) const {
    if (value.decoded) return;
    const std::string_view data = value.raw.substr(value.dataOffset);
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
        // At most one byte for every two digits.
        out.resize(data.size() / 2 + 1);
        std::size_t count = 0;
        scanHexBytes(data.substr(colon + 1), [&out, &count](char b) { out[count++] = b; });
        out.resize(count);
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
        if (key == kNoKey || findValue(key, change.name) == nullptr)
            return key != kNoKey && valuesLost(key) ? win::kErrorRegistryIoFailed
                                                    : win::kErrorFileNotFound;
        valuesOf(key);
        eraseValue(key, change.name);
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
    value.own = std::make_unique<std::string>(std::move(head) + body);
    value.raw = *value.own;
    value.data = change.data;
    value.decoded = true;
    if (key == kNoKey) {
        if (const long error = checkKeyPath(change.keyPath); error != win::kErrorSuccess) {
            return error;
        }
        key = ensureKey(change.keyPath, true);
    }
    makeExplicit(key);
    valuesOf(key);
    putValue(key, std::move(value));
    done = true;
    return win::kErrorSuccess;
}

}  // namespace corvane
