#include "platform/inifile/IniFileProfile.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/files/AtomicFile.h"
#include "platform/files/BoundedFile.h"

namespace corvane {

namespace {

// Copies text into buffer, cut to fit with its NUL; the number of bytes before the NUL.
std::uint32_t copyText(std::string_view text, char* buffer, std::uint32_t size) {
    const std::size_t n = std::min<std::size_t>(text.size(), size - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return static_cast<std::uint32_t>(n);
}

// Copies names into buffer, each ended by a NUL and the list by a second one. A list that does
// not fit (also one that fills the buffer exactly) ends with the last name cut and two NULs,
// and gives size - 2, as Windows does.
std::uint32_t copyList(const std::vector<std::string_view>& names, char* buffer,
                       std::uint32_t size) {
    if (size == 1) {
        buffer[0] = '\0';
        return 0;
    }
    std::uint32_t pos = 0;
    std::uint32_t room = size - 1;  // bytes left before the list's final NUL
    for (const std::string_view name : names) {
        if (name.size() + 1 >= room) {
            std::memcpy(buffer + pos, name.data(), room - 1);
            buffer[pos + room - 1] = '\0';
            buffer[pos + room] = '\0';
            return size - 2;
        }
        std::memcpy(buffer + pos, name.data(), name.size());
        pos += static_cast<std::uint32_t>(name.size());
        buffer[pos++] = '\0';
        room -= static_cast<std::uint32_t>(name.size()) + 1;
    }
    buffer[pos] = '\0';
    return pos;
}

// A text read back from the file or given as the default loses one pair of enclosing quotes.
std::string_view withoutQuotes(std::string_view text) {
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
        text.back() == text.front())
        return text.substr(1, text.size() - 2);
    return text;
}

}  // namespace

IniDocument::Load IniFileProfile::load(const std::string& path) {
    FileStamp stamp = fileStamp(path);
    if (m_trusted && path == m_path && !stamp.identity.empty() && stamp.identity == m_stamp)
        return m_state;
    m_state = IniDocument::load(path, m_doc);
    m_path = path;
    m_stamp = std::move(stamp.identity);
    // A file read in the same clock tick as its last change could change again unseen.
    m_trusted = !stamp.recent;
    return m_state;
}

void IniFileProfile::forget() {
    m_trusted = false;
    m_doc = IniDocument();
}

std::uint32_t IniFileProfile::getPrivateProfileString(const char* section, const char* key,
                                                      const char* defaultValue, char* buffer,
                                                      std::uint32_t size, const char* fileName) {
    if (buffer == nullptr || size == 0) return 0;
    buffer[0] = '\0';
    if (fileName == nullptr) return 0;
    const bool readable = load(fileName) == IniDocument::Load::Ok;

    std::vector<std::string_view> names;
    if (section == nullptr) {
        // Enough names to fill the buffer; a huge file is not listed whole.
        std::size_t bytes = 0;
        if (readable) {
            m_doc.forEachSection([&](std::string_view name) {
                names.push_back(name);
                bytes += name.size() + 1;
                return bytes < size;
            });
        }
        return copyList(names, buffer, size);
    }

    std::string_view fallback = defaultValue == nullptr ? "" : defaultValue;
    while (!fallback.empty() && fallback.back() == ' ')
        fallback.remove_suffix(1);
    fallback = withoutQuotes(fallback);

    if (key == nullptr) {
        std::size_t bytes = 0;
        if (readable) {
            m_doc.forEachKey(section, [&](std::string_view name) {
                names.push_back(name);
                bytes += name.size() + 1;
                return bytes < size;
            });
        }
        if (names.empty()) return copyText(fallback, buffer, size);
        return copyList(names, buffer, size);
    }

    if (trimBlanks(key).empty()) return 0;
    const std::optional<std::string_view> value =
        readable ? m_doc.value(section, key) : std::nullopt;
    return copyText(value ? withoutQuotes(*value) : fallback, buffer, size);
}

bool IniFileProfile::writePrivateProfileString(const char* section, const char* key,
                                               const char* value, const char* fileName) {
    if (fileName == nullptr) return false;
    // The flush form: every write already reached the file, so there is nothing to flush.
    if (section == nullptr) return false;
    if (key != nullptr && value != nullptr && !canStore(section, key, value)) return false;
    if (load(fileName) == IniDocument::Load::Unreadable) return false;

    const IniDocument::Edit edit = key == nullptr     ? m_doc.removeSection(section)
                                   : value == nullptr ? m_doc.removeKey(section, key)
                                                      : m_doc.set(section, key, value);
    if (edit == IniDocument::Edit::Refused) return false;
    // Windows opens the file for writing before it compares, so a file that can't be written
    // fails even when the value is already there.
    if (edit == IniDocument::Edit::Unchanged) return canWriteFile(fileName);
    if (!m_doc.save(fileName).empty()) {
        forget();  // memory holds the change that the file does not
        return false;
    }
    m_stamp = fileStamp(fileName).identity;
    m_trusted = false;  // just written, so within the clock tick of its change
    m_state = IniDocument::Load::Ok;
    return true;
}

}  // namespace corvane
