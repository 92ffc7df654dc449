#include <gtest/gtest.h>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "platform/regfile/MemoryRegistryStore.h"
#include "platform/regfile/RegistryTree.h"
#include "platform/win32/Win32RegistryStore.h"

namespace corvane {
namespace {

using win::RegHandle;

// A generated registry: keys below one base key, each with values of every type.
struct Model {
    struct Value {
        std::string name;
        std::uint32_t type;
        std::string data;
    };
    struct Key {
        std::string path;  // below the base key; empty for the base key itself
        std::vector<Value> values;
    };
    std::vector<Key> keys;
};

// The characters a REGEDIT4 file holds (Windows-1252) and those only version 5 holds.
const std::vector<std::string> kAnsiPieces = {
    "a", "Z", "0", " ",  "\\",       "\"",           "%TEMP%",   "=",        "[",       "]",
    ";", ",", "@", "\t", "\xC3\xA9", "\xE2\x82\xAC", "\xC3\xBF", "\xC2\xA0", "\xC5\x93"};
const std::vector<std::string> kUnicodePieces = {"\xCE\xA9", "\xE4\xB8\xAD", "\xF0\x9F\x98\x80",
                                                 "\xD0\x96"};
const std::vector<std::string> kKeyNames = {"Alpha",
                                            "with space",
                                            "a.b",
                                            "x=y",
                                            "q\"uote",
                                            "[x]",
                                            "x]y",
                                            ";semi",
                                            "-dash",
                                            "@",
                                            "caf\xC3\xA9",
                                            "\xE2\x82\xAC",
                                            std::string(200, 'k'),
                                            "{4D36E968-E325-11CE-BFC1-08002BE10318}"};
const std::vector<std::string> kValueNames = {"",
                                              "@",
                                              "\\",
                                              "\"",
                                              "a=b",
                                              "=",
                                              " ",
                                              "[x]",
                                              ";c",
                                              "tab\there",
                                              std::string(200, 'v'),
                                              "caf\xC3\xA9",
                                              "Value"};
const std::vector<std::string> kUnicodeNames = {"\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1",
                                                "\xF0\x9F\x98\x80"};

class Generator {
public:
    Generator(unsigned seed, bool unicode) : m_random(seed), m_unicode(unicode) {}

    Model make(int keys) {
        Model model;
        model.keys.push_back({"", values()});
        for (int i = 0; i < keys; ++i) {
            const Model::Key& parent =
                model.keys[static_cast<std::size_t>(below(model.keys.size()))];
            std::string name =
                pick(m_unicode && chance(30) ? kUnicodeNames : kKeyNames) + std::to_string(i);
            const std::string path = parent.path.empty() ? name : parent.path + "\\" + name;
            if (path.size() > 220) continue;  // keep whole paths short enough for any tool
            model.keys.push_back({path, values()});
        }
        return model;
    }

    int below(std::size_t n) { return static_cast<int>(m_random() % n); }
    bool chance(int percent) { return below(100) < percent; }
    const std::string& pick(const std::vector<std::string>& from) {
        return from[static_cast<std::size_t>(below(from.size()))];
    }

    std::string text(int maxPieces) {
        std::string out;
        const int pieces = below(static_cast<std::size_t>(maxPieces));
        for (int i = 0; i < pieces; ++i)
            out += m_unicode && chance(20) ? pick(kUnicodePieces) : pick(kAnsiPieces);
        return out;
    }

    std::string bytes(int length) {
        std::string out(static_cast<std::size_t>(length), '\0');
        for (char& c : out)
            c = static_cast<char>(below(256));
        return out;
    }

    std::vector<Model::Value> values() {
        std::vector<Model::Value> out;
        std::set<std::string> used;
        const int count = below(9);
        for (int i = 0; i < count; ++i) {
            std::string name = pick(m_unicode && chance(20) ? kUnicodeNames : kValueNames);
            std::string folded = name;
            std::transform(folded.begin(), folded.end(), folded.begin(), ::tolower);
            if (!used.insert(folded).second) continue;
            out.push_back(value(std::move(name)));
        }
        return out;
    }

public:
    // A value of a random type under the name.
    Model::Value value(std::string name) {
        switch (below(13)) {
            case 10:
                return {name, win::kRegSz, text(6)};  // without its NUL
            case 11:
                return {name, win::kRegMultiSz, text(6) + '\0'};  // without the closing NUL
            case 12:
                return {name, win::kRegDword, bytes(3)};
            case 0:
                return {name, win::kRegSz, text(chance(10) ? 400 : 12) + '\0'};
            case 1:  // text with line ends, which the plain string form can't hold
                return {name, win::kRegSz, text(5) + "\r\n" + text(5) + '\0'};
            case 2:
                return {name, win::kRegExpandSz, "%SystemRoot%\\" + text(8) + '\0'};
            case 3: {
                std::string list;
                const int strings = 1 + below(4);
                for (int i = 0; i < strings; ++i)
                    list += text(6) + '\0';
                return {name, win::kRegMultiSz, list + '\0'};
            }
            case 4:
                return {name, win::kRegDword, bytes(4)};
            case 5:
                return {name, 11, bytes(8)};  // REG_QWORD
            case 6:
                return {name, win::kRegBinary, bytes(chance(30) ? 1000 + below(3000) : below(20))};
            case 7:
                return {name, win::kRegNone, bytes(below(6))};
            case 8:
                return {name, 0x12345678, bytes(below(6))};
            default:
                return {name, 5, bytes(4)};  // REG_DWORD_BIG_ENDIAN
        }
    }

private:
    std::mt19937 m_random;
    bool m_unicode;
};

std::string basePath(int n) {
    return "Software\\Corvane-regedit-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(n);
}

std::string fullPath(const std::string& base, const std::string& path) {
    return "HKEY_CURRENT_USER\\" + base + (path.empty() ? "" : "\\" + path);
}

RegistryTree treeOf(const Model& model, const std::string& base, RegFileVersion version,
                    RegFileEncoding encoding) {
    RegistryTree tree(version, encoding);
    for (const Model::Key& key : model.keys) {
        const std::string path = fullPath(base, key.path);
        EXPECT_EQ(tree.apply({RegChange::Kind::CreateKey, path, {}, 0, {}}), 0) << path;
        for (const Model::Value& value : key.values) {
            EXPECT_EQ(
                tree.apply({RegChange::Kind::SetValue, path, value.name, value.type, value.data}),
                0)
                << path << " " << value.name;
        }
    }
    return tree;
}

// Runs Wine's (or Windows') regedit with the given arguments and waits for it.
DWORD regedit(const std::string& arguments) {
    std::string commandLine = "regedit.exe " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return GetLastError() | 0x10000;
    }
    WaitForSingleObject(process.hProcess, 60000);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

std::string hex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (const char c : bytes) {
        out += kDigits[static_cast<unsigned char>(c) >> 4];
        out += kDigits[static_cast<unsigned char>(c) & 15];
    }
    return out;
}

// Text data that does not end in a NUL gets one when regedit imports it (empty data stays empty)
// (Windows does the same: Wine's regedit tests check it there), so such a value can't keep its
// exact bytes through a .reg file; docs/decisions.md has the details.
std::string asRegeditImports(const Model::Value& value) {
    const bool text = value.type == win::kRegSz || value.type == win::kRegExpandSz ||
                      value.type == win::kRegMultiSz;
    if (text && !value.data.empty() && value.data.back() != '\0') return value.data + '\0';
    return value.data;
}

// Every key and value of the model, read back from the system registry.
void expectInRegistry(const Model& model, const std::string& base) {
    Win32RegistryStore store;
    for (const Model::Key& key : model.keys) {
        SCOPED_TRACE(fullPath(base, key.path));
        RegHandle handle = 0;
        const std::string path = base + (key.path.empty() ? "" : "\\" + key.path);
        ASSERT_EQ(store.openKey(win::kHKeyCurrentUser, path, handle), 0);
        // No value more than the model's.
        HKEY opened = nullptr;
        DWORD valueCount = 0;
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &opened), 0);
        RegQueryInfoKeyA(opened, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &valueCount,
                         nullptr, nullptr, nullptr, nullptr);
        RegCloseKey(opened);
        EXPECT_EQ(valueCount, key.values.size());
        for (const Model::Value& value : key.values) {
            std::uint32_t type = 0;
            std::string data(65536, '\0');
            auto size = static_cast<std::uint32_t>(data.size());
            ASSERT_EQ(store.queryValue(handle, value.name, &type,
                                       reinterpret_cast<std::uint8_t*>(data.data()), &size),
                      0)
                << "value \"" << value.name << "\"";
            data.resize(size);
            EXPECT_EQ(type, value.type) << "value \"" << value.name << "\"";
            EXPECT_EQ(hex(data), hex(asRegeditImports(value))) << "value \"" << value.name << "\"";
        }
        // The subkeys, with their spelling.
        std::set<std::string> expected;
        const std::string prefix = key.path.empty() ? "" : key.path + "\\";
        for (const Model::Key& other : model.keys) {
            if (other.path.size() > prefix.size() &&
                other.path.compare(0, prefix.size(), prefix) == 0 &&
                other.path.find('\\', prefix.size()) == std::string::npos) {
                expected.insert(other.path.substr(prefix.size()));
            }
        }
        std::set<std::string> found;
        std::string name;
        for (std::uint32_t i = 0; store.enumKey(handle, i, name) == 0; ++i)
            found.insert(name);
        EXPECT_EQ(found, expected);
        store.closeKey(handle);
    }
}

// What our reader makes of a value in an export of Wine's regedit, which writes a line end
// inside a quoted string as the escapes \r and \n (our reader takes them literally, a backslash
// and a letter) and a REG_SZ without data as "" (one NUL). docs/decisions.md has the details.
std::string asReadFromWineExport(const Model::Value& value) {
    const std::string data = asRegeditImports(value);
    if (value.type != win::kRegSz) return data;
    if (data.empty()) return std::string(1, '\0');
    std::string out;
    for (const char c : data) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    return out;
}

// Every key and value of the model, found in a parsed export.
void expectInTree(const Model& model, const std::string& base, const RegistryTree& tree) {
    for (const Model::Key& key : model.keys) {
        const std::string path = fullPath(base, key.path);
        SCOPED_TRACE(path);
        const std::uint32_t k = tree.findKey(path);
        ASSERT_NE(k, RegistryTree::kNoKey);
        EXPECT_EQ(tree.keyPath(k), path);  // spelling kept
        EXPECT_EQ(tree.valueCount(k), key.values.size());
        for (const Model::Value& value : key.values) {
            std::uint32_t type = 0;
            const std::string* data = nullptr;
            ASSERT_TRUE(tree.value(k, value.name, type, data)) << "value \"" << value.name << "\"";
            EXPECT_EQ(type, value.type) << "value \"" << value.name << "\"";
            // Wine's regedit writes any REG_DWORD as dword:, reading four bytes also where the
            // value has fewer; what it writes then is not the value.
            if (value.type == win::kRegDword && value.data.size() != 4) continue;
            EXPECT_EQ(hex(*data), hex(asReadFromWineExport(value)))
                << "value \"" << value.name << "\"";
        }
    }
}

struct Form {
    const char* name;
    RegFileVersion version;
    RegFileEncoding encoding;
    bool unicode;  // whether text beyond Windows-1252 can be written
};

const Form kForms[] = {
    {"REGEDIT4", RegFileVersion::Regedit4, RegFileEncoding::Ansi, false},
    {"version 5, UTF-16", RegFileVersion::Regedit5, RegFileEncoding::Utf16Le, true},
};

// Our files go into Windows' registry with regedit, and what regedit exports comes back into
// our store, which saves it unchanged.
TEST(RegeditInterop, OurFilesImportAndItsExportsRoundTrip) {
    test::TempDir dir;
    int n = 0;
    for (const Form& form : kForms) {
        for (const unsigned seed : {11u, 12u, 13u}) {
            SCOPED_TRACE(std::string(form.name) + ", seed " + std::to_string(seed));
            const std::string base = basePath(n++);
            const Model model = Generator(seed, form.unicode).make(25);
            const std::string ours = dir.file("ours-" + std::to_string(n) + ".reg");
            test::writeFile(ours, treeOf(model, base, form.version, form.encoding).serialize());

            ASSERT_EQ(regedit("/S \"" + ours + "\""), 0u);
            expectInRegistry(model, base);

            const std::string exported = dir.file("export-" + std::to_string(n) + ".reg");
            ASSERT_EQ(regedit("/E \"" + exported + "\" \"" + fullPath(base, "") + "\""), 0u);
            const std::string bytes = test::readFile(exported);
            RegistryTree tree = RegistryTree::parse(bytes);
            EXPECT_EQ(tree.serialize(), bytes);
            expectInTree(model, base, tree);

            // Through the store: a value changed and changed back leaves the file as it was.
            MemoryRegistryStore store(std::move(tree));
            RegHandle key = 0;
            ASSERT_EQ(store.openKey(win::kHKeyCurrentUser, base, key), 0);
            const auto* probe = reinterpret_cast<const std::uint8_t*>("probe");
            ASSERT_EQ(store.setValue(key, "Corvane probe", win::kRegBinary, probe, 5), 0);
            ASSERT_EQ(store.deleteValue(key, "Corvane probe"), 0);
            store.closeKey(key);
            EXPECT_EQ(store.tree().serialize(), bytes);

            RegDeleteTreeA(HKEY_CURRENT_USER, base.c_str());
            RegDeleteKeyA(HKEY_CURRENT_USER, base.c_str());
        }
    }
}

// Changes made by Corvane to a registry that regedit exported: new values of every type over
// old ones (the type changed too), removed values and new keys. The file saved afterwards
// imports into Windows' registry as exactly the changed registry.
TEST(RegeditInterop, ChangesSavedOverAnExportImportIntact) {
    test::TempDir dir;
    int n = 100;
    for (const unsigned seed : {21u, 22u, 23u, 24u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        const std::string base = basePath(n++);
        Generator generator(seed, true);
        Model model = generator.make(12);
        const std::string first = dir.file("first-" + std::to_string(n) + ".reg");
        test::writeFile(
            first,
            treeOf(model, base, RegFileVersion::Regedit5, RegFileEncoding::Utf16Le).serialize());
        ASSERT_EQ(regedit("/S \"" + first + "\""), 0u);
        const std::string exported = dir.file("export-" + std::to_string(n) + ".reg");
        ASSERT_EQ(regedit("/E \"" + exported + "\" \"" + fullPath(base, "") + "\""), 0u);

        MemoryRegistryStore store(RegistryTree::parse(test::readFile(exported)));
        // Wine's export holds a few values in its own way (see expectInTree); they are replaced.
        for (Model::Key& key : model.keys) {
            RegHandle handle = 0;
            const std::string path = base + (key.path.empty() ? "" : "\\" + key.path);
            ASSERT_EQ(store.openKey(win::kHKeyCurrentUser, path, handle), 0) << path;
            std::vector<Model::Value> kept;
            for (Model::Value& value : key.values) {
                const bool ownForm = value.type == win::kRegSz || value.type == win::kRegDword;
                if (ownForm || generator.chance(30)) {
                    ASSERT_EQ(store.deleteValue(handle, value.name), 0) << value.name;
                    continue;
                }
                if (generator.chance(40)) {
                    value = generator.value(value.name);
                    ASSERT_EQ(
                        store.setValue(handle, value.name, value.type,
                                       reinterpret_cast<const std::uint8_t*>(value.data.data()),
                                       static_cast<std::uint32_t>(value.data.size())),
                        0);
                }
                kept.push_back(value);
            }
            key.values = std::move(kept);
            store.closeKey(handle);
        }
        for (int i = 0; i < 4; ++i) {
            Model::Key added{"added " + std::to_string(i) + "\\" + generator.pick(kKeyNames), {}};
            RegHandle handle = 0;
            ASSERT_EQ(store.createKey(win::kHKeyCurrentUser, base + "\\" + added.path, handle), 0);
            for (int v = 0; v < 3; ++v) {
                Model::Value value = generator.value("v" + std::to_string(v));
                ASSERT_EQ(store.setValue(handle, value.name, value.type,
                                         reinterpret_cast<const std::uint8_t*>(value.data.data()),
                                         static_cast<std::uint32_t>(value.data.size())),
                          0);
                added.values.push_back(value);
            }
            store.closeKey(handle);
            model.keys.push_back({"added " + std::to_string(i), {}});
            model.keys.push_back(added);
        }

        RegDeleteTreeA(HKEY_CURRENT_USER, base.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, base.c_str());
        const std::string changed = dir.file("changed-" + std::to_string(n) + ".reg");
        test::writeFile(changed, store.tree().serialize());
        ASSERT_EQ(regedit("/S \"" + changed + "\""), 0u);
        expectInRegistry(model, base);

        RegDeleteTreeA(HKEY_CURRENT_USER, base.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, base.c_str());
    }
}

}  // namespace
}  // namespace corvane
