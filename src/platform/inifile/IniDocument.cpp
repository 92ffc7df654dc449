#include "platform/inifile/IniDocument.h"

#include "platform/PrivateProfile.h"
#include "platform/files/AtomicFile.h"
#include "platform/files/BoundedFile.h"
#include "platform/files/TextCodec.h"

namespace corvane {

namespace {

constexpr std::size_t npos = std::string_view::npos;
// Lookups remembered at most; a caller asking for ever new names starts them afresh.
constexpr std::size_t kMaxRemembered = 4096;

std::string_view trimStart(std::string_view text) {
    while (!text.empty() && PrivateProfile::isBlank(text.front()))
        text.remove_prefix(1);
    return text;
}

std::string_view trimEnd(std::string_view text) {
    while (!text.empty() && PrivateProfile::isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

enum class Kind { Other, Header, Comment, Key };

struct Parsed {
    Kind kind = Kind::Other;
    std::string_view name;
    std::size_t valueStart = 0;  // offsets into the whole text
    std::size_t valueEnd = 0;
};

Parsed parseLine(std::string_view text, std::size_t start, std::size_t end) {
    const std::string_view line = text.substr(start, end - start);
    Parsed parsed;
    if (line.find('\0') != npos) return parsed;
    const std::string_view trimmed = PrivateProfile::trimBlanks(line);
    if (trimmed.empty()) return parsed;
    if (trimmed.front() == '[') {
        const std::size_t close = trimmed.rfind(']');
        if (close != npos) {
            parsed.kind = Kind::Header;
            parsed.name = trimmed.substr(1, close - 1);
        }
        return parsed;
    }
    if (trimmed.front() == ';') {
        parsed.kind = Kind::Comment;
        return parsed;
    }
    const std::size_t eq = trimmed.find('=');
    if (eq == npos) return parsed;
    const std::string_view name = trimEnd(trimmed.substr(0, eq));
    if (name.empty()) return parsed;
    const std::string_view value = trimStart(trimmed.substr(eq + 1));
    parsed.kind = Kind::Key;
    parsed.name = name;
    const std::size_t afterEq = static_cast<std::size_t>(trimmed.data() - text.data()) + eq + 1;
    parsed.valueStart =
        value.empty() ? afterEq : static_cast<std::size_t>(value.data() - text.data());
    parsed.valueEnd = parsed.valueStart + value.size();
    return parsed;
}

std::string swapBytePairs(std::string_view bytes) {
    std::string out(bytes);
    for (std::size_t i = 0; i + 1 < out.size(); i += 2)
        std::swap(out[i], out[i + 1]);
    return out;
}

}  // namespace

std::optional<IniDocument> IniDocument::fromBytes(std::string_view bytes) {
    IniDocument doc;
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        doc.m_encoding = Encoding::Utf8Bom;
        doc.m_text = bytes.substr(3);
    } else if (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF") {
        const bool little = bytes[0] == '\xFF';
        doc.m_encoding = little ? Encoding::Utf16Le : Encoding::Utf16Be;
        std::optional<std::string> text =
            little ? codec::utf16leToUtf8(bytes.substr(2))
                   : codec::utf16leToUtf8(swapBytePairs(bytes.substr(2)));
        if (!text) return std::nullopt;
        doc.m_text = std::move(*text);
    } else {
        doc.m_text = bytes;
    }
    if (const std::size_t end = doc.m_text.find_first_of("\r\n"); end != npos) {
        doc.m_eol = doc.m_text[end] == '\n'                                      ? "\n"
                    : end + 1 < doc.m_text.size() && doc.m_text[end + 1] == '\n' ? "\r\n"
                                                                                 : "\r";
    }
    return doc;
}

std::optional<std::string> IniDocument::toBytes() const {
    switch (m_encoding) {
        case Encoding::Ansi:
            return m_text;
        case Encoding::Utf8Bom:
            return "\xEF\xBB\xBF" + m_text;
        case Encoding::Utf16Le:
        case Encoding::Utf16Be: {
            std::optional<std::string> units = codec::utf8ToUtf16le(m_text);
            if (!units) return std::nullopt;
            if (m_encoding == Encoding::Utf16Le) return "\xFF\xFE" + *units;
            return "\xFE\xFF" + swapBytePairs(*units);
        }
    }
    return std::nullopt;
}

IniDocument::Load IniDocument::load(const std::string& path, IniDocument& doc) {
    doc = IniDocument();
    BoundedFile file(path, kMaxFileSize);
    if (file.status() == BoundedFile::Status::Missing) return Load::Missing;
    std::string bytes;
    if (!file.readAll(bytes)) return Load::Unreadable;
    std::optional<IniDocument> read = fromBytes(bytes);
    if (!read) return Load::Unreadable;
    doc = std::move(*read);
    return Load::Ok;
}

std::string IniDocument::save(const std::string& path) const {
    const std::optional<std::string> bytes = toBytes();
    if (!bytes) return "the text can't be written in the file's encoding";
    if (bytes->size() > kMaxFileSize) return "the file would grow past its size limit";
    if (!canWriteFile(path)) return "the file can't be written";
    return writeFileAtomically(path, *bytes, false);
}

IniDocument::Line IniDocument::lineAt(std::size_t start) const {
    const std::size_t end = m_text.find_first_of("\r\n", start);
    if (end == npos) return {start, m_text.size(), m_text.size()};
    const bool crLf = m_text[end] == '\r' && end + 1 < m_text.size() && m_text[end + 1] == '\n';
    return {start, end, end + (crLf ? 2 : 1)};
}

bool IniDocument::endsInLineEnd() const {
    return m_text.empty() || m_text.back() == '\n' || m_text.back() == '\r';
}

std::optional<IniDocument::Section> IniDocument::findSection(std::string_view name) const {
    name = PrivateProfile::trimBlanks(name);
    if (name.empty()) return std::nullopt;
    std::string folded = codec::foldCase(name);
    if (const auto it = m_sections.find(folded); it != m_sections.end()) return it->second;

    std::optional<Section> found;
    for (std::size_t pos = 0; pos < m_text.size();) {
        const Line line = lineAt(pos);
        const Parsed parsed = parseLine(m_text, line.start, line.end);
        if (parsed.kind == Kind::Header) {
            if (found) {
                found->end = line.start;
                break;
            }
            if (codec::equalsFolded(parsed.name, name))
                found = Section{line.start, line.next, m_text.size()};
        }
        pos = line.next;
    }
    if (m_sections.size() >= kMaxRemembered) m_sections.clear();
    m_sections.emplace(std::move(folded), found);
    return found;
}

std::optional<IniDocument::Key> IniDocument::findKey(const Section& section,
                                                     std::string_view name) const {
    name = PrivateProfile::trimBlanks(name);
    if (name.empty()) return std::nullopt;
    std::string id = std::to_string(section.header) + '\0' + codec::foldCase(name);
    if (const auto it = m_keys.find(id); it != m_keys.end()) return it->second;

    std::optional<Key> found;
    for (std::size_t pos = section.body; pos < section.end;) {
        const Line line = lineAt(pos);
        const Parsed parsed = parseLine(m_text, line.start, line.end);
        if (parsed.kind == Kind::Key && codec::equalsFolded(parsed.name, name)) {
            found = Key{line.start, line.next, parsed.valueStart, parsed.valueEnd};
            break;
        }
        pos = line.next;
    }
    if (m_keys.size() >= kMaxRemembered) m_keys.clear();
    m_keys.emplace(std::move(id), found);
    return found;
}

void IniDocument::forEachSection(const std::function<bool(std::string_view)>& visit) const {
    for (std::size_t pos = 0; pos < m_text.size();) {
        const Line line = lineAt(pos);
        const Parsed parsed = parseLine(m_text, line.start, line.end);
        if (parsed.kind == Kind::Header && !parsed.name.empty() && !visit(parsed.name)) return;
        pos = line.next;
    }
}

void IniDocument::forEachKey(std::string_view section,
                             const std::function<bool(std::string_view)>& visit) const {
    const std::optional<Section> found = findSection(section);
    if (!found) return;
    for (std::size_t pos = found->body; pos < found->end;) {
        const Line line = lineAt(pos);
        const Parsed parsed = parseLine(m_text, line.start, line.end);
        if (parsed.kind == Kind::Key && !visit(parsed.name)) return;
        pos = line.next;
    }
}

std::optional<std::string_view> IniDocument::value(std::string_view section,
                                                   std::string_view key) const {
    const std::optional<Section> found = findSection(section);
    if (!found) return std::nullopt;
    const std::optional<Key> line = findKey(*found, key);
    if (!line) return std::nullopt;
    return std::string_view(m_text).substr(line->valueStart, line->valueEnd - line->valueStart);
}

IniDocument::Edit IniDocument::set(std::string_view section, std::string_view key,
                                   std::string_view value) {
    section = PrivateProfile::trimBlanks(section);
    key = PrivateProfile::trimBlanks(key);
    value = trimStart(value);
    if (!PrivateProfile::canStore(section, key, value)) return Edit::Refused;

    const std::optional<Section> found = findSection(section);
    if (!found) {
        std::string added;
        if (!endsInLineEnd()) added += m_eol;
        added.append("[").append(section).append("]").append(m_eol);
        added.append(key).append("=").append(value).append(m_eol);
        m_text += added;
        changed();
        return Edit::Changed;
    }
    if (const std::optional<Key> line = findKey(*found, key)) {
        const std::size_t length = line->valueEnd - line->valueStart;
        if (std::string_view(m_text).substr(line->valueStart, length) == value)
            return Edit::Unchanged;
        m_text.replace(line->valueStart, length, value);
        changed();
        return Edit::Changed;
    }
    // After the section's last line that is not blank, so that blank lines before the next
    // section stay there.
    std::size_t at = found->body;
    for (std::size_t pos = found->body; pos < found->end;) {
        const Line line = lineAt(pos);
        if (!PrivateProfile::trimBlanks(
                 std::string_view(m_text).substr(line.start, line.end - line.start))
                 .empty())
            at = line.next;
        pos = line.next;
    }
    std::string added;
    if (at == m_text.size() && !endsInLineEnd()) added += m_eol;
    added.append(key).append("=").append(value).append(m_eol);
    m_text.insert(at, added);
    changed();
    return Edit::Changed;
}

IniDocument::Edit IniDocument::removeKey(std::string_view section, std::string_view key) {
    const std::optional<Section> found = findSection(section);
    if (!found) return Edit::Unchanged;
    const std::optional<Key> line = findKey(*found, key);
    if (!line) return Edit::Unchanged;
    m_text.erase(line->line, line->next - line->line);
    changed();
    return Edit::Changed;
}

IniDocument::Edit IniDocument::removeSection(std::string_view section) {
    const std::optional<Section> found = findSection(section);
    if (!found) return Edit::Unchanged;
    m_text.erase(found->header, found->end - found->header);
    changed();
    return Edit::Changed;
}

void IniDocument::changed() {
    m_sections.clear();
    m_keys.clear();
}

}  // namespace corvane
