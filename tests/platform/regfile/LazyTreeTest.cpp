#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "platform/WinTypes.h"
#include "platform/files/TextCodec.h"
#include "platform/regfile/RegistryTree.h"

namespace corvane {
namespace {

// Random exports: keys of a small pool of names (so that operations hit them), nested and
// implied, values of every form regedit writes, comments and blank lines, both line ends, both
// versions and every encoding; now and then value deletion lines, repeated value names, and the
// key deletions and repeated headers that make the lazy reader read the file whole.
class ExportMaker {
public:
    explicit ExportMaker(unsigned seed) : m_random(seed) {}

    std::string make(bool& regedit4) {
        regedit4 = chance(2);
        const char* eol = chance(3) ? "\n" : "\r\n";
        std::string text = regedit4 ? "REGEDIT4" : "Windows Registry Editor Version 5.00";
        text += eol;
        const int keys = pick(1, 30);
        std::set<std::string> named;
        wholeRead = false;
        for (int k = 0; k < keys; ++k) {
            if (chance(3)) text += eol;
            if (chance(8)) text += std::string("; note") + eol;
            const std::string path = keyPath();
            if (chance(25)) {
                text += "[-" + path + "]" + eol;
                wholeRead = true;
                continue;
            }
            if (!named.insert(codec::foldCase(path)).second) {
                if (!chance(10)) continue;
                wholeRead = true;  // a key named twice
            }
            text += "[" + path + "]" + eol;
            const int values = pick(0, 5);
            for (int v = 0; v < values; ++v) {
                if (chance(10)) text += eol;
                text += valueLine(regedit4, eol);
            }
        }
        if (chance(2)) text += eol;
        if (regedit4) return codec::utf8ToCp1252(text).value_or(text);
        switch (pick(0, 2)) {
            case 0:
                return "\xFF\xFE" + codec::utf8ToUtf16le(text).value_or(std::string{});
            case 1:
                return "\xEF\xBB\xBF" + text;
            default:
                return text;
        }
    }

    std::string keyPath() {
        static const char* const kNames[] = {
            "Software", "ati", "Driver", "caf\xC3\xA9", "0000", "Key With Space", "[x]"};
        std::string path = chance(5) ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
        const int depth = pick(1, 4);
        for (int i = 0; i < depth; ++i) {
            std::string name = kNames[pick(0, 6)];
            if (chance(4)) name = codec::foldCase(name);
            path += "\\" + name;
        }
        return path;
    }

    std::string valueName() {
        static const char* const kNames[] = {"",     "Value", "CoreClk",
                                             "a\\b", "\"q\"", "\xC3\xA9t\xC3\xA9"};
        return kNames[pick(0, 5)];
    }

    bool wholeRead = false;  // the last file deletes a key or names one twice

    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }
    bool chance(int oneIn) { return pick(1, oneIn) == 1; }

private:
    static std::string quoted(const std::string& text) {
        std::string out = "\"";
        for (const char c : text) {
            if (c == '\\' || c == '"') out += '\\';
            out += c;
        }
        return out + "\"";
    }

    std::string hexList(int count, const char* eol) {
        std::string out;
        for (int i = 0; i < count; ++i) {
            char byte[4];
            std::snprintf(byte, sizeof byte, "%02x", pick(0, 255));
            out += byte;
            if (i + 1 < count) out += ',';
            if (i % 20 == 19 && i + 1 < count) out += std::string("\\") + eol + "  ";
        }
        return out;
    }

    std::string valueLine(bool regedit4, const char* eol) {
        const std::string name = valueName();
        std::string line = name.empty() && chance(2) ? "@=" : quoted(name) + "=";
        switch (pick(0, 6)) {
            case 0:
                line += quoted(chance(2) ? "C:\\Windows \"x\"" : "plain \xC3\xA9");
                break;
            case 1: {
                char number[20];
                std::snprintf(number, sizeof number, "dword:%08x", pick(0, 1 << 30));
                line += number;
                break;
            }
            case 2:
                line += "hex:" + hexList(pick(0, 50), eol);
                break;
            case 3:
                line += regedit4 ? "hex(2):25,41,25,00" : "hex(2):25,00,41,00,25,00,00,00";
                break;
            case 4:
                line += regedit4 ? "hex(7):61,00,62,00,00" : "hex(7):61,00,00,00,00,00";
                break;
            case 5:
                line += "hex(b):" + hexList(8, eol);
                break;
            default:
                line += "-";  // deletes the value
                break;
        }
        return line + eol;
    }

    std::mt19937 m_random;
};

struct Read {
    bool found = false;
    std::uint32_t type = 0;
    std::string data;
    bool operator==(const Read&) const = default;
};

Read readValue(const RegistryTree& tree, const std::string& path, const std::string& name) {
    Read r;
    const std::uint32_t key = tree.findKey(path);
    if (key == RegistryTree::kNoKey) return r;
    const std::string* data = nullptr;
    r.found = tree.value(key, name, r.type, data);
    if (r.found) r.data = *data;
    return r;
}

std::vector<std::string> subkeyNames(const RegistryTree& tree, const std::string& path) {
    std::vector<std::string> names;
    const std::uint32_t key = tree.findKey(path);
    if (key == RegistryTree::kNoKey) return {"<none>"};
    for (const std::uint32_t child : tree.subkeys(key))
        names.emplace_back(tree.keyName(child));
    names.push_back(std::to_string(tree.valueCount(key)) + " values");
    return names;
}

// For any file and any sequence of operations, a tree read lazily and one read whole answer
// every read alike and save the same bytes; an untouched lazy tree saves the file as it was,
// whatever pieces it read the file in and however few keys' values it kept.
TEST(LazyTree, AgreesWithAFullReadOnEveryOperation) {
    int lazyFiles = 0;
    for (unsigned seed = 1; seed <= 400; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        ExportMaker maker(seed);
        bool regedit4 = false;
        const std::string file = maker.make(regedit4);
        RegistryTree full = RegistryTree::parse(file);
        // Small pieces put line ends at every place in them; few kept keys make most reads read
        // the file again.
        const LazyReading how{
            maker.chance(2) ? std::size_t(maker.pick(1, 64)) : RegistryTree::kPieceSize,
            std::size_t(maker.pick(1, 4))};
        RegistryTree lazy = RegistryTree::parseLazily(file, how);
        // Read line by line into values, with none of the index's machinery: the reference for
        // every read.
        RegistryTree whole = RegistryTree::parseWhole(file);
        const std::string untouched = lazy.serialize();
        ASSERT_EQ(untouched, full.serialize());
        if (!maker.wholeRead) {
            ++lazyFiles;
            ASSERT_EQ(untouched, file);
        }
        std::vector<std::pair<std::string, std::string>> probes;
        for (int step = 0; step < 40; ++step) {
            const std::string path = maker.keyPath();
            const std::string name = maker.valueName();
            probes.emplace_back(path, name);
            switch (maker.pick(0, 5)) {
                case 0:
                case 1:
                    ASSERT_EQ(readValue(lazy, path, name), readValue(full, path, name))
                        << path << " " << name;
                    ASSERT_EQ(readValue(lazy, path, name), readValue(whole, path, name))
                        << path << " " << name;
                    break;
                case 2:
                    ASSERT_EQ(subkeyNames(lazy, path), subkeyNames(full, path)) << path;
                    ASSERT_EQ(subkeyNames(lazy, path), subkeyNames(whole, path)) << path;
                    break;
                case 3: {
                    const std::uint32_t type = maker.chance(2) ? win::kRegDword : win::kRegSz;
                    const std::string data = type == win::kRegDword
                                                 ? std::string("\x01\x00\x00\x00", 4)
                                                 : std::string("x\0", 2);
                    const RegChange change{RegChange::Kind::SetValue, path, name, type, data};
                    bool lazyChanged = false;
                    bool fullChanged = false;
                    ASSERT_EQ(lazy.apply(change, &lazyChanged), full.apply(change, &fullChanged));
                    ASSERT_EQ(lazyChanged, fullChanged);
                    whole.apply(change);
                    break;
                }
                case 4: {
                    const RegChange change{RegChange::Kind::DeleteValue, path, name, 0, {}};
                    ASSERT_EQ(lazy.apply(change), full.apply(change));
                    whole.apply(change);
                    break;
                }
                default: {
                    const RegChange change{RegChange::Kind::CreateKey, path, {}, 0, {}};
                    ASSERT_EQ(lazy.apply(change), full.apply(change));
                    whole.apply(change);
                    break;
                }
            }
            if (step % 10 == 9) {
                ASSERT_EQ(lazy.serialize(), full.serialize());
            }
        }
        const std::string saved = lazy.serialize();
        ASSERT_EQ(saved, full.serialize());
        // What was saved reads back as the tree that saved it, and saves alike.
        const RegistryTree again = RegistryTree::parse(saved);
        for (const auto& [path, name] : probes) {
            ASSERT_EQ(readValue(again, path, name), readValue(full, path, name))
                << path << " " << name;
            ASSERT_EQ(subkeyNames(again, path), subkeyNames(full, path)) << path;
        }
        ASSERT_EQ(RegistryTree::parseLazily(saved).serialize(), saved);
    }
    EXPECT_GT(lazyFiles, 200);  // most files take the lazy way
}

}  // namespace
}  // namespace corvane

namespace corvane {
namespace {

// Headers that jump between branches, in any spelling, each naming a key once: every key is
// found by its path, holds its own value, has the parent its path gives and is spelled as first
// written, and no other keys are made than the headers and the keys they imply. The model here
// is a plain map of folded paths.
TEST(LazyTree, HeadersJumpingBetweenBranchesFindTheirOwnKeys) {
    static const char* const kNames[] = {"Software", "Classes", "CLSID", "{A1}",       "{a1}x",
                                         "System",   "Class",   "0000",  "Caf\xC3\xA9"};
    for (unsigned seed = 1; seed <= 60; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
        std::string file = "Windows Registry Editor Version 5.00\r\n";
        std::map<std::string, std::string> spelled;  // folded path -> the key's path
        std::set<std::string> headers;
        for (int k = 0; k < 200; ++k) {
            std::string path = pick(4) == 0 ? "HKEY_USERS" : "HKEY_LOCAL_MACHINE";
            const int depth = 1 + pick(6);
            for (int d = 0; d < depth; ++d) {
                std::string name = kNames[pick(9)];
                if (pick(3) == 0) name = codec::foldCase(name);
                path += "\\" + name;
            }
            if (!headers.insert(codec::foldCase(path)).second) continue;
            file += "\r\n[" + path + "]\r\n@=\"" + codec::foldCase(path) + "\"\r\n";
            // Each key is spelled as its name was first written, below its parent's spelling.
            std::string parent;
            for (std::size_t start = 0; start <= path.size();) {
                const std::size_t slash = std::min(path.find('\\', start), path.size());
                const std::string name = path.substr(start, slash - start);
                const std::string folded = codec::foldCase(path.substr(0, slash));
                const auto it =
                    spelled.emplace(folded, parent.empty() ? name : parent + "\\" + name);
                parent = it.first->second;
                start = slash + 1;
            }
        }
        const std::function<RegistryTree(std::string)> readers[] = {
            &RegistryTree::parse, &RegistryTree::parseWhole, [](std::string text) {
                return RegistryTree::parseLazily(std::move(text), {7, 2});
            }};
        for (const auto& read : readers) {
            const RegistryTree tree = read(file);
            EXPECT_EQ(tree.liveKeyCount(), spelled.size());
            for (const auto& [folded, path] : spelled) {
                const std::uint32_t key = tree.findKey(path);
                ASSERT_NE(key, RegistryTree::kNoKey) << path;
                EXPECT_EQ(tree.keyPath(key), path);
                EXPECT_EQ(tree.findKey(folded), key) << folded;
                std::uint32_t type = 0;
                const std::string* data = nullptr;
                if (headers.count(folded) != 0) {
                    ASSERT_TRUE(tree.value(key, "", type, data)) << path;
                    EXPECT_EQ(*data, folded + std::string(1, '\0'));
                } else {
                    EXPECT_FALSE(tree.value(key, "", type, data)) << path;
                }
                for (const std::uint32_t child : tree.subkeys(key)) {
                    EXPECT_EQ(tree.keyPath(child), path + "\\" + std::string(tree.keyName(child)));
                }
            }
        }
    }
}

}  // namespace
}  // namespace corvane
