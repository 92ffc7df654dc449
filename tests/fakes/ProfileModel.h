#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/PrivateProfile.h"
#include "platform/files/TextCodec.h"

namespace corvane::test {

// A plain model of the profile functions over one file without a byte order mark, as TIniFile
// sees them: the text is split into lines and parsed afresh for every call, and every rule is
// written out in the simplest way. Tests and the fuzz target compare TIniFile over the real
// back end with it.
class ProfileModel {
public:
    bool exists = false;
    std::string text;

    static constexpr std::size_t kValueBuffer = 2048;
    static constexpr std::size_t kSectionsBuffer = 16384;

    // TIniFile::ReadSections: the names that fit the buffer.
    std::vector<std::string> sections() const {
        std::vector<std::string> names;
        std::size_t room = kSectionsBuffer - 1;
        for (const Line& line : lines()) {
            if (line.kind != Kind::Header || line.name.empty()) continue;
            if (line.name.size() + 1 >= room) {
                if (room > 1) names.push_back(line.name.substr(0, room - 1));
                break;
            }
            names.push_back(line.name);
            room -= line.name.size() + 1;
        }
        return names;
    }

    // TIniFile::ReadString.
    std::string read(const std::string& section, const std::string& key,
                     const std::string& fallback) const {
        std::string def = fallback;
        while (!def.empty() && def.back() == ' ')
            def.pop_back();
        if (PrivateProfile::trimBlanks(key).empty()) return "";
        const std::optional<std::size_t> at = find(section, key);
        std::string value = at ? lines()[*at].value : def;
        if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
            value = value.substr(1, value.size() - 2);
        if (value.size() > kValueBuffer - 1) value.resize(kValueBuffer - 1);
        return value;
    }

    // TIniFile::WriteString: false where it raises.
    bool write(const std::string& section, const std::string& key, const std::string& value) {
        if (!PrivateProfile::canStore(section, key, value)) return false;
        std::string v = value;
        while (!v.empty() && PrivateProfile::isBlank(v.front()))
            v.erase(0, 1);
        const std::string s(PrivateProfile::trimBlanks(section));
        const std::string k(PrivateProfile::trimBlanks(key));
        std::vector<Line> all = lines();
        const std::string eol = lineEnding();
        exists = true;

        const std::optional<std::size_t> header = findSection(all, s);
        if (!header) {
            if (!text.empty() && text.back() != '\n' && text.back() != '\r') text += eol;
            text += "[" + s + "]" + eol + k + "=" + v + eol;
            return true;
        }
        if (const std::optional<std::size_t> at = find(section, key)) {
            Line& line = all[*at];
            line.content = line.content.substr(0, line.valueStart) + v +
                           line.content.substr(line.valueStart + line.value.size());
            text = join(all);
            return true;
        }
        std::size_t after = *header;
        for (std::size_t i = *header + 1; i < all.size() && all[i].kind != Kind::Header; ++i) {
            if (!PrivateProfile::trimBlanks(all[i].content).empty()) after = i;
        }
        if (all[after].ending.empty()) all[after].ending = eol;
        Line added;
        added.content = k + "=" + v;
        added.ending = eol;
        all.insert(all.begin() + static_cast<long>(after) + 1, added);
        text = join(all);
        return true;
    }

private:
    enum class Kind { Other, Header, Key };
    struct Line {
        std::string content;
        std::string ending;
        Kind kind = Kind::Other;
        std::string name;
        std::string value;
        std::size_t valueStart = 0;
    };

    // The first line's ending (CR LF, LF or a CR alone); CR LF in a file of one line.
    std::string lineEnding() const {
        const std::vector<Line> all = lines();
        return all.empty() || all.front().ending.empty() ? "\r\n" : all.front().ending;
    }

    static std::string join(const std::vector<Line>& all) {
        std::string out;
        for (const Line& line : all)
            out += line.content + line.ending;
        return out;
    }

    std::vector<Line> lines() const {
        std::vector<Line> all;
        if (!exists) return all;
        std::size_t start = 0;
        while (start < text.size()) {
            const std::size_t end = text.find_first_of("\r\n", start);
            Line line;
            line.content = text.substr(start, end == std::string::npos ? end : end - start);
            if (end != std::string::npos)
                line.ending = text.compare(end, 2, "\r\n") == 0 ? "\r\n" : text.substr(end, 1);
            classify(line);
            all.push_back(line);
            start = end == std::string::npos ? text.size() : end + line.ending.size();
        }
        return all;
    }

    static void classify(Line& line) {
        if (line.content.find('\0') != std::string::npos) return;
        const std::string_view t = PrivateProfile::trimBlanks(line.content);
        if (t.empty() || t[0] == ';') return;
        if (t[0] == '[') {
            if (t.rfind(']') != std::string_view::npos) {
                line.kind = Kind::Header;
                line.name = std::string(t.substr(1, t.rfind(']') - 1));
            }
            return;
        }
        const std::size_t eq = line.content.find('=');
        if (eq == std::string::npos) return;
        line.name = std::string(PrivateProfile::trimBlanks(line.content.substr(0, eq)));
        if (line.name.empty()) return;
        line.kind = Kind::Key;
        std::size_t v = eq + 1;
        while (v < line.content.size() && PrivateProfile::isBlank(line.content[v]))
            ++v;
        line.value = std::string(PrivateProfile::trimBlanks(line.content.substr(v)));
        line.valueStart = line.value.empty() ? eq + 1 : v;
    }

    static std::optional<std::size_t> findSection(const std::vector<Line>& all,
                                                  std::string_view name) {
        if (name.empty()) return std::nullopt;
        for (std::size_t i = 0; i < all.size(); ++i) {
            if (all[i].kind == Kind::Header && codec::equalsFolded(all[i].name, name)) return i;
        }
        return std::nullopt;
    }

    std::optional<std::size_t> find(std::string_view section, std::string_view key) const {
        const std::vector<Line> all = lines();
        const std::string_view k = PrivateProfile::trimBlanks(key);
        const std::optional<std::size_t> header =
            findSection(all, PrivateProfile::trimBlanks(section));
        if (!header || k.empty() || section.find('\0') != std::string_view::npos ||
            key.find('\0') != std::string_view::npos)
            return std::nullopt;
        for (std::size_t i = *header + 1; i < all.size() && all[i].kind != Kind::Header; ++i) {
            if (all[i].kind == Kind::Key && codec::equalsFolded(all[i].name, k)) return i;
        }
        return std::nullopt;
    }
};

}  // namespace corvane::test
