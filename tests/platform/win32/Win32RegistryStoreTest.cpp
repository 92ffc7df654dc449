#include "platform/win32/Win32RegistryStore.h"

#include <gtest/gtest.h>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <sddl.h>  // needs windows.h first

#include <algorithm>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "platform/regfile/MemoryRegistryStore.h"
#include "platform/win32/ScratchRegistryStore.h"

namespace corvane {
namespace {

using win::RegHandle;

std::string hex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out += kDigits[b >> 4];
        out += kDigits[b & 15];
    }
    return out;
}

std::string repeat(std::string_view piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

// Pieces the generator builds names and text from: letters, the characters a .reg file has to
// escape, Latin-1 in both cases, Greek, a character outside the Basic Multilingual Plane, and a
// byte that is no UTF-8 (which every store refuses).
const std::vector<std::string> kKeyNames = {"Alpha",
                                            "0000",
                                            "0001",
                                            "with space",
                                            " lead",
                                            "trail ",
                                            "a.b",
                                            "x=y",
                                            "q\"uote",
                                            "[x]",
                                            "@",
                                            "{4D36E968-E325-11CE-BFC1-08002BE10318}",
                                            "caf\xC3\xA9",
                                            "CAF\xC3\x89",
                                            "\xCE\xB5\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1",
                                            "\xE2\x82\xAC",
                                            "\xF0\x9F\x98\x80",
                                            std::string(80, 'k'),
                                            "bad\xFF"};
const std::vector<std::string> kValueNames = {"",
                                              "Value",
                                              "CoreClk",
                                              "a\\b",
                                              "=",
                                              "\"q\"",
                                              "[x]",
                                              "caf\xC3\xA9",
                                              "CAF\xC3\x89",
                                              "\xCE\xB5\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1",
                                              "\xF0\x9F\x98\x80",
                                              std::string(300, 'v'),
                                              " ",
                                              "@",
                                              "bad\xFF"};
const std::vector<std::string> kTextPieces = {"a",
                                              "Z",
                                              "0",
                                              " ",
                                              "\\",
                                              "\"",
                                              "%TEMP%",
                                              "\xC3\xA9",
                                              "\xE2\x82\xAC",
                                              "\xCE\xA9",
                                              "\xF0\x9F\x98\x80",
                                              "\t",
                                              "\r\n",
                                              "=",
                                              "\xFF"};
const std::uint32_t kTypes[] = {win::kRegNone,    win::kRegSz,        win::kRegExpandSz,
                                win::kRegBinary,  win::kRegDword,     5 /* REG_DWORD_BIG_ENDIAN */,
                                win::kRegMultiSz, 11 /* REG_QWORD */, 0x12345678};

// Runs the same random calls on our in-memory registry and on the system's, and writes down
// every answer that differs: result code, type, size and data, subkey names. The calls stay
// where the two are meant to agree; the rules below cover the edges where they don't.
class Differential {
public:
    explicit Differential(unsigned seed) : m_random(seed) {
        m_handles.push_back({win::kHKeyLocalMachine, win::kHKeyLocalMachine, "HKLM"});
    }

    ~Differential() {
        for (std::size_t i = 1; i < m_handles.size(); ++i) {
            m_ours.closeKey(m_handles[i].ours);
            m_windows.closeKey(m_handles[i].windows);
        }
    }

    void run(int steps) {
        for (m_step = 0; m_step < steps && m_differences.size() < 20; ++m_step)
            step();
        compareTrees(m_handles[0], "HKLM", 0);
    }

    const std::vector<std::string>& differences() const { return m_differences; }

private:
    struct Pair {
        RegHandle ours;
        RegHandle windows;
        std::string path;
    };

    int below(std::size_t n) { return static_cast<int>(m_random() % static_cast<unsigned>(n)); }
    bool chance(int percent) { return below(100) < percent; }

    template <typename T>
    const T& pick(const std::vector<T>& from) {
        return from[static_cast<std::size_t>(below(from.size()))];
    }

    std::string anyCase(std::string name) {
        for (char& c : name) {
            if (std::isalpha(static_cast<unsigned char>(c)) && chance(30)) c ^= 0x20;
        }
        return name;
    }

    std::string keyPath() {
        if (chance(4)) return pick(std::vector<std::string>{"a\\", "\\a", ""});
        std::string path;
        const int parts = 1 + below(3);
        for (int i = 0; i < parts; ++i) {
            if (i > 0) path += '\\';
            path += anyCase(pick(kKeyNames));
        }
        return path;
    }

    std::string valueName() {
        std::string name = anyCase(pick(kValueNames));
        m_valueNames.insert(name);
        return name;
    }

    std::string text() {
        std::string out;
        const int pieces = below(12);
        for (int i = 0; i < pieces; ++i)
            out += pick(kTextPieces);
        return out;
    }

    std::string bytes(int length) {
        std::string out(static_cast<std::size_t>(length), '\0');
        for (char& c : out)
            c = static_cast<char>(below(256));
        return out;
    }

    std::string dataFor(std::uint32_t type) {
        switch (type) {
            case win::kRegSz:
            case win::kRegExpandSz: {
                const int form = below(10);
                if (form == 0) return {};                             // no data at all
                if (form == 1) return text();                         // no terminating NUL
                if (form == 2) return text() + '\0' + text() + '\0';  // a NUL inside
                return text() + '\0';
            }
            case win::kRegMultiSz: {
                std::string out;
                const int strings = below(4);
                for (int i = 0; i < strings; ++i)
                    out += text() + '\0';
                return chance(85) ? out + '\0' : out;
            }
            case win::kRegDword:
                return bytes(chance(90) ? 4 : below(9));
            case 11:
                return bytes(8);
            default:
                return bytes(chance(10) ? 2000 + below(3000) : below(40));
        }
    }

    Pair& anyHandle() { return m_handles[static_cast<std::size_t>(below(m_handles.size()))]; }

    void differ(const std::string& call, const std::string& ours, const std::string& windows) {
        if (ours == windows) return;
        m_differences.push_back("step " + std::to_string(m_step) + ": " + call +
                                "\n    ours:    " + ours + "\n    windows: " + windows);
    }

    void step() {
        const int what = below(100);
        if (what < 15) return openOrCreate(true);
        if (what < 25) return openOrCreate(false);
        if (what < 30) return close();
        if (what < 60) return set();
        if (what < 85) return query();
        if (what < 93) return remove();
        if (what < 96) return info();
        return enumerate();
    }

    void openOrCreate(bool create) {
        Pair& parent = anyHandle();
        const std::string path = keyPath();
        RegHandle ours = 0;
        RegHandle windows = 0;
        const long a = create ? m_ours.createKey(parent.ours, path, ours)
                              : m_ours.openKey(parent.ours, path, ours);
        const long b = create ? m_windows.createKey(parent.windows, path, windows)
                              : m_windows.openKey(parent.windows, path, windows);
        differ(std::string(create ? "createKey" : "openKey") + "(" + parent.path + ", \"" + path +
                   "\")",
               std::to_string(a), std::to_string(b));
        if (a == 0 && b == 0 && m_handles.size() < 40) {
            m_handles.push_back({ours, windows, parent.path + "\\" + path});
            return;
        }
        if (a == 0) m_ours.closeKey(ours);
        if (b == 0) m_windows.closeKey(windows);
    }

    void close() {
        if (m_handles.size() < 2) return;
        const auto i = 1 + static_cast<std::size_t>(below(m_handles.size() - 1));
        differ("closeKey(" + m_handles[i].path + ")",
               std::to_string(m_ours.closeKey(m_handles[i].ours)),
               std::to_string(m_windows.closeKey(m_handles[i].windows)));
        m_handles.erase(m_handles.begin() + static_cast<std::ptrdiff_t>(i));
    }

    void set() {
        Pair& key = anyHandle();
        const std::string name = valueName();
        const std::uint32_t type = kTypes[below(std::size(kTypes))];
        const std::string data = dataFor(type);
        // A byte other than NUL follows the data: Windows would count a NUL there as part of a
        // string whose size leaves it out.
        const std::string buffer = data + 'X';
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(buffer.data());
        const auto size = static_cast<std::uint32_t>(data.size());
        differ("setValue(" + key.path + ", \"" + name + "\", " + std::to_string(type) + ", " +
                   hex(data) + ")",
               std::to_string(m_ours.setValue(key.ours, name, type, bytes, size)),
               std::to_string(m_windows.setValue(key.windows, name, type, bytes, size)));
    }

    // One way of asking for a value, as text: the result code and what came back.
    static std::string ask(RegistryStore& store, RegHandle key, const std::string& name, int form,
                           std::uint32_t known) {
        std::uint32_t type = 0xDEAD;
        std::uint32_t size = 0;
        std::string buffer;
        long error = 0;
        switch (form) {
            case 0:  // the type alone
                error = store.queryValue(key, name, &type, nullptr, nullptr);
                break;
            case 1:  // the size alone
                error = store.queryValue(key, name, nullptr, nullptr, &size);
                break;
            default:  // a buffer of the size the store gave, one byte short, or a large one
                size = form == 4 ? 8192 : known - (form == 3 ? 1 : 0);
                buffer.assign(size, '\x55');
                error = store.queryValue(key, name, &type,
                                         reinterpret_cast<std::uint8_t*>(buffer.data()), &size);
                break;
        }
        std::string out = std::to_string(error) + " type " + std::to_string(type) + " size " +
                          std::to_string(size);
        if (error == 0 && !buffer.empty()) out += " data " + hex(buffer.substr(0, size));
        return out;
    }

    static std::uint32_t sizeOf(RegistryStore& store, RegHandle key, const std::string& name) {
        std::uint32_t size = 0;
        store.queryValue(key, name, nullptr, nullptr, &size);
        return size;
    }

    void query() {
        Pair& key = anyHandle();
        const std::string name = valueName();
        int form = below(5);
        const std::uint32_t ours = sizeOf(m_ours, key.ours, name);
        const std::uint32_t windows = sizeOf(m_windows, key.windows, name);
        if (form == 3 && (ours == 0 || windows == 0)) form = 2;
        differ("queryValue form " + std::to_string(form) + " (" + key.path + ", \"" + name + "\")",
               ask(m_ours, key.ours, name, form, ours),
               ask(m_windows, key.windows, name, form, windows));
    }

    void remove() {
        Pair& key = anyHandle();
        const std::string name = valueName();
        differ("deleteValue(" + key.path + ", \"" + name + "\")",
               std::to_string(m_ours.deleteValue(key.ours, name)),
               std::to_string(m_windows.deleteValue(key.windows, name)));
    }

    // The subkey names in the store's order, and the code that ended the listing.
    static std::vector<std::string> namesOf(RegistryStore& store, RegHandle key, long& end) {
        std::vector<std::string> names;
        std::string name;
        for (std::uint32_t i = 0; (end = store.enumKey(key, i, name)) == 0; ++i)
            names.push_back(name);
        return names;
    }

    static std::string infoOf(RegistryStore& store, RegHandle key) {
        std::uint32_t count = 0;
        std::uint32_t longest = 0;
        const long error = store.queryInfoKey(key, &count, &longest);
        long end = 0;
        const auto names = namesOf(store, key, end);
        // Windows counts the longest name in UTF-16 units, our store in bytes: compare it where
        // the two agree, for names in ASCII.
        const bool ascii = std::all_of(names.begin(), names.end(), [](const std::string& n) {
            return std::all_of(n.begin(), n.end(), [](char c) { return (c & 0x80) == 0; });
        });
        return std::to_string(error) + " subkeys " + std::to_string(count) +
               (ascii ? " longest " + std::to_string(longest) : "");
    }

    void info() {
        Pair& key = anyHandle();
        differ("queryInfoKey(" + key.path + ")", infoOf(m_ours, key.ours),
               infoOf(m_windows, key.windows));
    }

    // The order is each store's own (the Windows registry sorts by name); the names are not.
    static std::string sortedList(std::vector<std::string> names, long end) {
        std::sort(names.begin(), names.end());
        std::string out = "end " + std::to_string(end) + ":";
        for (const auto& n : names)
            out += " \"" + n + "\"";
        return out;
    }

    void enumerate() {
        Pair& key = anyHandle();
        long endOurs = 0;
        long endWindows = 0;
        const auto ours = namesOf(m_ours, key.ours, endOurs);
        const auto windows = namesOf(m_windows, key.windows, endWindows);
        differ("enumKey(" + key.path + ")", sortedList(ours, endOurs),
               sortedList(windows, endWindows));
    }

    void compareTrees(const Pair& key, const std::string& path, int depth) {
        for (const std::string& name : m_valueNames) {
            differ("final queryValue(" + path + ", \"" + name + "\")",
                   ask(m_ours, key.ours, name, 4, 0), ask(m_windows, key.windows, name, 4, 0));
        }
        long endOurs = 0;
        long endWindows = 0;
        const auto ours = namesOf(m_ours, key.ours, endOurs);
        const auto windows = namesOf(m_windows, key.windows, endWindows);
        differ("final enumKey(" + path + ")", sortedList(ours, endOurs),
               sortedList(windows, endWindows));
        if (depth > 4) return;
        for (const std::string& name : ours) {
            Pair child{0, 0, path + "\\" + name};
            if (m_ours.openKey(key.ours, name, child.ours) != 0) continue;
            if (m_windows.openKey(key.windows, name, child.windows) == 0) {
                compareTrees(child, child.path, depth + 1);
                m_windows.closeKey(child.windows);
            }
            m_ours.closeKey(child.ours);
        }
    }

    std::mt19937 m_random;
    MemoryRegistryStore m_ours;
    test::ScratchRegistryStore m_windows;
    std::vector<Pair> m_handles;
    std::set<std::string> m_valueNames;
    std::vector<std::string> m_differences;
    int m_step = 0;
};

TEST(Win32RegistryStore, RandomCallsAnswerAsOurRegistryDoes) {
    for (const unsigned seed : {1u, 2u, 3u, 4u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Differential differential(seed);
        differential.run(2000);
        for (const std::string& difference : differential.differences())
            ADD_FAILURE() << difference;
    }
}

// How a store answers one rule, as text.
using Probe = std::function<std::string(RegistryStore&, RegHandle)>;

Probe create(const std::string& path) {
    return [path](RegistryStore& store, RegHandle key) {
        RegHandle made = 0;
        const long error = store.createKey(key, path, made);
        if (error == 0) store.closeKey(made);
        return std::to_string(error);
    };
}

// Makes one key and opens it by another spelling.
Probe createThenOpen(const std::string& made, const std::string& opened) {
    return [made, opened](RegistryStore& store, RegHandle key) {
        RegHandle handle = 0;
        if (store.createKey(key, made, handle) != 0) return std::string("create failed");
        store.closeKey(handle);
        const long error = store.openKey(key, opened, handle);
        if (error == 0) store.closeKey(handle);
        return std::to_string(error);
    };
}

Probe setThenSize(const std::string& name, std::uint32_t type, const std::string& buffer,
                  std::uint32_t size) {
    return [=](RegistryStore& store, RegHandle key) {
        const auto* data =
            buffer.empty() ? nullptr : reinterpret_cast<const std::uint8_t*>(buffer.data());
        const long error = store.setValue(key, name, type, data, size);
        std::uint32_t stored = 0;
        store.queryValue(key, name, nullptr, nullptr, &stored);
        return std::to_string(error) + " size " + std::to_string(stored);
    };
}

Probe subkeysAfterMaking(const std::vector<std::string>& names) {
    return [names](RegistryStore& store, RegHandle key) {
        RegHandle handle = 0;
        for (const std::string& name : names) {
            store.createKey(key, name, handle);
            store.closeKey(handle);
        }
        std::string out;
        std::string name;
        for (std::uint32_t i = 0; store.enumKey(key, i, name) == 0; ++i)
            out += (i > 0 ? " " : "") + name;
        std::uint32_t count = 0;
        std::uint32_t longest = 0;
        store.queryInfoKey(key, &count, &longest);
        return out + " / longest " + std::to_string(longest);
    };
}

enum class Agreement {
    Follows,   // our store answers as Windows does
    OurFault,  // our store is wrong here: it is to answer as Windows does
    Differs,   // a deliberate difference, written down in docs/decisions.md
};

struct Rule {
    const char* what;
    Probe probe;
    std::string windows;  // Windows' answer, as Wine gives it
    Agreement agreement;
};

const std::string kGreek = "\xCE\xB5\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1";
const std::string kGreekUpper = "\xCE\x95\xCE\x9B\xCE\x9B\xCE\x86\xCE\x94\xCE\x91";

const Rule kRules[] = {
    {"a path with a trailing backslash", create("a\\"), "0", Agreement::Follows},
    {"a path that begins with a backslash", create("\\a"), "161", Agreement::Follows},
    {"the empty path opens the key itself", create(""), "0", Agreement::Follows},
    {"repeated backslashes count as one", create("a\\\\b\\\\"), "0", Agreement::Follows},
    {"a path of one backslash", create("\\"), "161", Agreement::Follows},
    {"a name of 255 characters", create(std::string(255, 'k')), "0", Agreement::Follows},
    {"255 Greek letters are 255 characters", create(repeat("\xCE\xB1", 255)), "0",
     Agreement::Follows},
    {"a name of 257 characters", create(std::string(257, 'k')), "87", Agreement::Follows},
    {"an ANSI path longer than 260 characters", create(repeat("abcdefghi\\", 30) + "z"), "234",
     Agreement::Differs},
    {"Latin-1 letters compare without case", createThenOpen("caf\xC3\xA9", "CAF\xC3\x89"), "0",
     Agreement::Follows},
    {"Greek letters compare without case", createThenOpen(kGreek, kGreekUpper), "0",
     Agreement::Follows},
    {"y with diaeresis and its capital", createThenOpen("\xC3\xBF", "\xC5\xB8"), "0",
     Agreement::Follows},
    {"o with macron and its capital", createThenOpen("\xC5\x8D", "\xC5\x8C"), "0",
     Agreement::Follows},
    {"letters beyond the BMP keep their case",
     createThenOpen("\xF0\x90\x90\x80", "\xF0\x90\x90\xA8"), "2", Agreement::Follows},
    {"sharp s is not SS", createThenOpen("\xC3\x9F", "SS"), "2", Agreement::Follows},
    {"a value name of 16383 characters",
     setThenSize(std::string(16383, 'n'), win::kRegDword, "\1\0\0\0", 4), "0 size 4",
     Agreement::Follows},
    {"a value name of 16384 characters",
     setThenSize(std::string(16384, 'n'), win::kRegDword, "\1\0\0\0", 4), "87 size 0",
     Agreement::Follows},
    {"a buffer without a size is refused before the lookup",
     [](RegistryStore& store, RegHandle key) {
         std::uint8_t buffer[4];
         return std::to_string(store.queryValue(key, "missing", nullptr, buffer, nullptr));
     },
     "87", Agreement::Follows},
    {"no data with a size", setThenSize("v", win::kRegBinary, std::string(), 4), "998 size 0",
     Agreement::Follows},
    {"a string whose size leaves out the NUL that follows it",
     setThenSize("v", win::kRegSz, std::string("abc\0", 4), 3), "0 size 4", Agreement::Differs},
    {"text that is not UTF-8", setThenSize("v", win::kRegSz, std::string("\xFF\xFE\0", 3), 3),
     "1113 size 0", Agreement::Follows},
    {"a DWORD of two bytes", setThenSize("v", win::kRegDword, "\1\2", 2), "0 size 2",
     Agreement::Follows},
    {"a value of 2 MB", setThenSize("v", win::kRegBinary, std::string(2 << 20, 'b'), 2 << 20),
     "0 size 2097152", Agreement::Follows},
    {"subkeys are listed by name; the longest name counts UTF-16 units",
     subkeysAfterMaking({"b", "A", "c", "\xE2\x82\xAC\xE2\x82\xAC"}),
     "A b c \xE2\x82\xAC\xE2\x82\xAC / longest 2", Agreement::Differs},
};

TEST(Win32RegistryStore, EdgeRulesAsWindowsGivesThem) {
    for (const Rule& rule : kRules) {
        SCOPED_TRACE(rule.what);
        MemoryRegistryStore ours;
        test::ScratchRegistryStore windows;
        RegHandle ourKey = 0;
        RegHandle windowsKey = 0;
        ASSERT_EQ(ours.createKey(win::kHKeyLocalMachine, "Rule", ourKey), 0);
        ASSERT_EQ(windows.createKey(win::kHKeyLocalMachine, "Rule", windowsKey), 0);
        const std::string windowsAnswer = rule.probe(windows, windowsKey);
        const std::string ourAnswer = rule.probe(ours, ourKey);
        EXPECT_EQ(windowsAnswer, rule.windows);
        if (rule.agreement == Agreement::Follows) {
            EXPECT_EQ(ourAnswer, windowsAnswer);
        } else {
            // When our store comes to agree, the rule is to say so.
            EXPECT_NE(ourAnswer, windowsAnswer) << "our store now answers as Windows does";
        }
        ours.closeKey(ourKey);
        windows.closeKey(windowsKey);
    }
}

TEST(Win32RegistryStore, UnderAnotherCodePageOnlyAsciiPasses) {
    test::ScratchRegistryStore store(false);
    RegHandle key = 0;
    ASSERT_EQ(store.createKey(win::kHKeyLocalMachine, "Plain", key), 0);
    RegHandle other = 0;
    EXPECT_EQ(store.createKey(key, "caf\xC3\xA9", other), win::kErrorNoUnicodeTranslation);
    const std::string text("caf\xC3\xA9\0", 6);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    EXPECT_EQ(store.setValue(key, "v", win::kRegSz, bytes, 6), win::kErrorNoUnicodeTranslation);
    EXPECT_EQ(store.setValue(key, "v", win::kRegBinary, bytes, 6), 0);  // bytes are bytes
    EXPECT_EQ(
        store.setValue(key, "ascii", win::kRegSz, reinterpret_cast<const std::uint8_t*>("ok"), 3),
        0);

    // What another program stored beyond ASCII is not handed out as if it were UTF-8.
    Win32RegistryStore utf8(true);
    RegHandle written = 0;
    ASSERT_EQ(utf8.openKey(win::kHKeyCurrentUser,
                           store.rootPath(win::kHKeyLocalMachine) + "\\Plain", written),
              0);
    ASSERT_EQ(utf8.setValue(written, "text", win::kRegSz, bytes, 6), 0);
    ASSERT_EQ(utf8.createKey(written, "\xC3\xA9t\xC3\xA9", other), 0);
    utf8.closeKey(other);
    utf8.closeKey(written);
    std::uint8_t buffer[16];
    std::uint32_t size = sizeof buffer;
    EXPECT_EQ(store.queryValue(key, "text", nullptr, buffer, &size),
              win::kErrorNoUnicodeTranslation);
    std::string name;
    EXPECT_EQ(store.enumKey(key, 0, name), win::kErrorNoUnicodeTranslation);
    store.closeKey(key);
}

TEST(Win32RegistryStore, TheEmptyPathBelowARootIsThatRoot) {
    Win32RegistryStore store;
    RegHandle key = 0;
    ASSERT_EQ(store.openKey(win::kHKeyCurrentUser, "", key), 0);
    EXPECT_EQ(key, win::kHKeyCurrentUser);  // in the form every store uses for it
    std::uint32_t subkeys = 0;
    EXPECT_EQ(store.queryInfoKey(key, &subkeys, nullptr), 0);
    EXPECT_GT(subkeys, 0u);
    EXPECT_EQ(store.closeKey(key), 0);
}

// Sets a key's access list, given in the security descriptor language.
bool setAccess(const std::string& path, const char* descriptor) {
    PSECURITY_DESCRIPTOR security = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(descriptor, SDDL_REVISION_1,
                                                              &security, nullptr)) {
        return false;
    }
    HKEY key = nullptr;
    LONG error = RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, WRITE_DAC, &key);
    if (error == ERROR_SUCCESS) {
        error = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, security);
        RegCloseKey(key);
    }
    LocalFree(security);
    return error == ERROR_SUCCESS;
}

TEST(Win32RegistryStore, AKeyWithoutWriteAccessIsOpenedForReading) {
    test::ScratchRegistryStore store;
    RegHandle key = 0;
    ASSERT_EQ(store.createKey(win::kHKeyLocalMachine, "Locked", key), 0);
    ASSERT_EQ(store.setValue(key, "v", win::kRegDword,
                             reinterpret_cast<const std::uint8_t*>("\7\0\0\0"), 4),
              0);
    store.closeKey(key);
    const std::string path = store.rootPath(win::kHKeyLocalMachine) + "\\Locked";
    ASSERT_TRUE(setAccess(path, "D:P(A;;KR;;;WD)"));  // everyone may read, no one may write

    ASSERT_EQ(store.openKey(win::kHKeyLocalMachine, "Locked", key), 0);
    std::uint8_t data[4] = {};
    std::uint32_t size = sizeof data;
    EXPECT_EQ(store.queryValue(key, "v", nullptr, data, &size), 0);
    EXPECT_EQ(data[0], 7);
    EXPECT_EQ(store.setValue(key, "v", win::kRegDword, data, 4), win::kErrorAccessDenied);
    store.closeKey(key);
    // Creating asks for full access and is refused.
    EXPECT_EQ(store.createKey(win::kHKeyLocalMachine, "Locked", key), win::kErrorAccessDenied);

    ASSERT_TRUE(setAccess(path, "D:P(A;;KA;;;WD)"));  // so that the scratch key can go
}

}  // namespace
}  // namespace corvane
