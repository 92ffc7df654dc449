#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "platform/files/TextCodec.h"
#include "platform/inifile/IniFileProfile.h"
#include "platform/win32/Win32PrivateProfile.h"
#include "presets/IniFile.h"

namespace corvane {
namespace {

// The names and values generated files and operations are built from. Section and key names
// appear in random spellings of case; values cover the integer rule, quotes, "=" and ";" inside
// a value, text beyond ASCII and values about as long as a read can return.
const std::vector<std::string> kSections = {"Desktop", "Direct3D", "OpenGL", "Gamma"};
const std::vector<std::string> kKeys = {"AntiAlias", "Mode", "Count", "Text", "X"};
const std::vector<std::string> kValues = {"",           "1",           "0",
                                          "-5",         "+12",         "0x1F",
                                          "$ff",        "X10",         "42abc",
                                          "4294967295", "4294967296",  "-2147483648",
                                          "2147483648", " 7",          "\"quoted text\"",
                                          "'q'",        "\"unmatched", "a=b",
                                          "two words",  "caf\xC3\xA9", ";not a comment",
                                          "[bracket]"};
// Lines that are neither headers nor keys of any name asked for, kept as they are by both.
const std::vector<std::string> kOtherLines = {"; a comment", ";AntiAlias=9", "just words",
                                              "[unclosed"};
const std::vector<std::string> kEndings = {"\r\n", "\r\n", "\r\n", "\n", "\n", "\r\r\n"};
const std::vector<std::string> kDefaults = {"", "dflt", "'quoted'  ", "  lead", "7"};
// Defaults for a list of keys, which is read into small buffers: Wine cuts a quoted text in
// another way, and removes trailing spaces of these in another way.
const std::vector<std::string> kListDefaults = {"", "dflt", "  lead", "7"};
const std::vector<std::string> kBadValues = {"two\nlines", "cr\rhere"};
const std::vector<std::string> kBadKeys = {"a=b", "[x", ";c", "", "  "};

std::string escaped(std::string_view text) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (b < 0x20 || c == '\\') {
            out += "\\x";
            out += kDigits[b >> 4];
            out += kDigits[b & 15];
        } else {
            out += c;
        }
    }
    return out;
}

// One seeded sequence: a starting file and operations on it.
class Script {
public:
    explicit Script(unsigned seed) : m_random(seed) {}

    int below(std::size_t n) { return static_cast<int>(m_random() % n); }
    bool chance(int percent) { return below(100) < percent; }
    const std::string& pick(const std::vector<std::string>& from) {
        return from[static_cast<std::size_t>(below(from.size()))];
    }

    // The name in a random spelling of case.
    std::string spelling(const std::string& name) {
        std::string out = name;
        const int style = below(4);
        for (char& c : out) {
            const auto u = static_cast<unsigned char>(c);
            if (style == 1) c = static_cast<char>(std::tolower(u));
            if (style == 2) c = static_cast<char>(std::toupper(u));
            if (style == 3 && chance(50)) c = static_cast<char>(std::toupper(u));
        }
        return out;
    }

    // A name as a caller asks for it: any case, sometimes with blanks around it.
    std::string asked(const std::vector<std::string>& names) {
        std::string name = spelling(pick(names));
        if (chance(10)) name = " " + name + "\t";
        return name;
    }

    std::string value() {
        if (chance(8)) return std::string(static_cast<std::size_t>(2040 + below(12)), 'v');
        return pick(kValues);
    }

    std::string startingFile() {
        std::string text;
        const bool finalNewline = !chance(25);
        const int lines = below(24);
        const std::string usual = pick(kEndings);
        for (int i = 0; i < lines; ++i) {
            const int kind = below(100);
            std::string line;
            if (kind < 20) {
                line = "[" + spelling(pick(kSections)) + "]";
                if (chance(10)) line = "  " + line + " ; note";
            } else if (kind < 75) {
                line = spelling(pick(kKeys)) + (chance(20) ? " \t= " : "=") + value();
                if (chance(10)) line = "\t" + line + "  ";
            } else if (kind < 88) {
                line = chance(50) ? "" : " \t";
            } else {
                line = pick(kOtherLines);
            }
            text += line;
            // Now and then a CR alone, which ends no line: it joins this line and the next.
            if (i + 1 < lines || finalNewline)
                text += chance(3) ? "\r" : chance(15) ? pick(kEndings) : usual;
        }
        if (chance(10)) return "\xEF\xBB\xBF" + text;  // UTF-8 with a byte order mark
        return text;
    }

private:
    std::mt19937 m_random;
};

// One side of the comparison: the file and the profile functions over it, through TIniFile
// and directly.
struct Side {
    PrivateProfile& profile;
    std::string path;
    TIniFile ini{profile, path};

    // The buffer as a caller sees it: the result's bytes and the NULs that end the text or list.
    std::string get(const char* section, const char* key, const char* fallback,
                    std::uint32_t size) {
        std::string buffer(size, '\x7f');
        const std::uint32_t n = profile.getPrivateProfileString(section, key, fallback,
                                                                buffer.data(), size, path.c_str());
        // The result's bytes and the NUL after them. (A cut list ends in a second NUL, as
        // Microsoft documents; Wine's ANSI functions drop it, see docs/decisions.md.)
        std::size_t shown = std::min<std::size_t>(n, size);
        if (shown < size && buffer[shown] == '\0') ++shown;
        return std::to_string(n) + ":" + buffer.substr(0, shown);
    }

    std::string write(const std::string& section, const std::string& key,
                      const std::string& value) {
        try {
            ini.WriteString(section, key, value);
            return "written";
        } catch (const EIniFileException& e) {
            return failure(e);
        }
    }

    // The message without the file's name, which differs between the sides.
    std::string failure(const EIniFileException& e) const {
        std::string text = e.what();
        if (const std::size_t at = text.find(path); at != std::string::npos)
            text.replace(at, path.size(), "<file>");
        return text;
    }
};

// What one operation gave on one side, and what it was, for the failure message.
struct Step {
    std::string what;
    std::string result;
};

Step run(Side& side, Script& script, int op) {
    // Names with blanks around them only for reads: see docs/decisions.md for what Wine writes.
    const bool reads = op <= 5;
    const std::string section =
        reads ? script.asked(kSections) : script.spelling(script.pick(kSections));
    const std::string key = reads ? script.asked(kKeys) : script.spelling(script.pick(kKeys));
    const std::string fallback = script.pick(op == 6 ? kListDefaults : kDefaults);
    switch (op) {
        case 0:
        case 1:
        case 2:
            return {"ReadString " + section + "/" + key + " '" + fallback + "'",
                    side.ini.ReadString(section, key, fallback)};
        case 3:
            return {"ReadInteger " + section + "/" + key,
                    std::to_string(side.ini.ReadInteger(section, key, -77))};
        case 4:
            return {"ReadBool " + section + "/" + key,
                    side.ini.ReadBool(section, key, script.chance(50)) ? "true" : "false"};
        case 5: {
            std::vector<std::string> names;
            side.ini.ReadSections(names);
            std::string joined;
            for (const std::string& name : names)
                joined += name + "|";
            return {"ReadSections", joined};
        }
        case 6: {
            // Key names, and a value cut to a small buffer.
            // From three bytes: with two Wine gives the default instead of the cut list.
            const auto size = static_cast<std::uint32_t>(3 + script.below(40));
            return {"keys of " + section + " in " + std::to_string(size),
                    side.get(section.c_str(), nullptr, fallback.c_str(), size)};
        }
        case 7:
        case 8:
        case 9:
        case 10: {
            const std::string value = script.value();
            return {"WriteString " + section + "/" + key + "=" + value.substr(0, 40),
                    side.write(section, key, value)};
        }
        case 11: {
            const auto number = static_cast<std::int32_t>(script.below(200000)) - 100000;
            try {
                side.ini.WriteInteger(section, key, number);
                return {"WriteInteger " + section + "/" + key, "written"};
            } catch (const EIniFileException& e) {
                return {"WriteInteger " + section + "/" + key, side.failure(e)};
            }
        }
        case 12: {
            // Only a key that reads find: where a section occurs twice and the first lacks the
            // key, Wine deletes it from a later one (see docs/decisions.md).
            const std::string what = "delete " + section + "/" + key;
            if (side.ini.ReadString(section, key, "\x01") == "\x01") return {what, "not there"};
            return {what, side.profile.writePrivateProfileString(section.c_str(), key.c_str(),
                                                                 nullptr, side.path.c_str())
                              ? "true"
                              : "false"};
        }
        case 13:
            return {"delete section " + section,
                    side.profile.writePrivateProfileString(section.c_str(), nullptr, nullptr,
                                                           side.path.c_str())
                        ? "true"
                        : "false"};
        case 14:
            side.ini.UpdateFile();
            return {"UpdateFile", ""};
        default: {
            const bool badKey = script.chance(50);
            const std::string name = badKey ? script.pick(kBadKeys) : key;
            const std::string value = badKey ? "1" : script.pick(kBadValues);
            return {"refused write " + escaped(name) + "=" + escaped(value),
                    side.write(section, name, value)};
        }
    }
}

constexpr int kOperations = 16;
constexpr int kFirstWrite = 7;  // operations from this one on may change the file
constexpr int kSteps = 30;

// The file's entries apart from layout: lines (ended by CR or LF) trimmed of blanks, blank
// lines left out, a header without what follows its "]", and a key without blanks around its
// "=". Wine writes the whole file anew from what it parsed (CR LF, no blank lines), where ours
// keeps every line it does not change; what the files hold must agree all the same.
std::vector<std::string> entries(const std::string& bytes) {
    std::string text = bytes;
    std::vector<std::string> out;
    if (text.rfind("\xEF\xBB\xBF", 0) == 0) {
        out.emplace_back("(byte order mark)");
        text.erase(0, 3);
    }
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t lf = text.find_first_of("\r\n", pos);
        if (lf == std::string::npos) lf = text.size();
        std::string_view line =
            PrivateProfile::trimBlanks(std::string_view(text).substr(pos, lf - pos));
        pos = lf + 1;
        if (line.empty()) continue;
        const std::size_t eq = line.find('=');
        if (line.front() == '[' && line.rfind(']') != std::string_view::npos) {
            out.emplace_back(line.substr(0, line.rfind(']') + 1));
        } else if (eq != std::string_view::npos) {
            out.push_back(std::string(PrivateProfile::trimBlanks(line.substr(0, eq))) + "=" +
                          std::string(PrivateProfile::trimBlanks(line.substr(eq + 1))));
        } else {
            out.emplace_back(line);
        }
    }
    return out;
}

std::string firstDifference(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
        const std::string x = i < a.size() ? a[i] : "(end)";
        const std::string y = i < b.size() ? b[i] : "(end)";
        if (x != y)
            return "entry " + std::to_string(i) + ": ours " + escaped(x).substr(0, 60) +
                   ", Windows " + escaped(y).substr(0, 60);
    }
    return "none";
}

// The same seeded sequences of reads and writes through our INI files and through Windows' own
// profile functions, on the same starting files: every read gives the same, every write the
// same result, and the files hold the same entries after each step.
TEST(IniDifferential, OurIniFilesAgreeWithTheProfileFunctions) {
    test::TempDir dir;
    IniFileProfile ours;
    Win32PrivateProfile windows;
    int failures = 0;
    for (unsigned seed = 1; seed <= 200 && failures < 10; ++seed) {
        Script forFile(seed);
        const std::string start = forFile.startingFile();
        // Each run gets files of its own: the profile functions keep recent files in memory.
        Side a{ours, dir.file("ours-" + std::to_string(seed) + ".ini")};
        Side b{windows, dir.file("windows-" + std::to_string(seed) + ".ini")};
        test::writeFile(a.path, start);
        test::writeFile(b.path, start);
        std::string trail = "seed " + std::to_string(seed) + ", file:\n" + escaped(start) + "\n";

        Script sa(seed * 7919u);
        Script sb(seed * 7919u);
        for (int i = 0; i < kSteps; ++i) {
            const int op = sa.below(kOperations);
            sb.below(kOperations);
            const Step ra = run(a, sa, op);
            const Step rb = run(b, sb, op);
            trail += ra.what + " -> " + ra.result.substr(0, 60) + "\n";
            const bool sameResult = ra.result == rb.result;
            EXPECT_TRUE(sameResult) << trail << "  Windows gave: " << escaped(rb.result);
            // The files after each write, and at the end (reads leave them alone).
            bool sameFile = true;
            if (op >= kFirstWrite || i + 1 == kSteps) {
                const std::vector<std::string> ea = entries(test::readFile(a.path));
                const std::vector<std::string> eb = entries(test::readFile(b.path));
                sameFile = ea == eb;
                EXPECT_TRUE(sameFile) << trail << "ours:\n"
                                      << escaped(test::readFile(a.path)) << "\nWindows:\n"
                                      << escaped(test::readFile(b.path))
                                      << "\nfirst difference: " << firstDifference(ea, eb);
            }
            if (!sameResult || !sameFile) {
                ++failures;
                break;
            }
        }
    }
}

}  // namespace
}  // namespace corvane
