#include "platform/regfile/RegistryTree.h"

#include <gtest/gtest.h>

#include <functional>

#include "TestSupport.h"
#include "platform/WinTypes.h"
#include "platform/files/TextCodec.h"

namespace corvane {
namespace {

using test::dataFile;

struct Value {
    std::uint32_t type = 0;
    std::string data;
    bool found = false;
};

Value valueOf(const RegistryTree& tree, const std::string& key, const std::string& name) {
    Value v;
    const std::uint32_t k = tree.findKey(key);
    if (k == RegistryTree::kNoKey) return v;
    const std::string* data = nullptr;
    v.found = tree.value(k, name, v.type, data);
    if (v.found) v.data = *data;
    return v;
}

std::string dword(std::uint32_t n) {
    return {static_cast<char>(n), static_cast<char>(n >> 8), static_cast<char>(n >> 16),
            static_cast<char>(n >> 24)};
}

std::string repeat(std::string_view piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

constexpr const char* kAti = "HKEY_LOCAL_MACHINE\\Software\\ATI Technologies";
constexpr const char* kDdhal = "HKEY_LOCAL_MACHINE\\Software\\ATI Technologies\\Driver\\ddhal";

TEST(RegistryTree, ReadsEveryKindOfValueOfARegedit4File) {
    const RegistryTree tree = RegistryTree::parse(dataFile("all-types-regedit4.reg"));
    EXPECT_EQ(tree.version(), RegFileVersion::Regedit4);
    EXPECT_EQ(tree.encoding(), RegFileEncoding::Ansi);

    struct Case {
        const char* key;
        const char* name;
        std::uint32_t type;
        std::string data;
    };
    const Case cases[] = {
        {kAti, "", win::kRegSz, std::string("ATI default\0", 12)},
        {kAti, "plain", win::kRegSz, std::string("Rage 128\0", 9)},
        {kAti, "Escapes", win::kRegSz, std::string("C:\\WINDOWS\\SYSTEM and \"quotes\"\0", 31)},
        {kAti, "Latin", win::kRegSz, std::string("caf\xC3\xA9 \xE2\x82\xAC 5\0", 12)},
        {kAti, "Empty", win::kRegSz, std::string("\0", 1)},
        {kAti, "Number", win::kRegDword, dword(42)},
        {kAti, "Max", win::kRegDword, dword(0xFFFFFFFF)},
        {kDdhal, "Binary", win::kRegBinary, std::string("\x00\x01\xFE\xFF", 4)},
        {kDdhal, "NoBytes", win::kRegBinary, ""},
        {kDdhal, "Expand", win::kRegExpandSz, std::string("%TEMP%\\a\0", 9)},
        {kDdhal, "Multi", win::kRegMultiSz, std::string("one\0two\0\0", 9)},
        {kDdhal, "None", 0, ""},
        {kDdhal, "Qword", 11, std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8)},
        {"hkey_current_user\\control panel", "mixed case", win::kRegSz, std::string("kept\0", 5)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Value v = valueOf(tree, c.key, c.name);
        ASSERT_TRUE(v.found);
        EXPECT_EQ(v.type, c.type);
        EXPECT_EQ(v.data, c.data);
    }
    std::string longData;
    for (int i = 0; i < 32; ++i)
        longData += static_cast<char>(i);
    EXPECT_EQ(valueOf(tree, kDdhal, "Long").data, longData);
}

TEST(RegistryTree, ReadsAUtf16VersionFiveFile) {
    const RegistryTree tree = RegistryTree::parse(dataFile("all-types-v5-utf16.reg"));
    EXPECT_EQ(tree.version(), RegFileVersion::Regedit5);
    EXPECT_EQ(tree.encoding(), RegFileEncoding::Utf16Le);
    EXPECT_EQ(
        valueOf(tree, kAti, "Unicode").data,
        std::string(
            "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC \xE2\x82\xAC\0", 21));
    EXPECT_EQ(valueOf(tree, kDdhal, "Expand").data, std::string("%TEMP%\0", 7));
    EXPECT_EQ(valueOf(tree, kDdhal, "Multi").data, std::string("one\0two\0\0", 9));
    const Value other = valueOf(tree, kDdhal, "Other");
    EXPECT_EQ(other.type, 0x12345678u);
    EXPECT_EQ(other.data, "\xAB\xCD");
}

TEST(RegistryTree, SavesAnUntouchedFileByteForByte) {
    for (const char* name : {"all-types-regedit4.reg", "all-types-v5-utf16.reg"}) {
        SCOPED_TRACE(name);
        const std::string original = dataFile(name);
        EXPECT_EQ(RegistryTree::parse(original).serialize(), original);
    }
}

TEST(RegistryTree, ChangesTouchOnlyTheirOwnLines) {
    const std::string original = dataFile("all-types-regedit4.reg");
    RegistryTree tree = RegistryTree::parse(original);
    ASSERT_EQ(tree.apply({RegChange::Kind::SetValue, kAti, "plain", win::kRegSz,
                          std::string("Rage Fury\0", 10)}),
              0);
    ASSERT_EQ(tree.apply({RegChange::Kind::SetValue, "HKEY_LOCAL_MACHINE\\Software\\New", "n",
                          win::kRegDword, dword(7)}),
              0);
    const std::string saved = tree.serialize();

    std::string expected = original;
    // An existing value keeps the spelling of its name.
    expected.replace(expected.find("\"Plain\"=\"Rage 128\""), 18, "\"Plain\"=\"Rage Fury\"");
    // The file's own last blank line stays last.
    expected.erase(expected.size() - 2);
    expected += "\r\n[HKEY_LOCAL_MACHINE\\Software\\New]\r\n\"n\"=dword:00000007\r\n\r\n";
    EXPECT_EQ(saved, expected);
}

// A changed key is written from its values: the wrapped data beside the change keeps its lines,
// each with the line end it had, whichever reader read the file.
TEST(RegistryTree, WrappedDataBesideAChangeKeepsItsLines) {
    for (const std::string eol : {"\r\n", "\n"}) {
        const std::string file = "REGEDIT4" + eol + eol + "[HKEY_LOCAL_MACHINE\\A]" + eol +
                                 "\"Long\"=hex:00,01,02,\\" + eol + "  03,04,\\ " + eol + "  05" +
                                 eol + "\"n\"=dword:00000001" + eol;
        const std::function<RegistryTree(std::string)> readers[] = {
            &RegistryTree::parse, &RegistryTree::parseWhole,
            [](std::string text) { return RegistryTree::parseLazily(std::move(text)); }};
        for (const auto& read : readers) {
            SCOPED_TRACE(eol.size());
            RegistryTree tree = read(file);
            EXPECT_EQ(valueOf(tree, "HKEY_LOCAL_MACHINE\\A", "Long").data,
                      std::string("\x00\x01\x02\x03\x04\x05", 6));
            ASSERT_EQ(tree.apply({RegChange::Kind::SetValue, "HKEY_LOCAL_MACHINE\\A", "n",
                                  win::kRegDword, dword(2)}),
                      0);
            std::string expected = file;
            expected.replace(expected.find("dword:00000001"), 14, "dword:00000002");
            EXPECT_EQ(tree.serialize(), expected);
        }
    }
}

TEST(RegistryTree, NewValuesTakeTheFilesEncoding) {
    struct Case {
        const char* file;
        std::uint32_t type;
        std::string data;
        std::string expectedLine;
    };
    const Case cases[] = {
        {"all-types-regedit4.reg", win::kRegSz, std::string("a\\\"b\0", 5), "\"v\"=\"a\\\\\\\"b\""},
        {"all-types-regedit4.reg", win::kRegExpandSz, std::string("%A%\0", 4),
         "\"v\"=hex(2):25,41,25,00"},
        {"all-types-regedit4.reg", win::kRegSz, std::string("two\nlines\0", 10),
         "\"v\"=hex(1):74,77,6f,0a,6c,69,6e,65,73,00"},
        {"all-types-regedit4.reg", win::kRegDword, std::string("\x01\x02", 2),
         "\"v\"=hex(4):01,02"},
        {"all-types-v5-utf16.reg", win::kRegExpandSz, std::string("%A%\0", 4),
         "\"v\"=hex(2):25,00,41,00,25,00,00,00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expectedLine);
        RegistryTree tree = RegistryTree::parse(dataFile(c.file));
        ASSERT_EQ(tree.apply({RegChange::Kind::SetValue, kAti, "v", c.type, c.data}), 0);
        const RegistryTree again = RegistryTree::parse(tree.serialize());
        const Value v = valueOf(again, kAti, "v");
        EXPECT_EQ(v.type, c.type);
        EXPECT_EQ(v.data, c.data);
        if (tree.version() == RegFileVersion::Regedit4) {
            EXPECT_NE(tree.serialize().find(c.expectedLine + "\r\n"), std::string::npos);
        }
    }
}

TEST(RegistryTree, Regedit4RefusesTextOutsideItsCodePage) {
    RegistryTree tree = RegistryTree::parse(dataFile("all-types-regedit4.reg"));
    EXPECT_EQ(tree.apply({RegChange::Kind::SetValue, kAti, "v", win::kRegSz,
                          std::string("\xCE\xB1\0", 3)}),
              win::kErrorNoUnicodeTranslation);
    EXPECT_EQ(tree.apply({RegChange::Kind::CreateKey, std::string(kAti) + "\\\xCE\xB1", {}, 0, {}}),
              win::kErrorNoUnicodeTranslation);
    EXPECT_EQ(tree.serialize(), dataFile("all-types-regedit4.reg"));
}

TEST(RegistryTree, LongBinaryDataWrapsLikeRegedit) {
    RegistryTree tree;
    ASSERT_EQ(tree.apply(
                  {RegChange::Kind::SetValue, kAti, "b", win::kRegBinary, std::string(40, '\x11')}),
              0);
    const std::string text = tree.serialize();
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        EXPECT_LE(end - start, 80u) << text.substr(start, end - start);
        start = end + 2;
    }
    EXPECT_EQ(valueOf(RegistryTree::parse(text), kAti, "b").data, std::string(40, '\x11'));
}

TEST(RegistryTree, AppliesDeletionLinesWhenReading) {
    const RegistryTree tree = RegistryTree::parse(
        "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\A]\n\"keep\"=\"1\"\n\"drop\"=\"2\"\n"
        "[HKEY_LOCAL_MACHINE\\A\\B]\n\"x\"=\"1\"\n[HKEY_LOCAL_MACHINE\\A\\B\\C]\n"
        "[HKEY_LOCAL_MACHINE\\A]\n\"drop\"=-\n[-HKEY_LOCAL_MACHINE\\A\\B]\n\"ignored\"=\"1\"\n"
        "[-HKEY_LOCAL_MACHINE\\Never\\There]\n");
    EXPECT_TRUE(valueOf(tree, "HKEY_LOCAL_MACHINE\\A", "keep").found);
    EXPECT_FALSE(valueOf(tree, "HKEY_LOCAL_MACHINE\\A", "drop").found);
    EXPECT_EQ(tree.findKey("HKEY_LOCAL_MACHINE\\A\\B"), RegistryTree::kNoKey);
    EXPECT_EQ(tree.findKey("HKEY_LOCAL_MACHINE\\A\\B\\C"), RegistryTree::kNoKey);
    EXPECT_TRUE(tree.subkeys(tree.findKey("HKEY_LOCAL_MACHINE\\A")).empty());
    const std::string saved = tree.serialize();
    EXPECT_EQ(saved.find("drop"), std::string::npos);
    EXPECT_EQ(saved.find("\\B"), std::string::npos);
    EXPECT_EQ(saved, "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\A]\n\"keep\"=\"1\"\n");
}

TEST(RegistryTree, KeepsFileOrderAndSpellingAndPutsNewThingsLast) {
    RegistryTree tree = RegistryTree::parse(
        "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Soft\\Zeta]\r\n\"B\"=\"1\"\r\n\"a\"=\"2\"\r\n"
        "[HKEY_LOCAL_MACHINE\\Soft\\Alpha]\r\n\"b\"=\"3\"\r\n");
    const std::uint32_t soft = tree.findKey("hkey_local_machine\\SOFT");
    ASSERT_NE(soft, RegistryTree::kNoKey);
    ASSERT_EQ(tree.subkeys(soft).size(), 2u);
    EXPECT_EQ(tree.keyName(tree.subkeys(soft)[0]), "Zeta");
    EXPECT_EQ(tree.keyName(tree.subkeys(soft)[1]), "Alpha");
    // The later definition of a value wins but keeps the first one's place.
    ASSERT_EQ(tree.apply({RegChange::Kind::SetValue, "HKEY_LOCAL_MACHINE\\Soft\\zeta", "b",
                          win::kRegSz, std::string("9\0", 2)}),
              0);
    ASSERT_EQ(tree.apply({RegChange::Kind::CreateKey, "HKEY_LOCAL_MACHINE\\Soft\\Beta", {}, 0, {}}),
              0);
    EXPECT_EQ(tree.keyName(tree.subkeys(soft)[2]), "Beta");
    EXPECT_EQ(tree.serialize(),
              "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Soft\\Zeta]\r\n\"B\"=\"9\"\r\n\"a\"=\"2\"\r\n"
              "[HKEY_LOCAL_MACHINE\\Soft\\Alpha]\r\n\"b\"=\"3\"\r\n\r\n[HKEY_LOCAL_"
              "MACHINE\\Soft\\Beta]\r\n");
}

TEST(RegistryTree, ManyValuesInOneKeyStayFindable) {
    RegistryTree tree;
    for (int i = 0; i < 200; ++i) {
        ASSERT_EQ(tree.apply({RegChange::Kind::SetValue, kAti, "Value" + std::to_string(i),
                              win::kRegDword, dword(static_cast<std::uint32_t>(i))}),
                  0);
    }
    ASSERT_EQ(tree.apply({RegChange::Kind::DeleteValue, kAti, "value5", 0, {}}), 0);
    ASSERT_EQ(tree.apply({RegChange::Kind::SetValue, kAti, "VALUE150", win::kRegDword, dword(1)}),
              0);
    EXPECT_FALSE(valueOf(tree, kAti, "Value5").found);
    EXPECT_EQ(valueOf(tree, kAti, "value199").data, dword(199));
    EXPECT_EQ(valueOf(tree, kAti, "value150").data, dword(1));
    EXPECT_EQ(tree.valueCount(tree.findKey(kAti)), 199u);
}

TEST(RegistryTree, MalformedFilesGiveTheLineAndReason) {
    struct Case {
        const char* what;
        std::string text;
        int line;
        const char* reason;
    };
    const Case cases[] = {
        {"empty file", "", 1, "empty"},
        {"no header", "[HKEY_LOCAL_MACHINE\\A]\r\n", 1, "first line"},
        {"binary junk",
         std::string("\x7F"
                     "ELF\x02\x01\x01\0\0\0",
                     10),
         1, "first line"},
        {"unknown root", "REGEDIT4\r\n\r\n[HKEY_NOWHERE\\A]\r\n", 3,
         "unknown root key 'HKEY_NOWHERE'"},
        {"unclosed key", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A\r\n", 2, "closing ']'"},
        {"empty key name", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\\\A]\r\n", 2, "empty key name"},
        {"value before key", "REGEDIT4\r\n\"a\"=\"b\"\r\n", 2, "before the first"},
        {"truncated string", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"a\"=\"unfinished\n", 3,
         "closing quote"},
        {"truncated name", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"a=\"x\"\n", 3, "expected '='"},
        {"bad hex", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"a\"=hex:01,zz\n", 3, "bad hex byte"},
        {"three digit byte", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"a\"=hex:012\n", 3,
         "more than two digits"},
        {"empty byte", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"a\"=hex:01,,02\n", 3, "bad hex byte"},
        {"bad dword", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"a\"=dword:123456789\n", 3, "bad dword"},
        {"bad type", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"a\"=hex(x):00\n", 3, "type number"},
        {"continuation at end", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"a\"=hex:00,\\\n", 3,
         "past the end"},
        {"unknown data", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"a\"=quad:1\n", 3,
         "unrecognised value data"},
        {"stray line", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\nhello\n", 3, "unrecognised line"},
        {"bad utf-8",
         "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\A]\n\"a\"=\"\xFF\"\n", 4,
         "UTF-8"},
        {"too deep", "REGEDIT4\n[HKEY_LOCAL_MACHINE" + repeat("\\k", 513) + "]\n", 2,
         "deeper than 512 levels"},
        {"far too deep", "REGEDIT4\n\n[HKEY_LOCAL_MACHINE" + repeat("\\k", 40000) + "]\n", 3,
         "deeper than 512 levels"},
        {"deleting too deep", "REGEDIT4\n[-HKEY_LOCAL_MACHINE" + repeat("\\k", 600) + "]\n", 2,
         "deeper than 512 levels"},
        {"long key name", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\" + std::string(256, 'k') + "]\n", 2,
         "longer than 255 characters"},
        // The names a header shares with the one before it were checked with that one; what
        // follows them is checked as a whole path is.
        {"empty name below the last header",
         "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n[HKEY_LOCAL_MACHINE\\A\\\\B]\n", 3, "empty key name"},
        {"ending in a backslash", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n[HKEY_LOCAL_MACHINE\\A\\]\n",
         3, "empty key name"},
        {"root that only begins as the last", "REGEDIT4\n[HKEY_USERS\\A]\n[HKEY_USERSX\\A]\n", 3,
         "unknown root key 'HKEY_USERSX'"},
        {"too deep below the last header",
         "REGEDIT4\n[HKEY_LOCAL_MACHINE" + repeat("\\k", 512) + "]\n[HKEY_LOCAL_MACHINE" +
             repeat("\\k", 512) + "\\k]\n",
         3, "deeper than 512 levels"},
        {"long name below the last header",
         "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n[HKEY_LOCAL_MACHINE\\A\\" + std::string(256, 'k') +
             "]\n",
         3, "longer than 255 characters"},
        {"an empty name outranks a long one",
         "REGEDIT4\n[HKEY_LOCAL_MACHINE\\" + std::string(256, 'k') + "\\\\A]\n", 2,
         "empty key name"},
        {"odd utf-16",
         std::string("\xFF\xFE"
                     "R\0E\0G",
                     7),
         1, "UTF-16"},
    };
    // The lazy reader checks every line too, also of keys whose values it does not decode, and
    // also when lines reach over the pieces it reads the file in.
    const std::function<RegistryTree(std::string)> readers[] = {
        &RegistryTree::parse,
        &RegistryTree::parseWhole,
        [](std::string text) { return RegistryTree::parseLazily(std::move(text)); },
        [](std::string text) {
            return RegistryTree::parseLazily(std::move(text), {3, 1});
        },
    };
    for (const auto& read : readers) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            try {
                read(c.text);
                ADD_FAILURE() << "parsed";
            } catch (const RegFormatError& e) {
                EXPECT_EQ(e.line(), c.line);
                EXPECT_NE(e.reason().find(c.reason), std::string::npos) << e.reason();
            }
        }
    }
}

TEST(RegistryTree, KeysAtTheLimitsAreRead) {
    const std::string deep = "HKEY_LOCAL_MACHINE" + repeat("\\k", 512);
    // 255 Greek letters are 510 bytes but 255 characters.
    const std::string wide = "HKEY_LOCAL_MACHINE\\" + repeat("\xCE\xB1", 255);
    const RegistryTree tree = RegistryTree::parse("Windows Registry Editor Version 5.00\n[" + deep +
                                                  "]\n[" + wide + "]\n");
    EXPECT_NE(tree.findKey(deep), RegistryTree::kNoKey);
    EXPECT_NE(tree.findKey(wide), RegistryTree::kNoKey);
    EXPECT_NE(tree.findKey("HKEY_LOCAL_MACHINE" + repeat("\\K", 300)), RegistryTree::kNoKey);
    RegistryTree made;
    EXPECT_EQ(made.apply({RegChange::Kind::CreateKey, deep, {}, 0, {}}), 0);
    EXPECT_EQ(made.apply({RegChange::Kind::CreateKey, deep + "\\k", {}, 0, {}}), win::kErrorBadKey);
    EXPECT_EQ(made.apply({RegChange::Kind::SetValue, deep + "\\k", "v", win::kRegDword, dword(1)}),
              win::kErrorBadKey);
}

// A key that only a deeper header named is a key: it outlives the deletion of that deeper key,
// across saves, in its place among its siblings.
TEST(RegistryTree, KeysImpliedByADeletedKeyAreKeptBySaving) {
    const std::string file =
        "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\ATI Technologies\\Tmp\\Sub]\r\n"
        "\r\n[-HKEY_LOCAL_MACHINE\\Software\\ATI Technologies\\Tmp\\Sub]\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Zeta]\r\n\"z\"=\"1\"\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\Hardware\\Deep\\Er]\r\n";
    const std::string firstSave = RegistryTree::parse(file).serialize();
    const RegistryTree again = RegistryTree::parse(firstSave);
    for (const char* path :
         {"HKEY_LOCAL_MACHINE\\Software", "HKEY_LOCAL_MACHINE\\Software\\ATI Technologies",
          "HKEY_LOCAL_MACHINE\\Software\\ATI Technologies\\Tmp",
          "HKEY_LOCAL_MACHINE\\Hardware\\Deep\\Er"}) {
        EXPECT_NE(again.findKey(path), RegistryTree::kNoKey) << path;
    }
    EXPECT_EQ(again.findKey("HKEY_LOCAL_MACHINE\\Software\\ATI Technologies\\Tmp\\Sub"),
              RegistryTree::kNoKey);
    const auto& software = again.subkeys(again.findKey("HKEY_LOCAL_MACHINE\\Software"));
    ASSERT_EQ(software.size(), 2u);
    EXPECT_EQ(again.keyName(software[0]), "ATI Technologies");
    EXPECT_EQ(again.keyName(software[1]), "Zeta");
    EXPECT_EQ(again.serialize(), firstSave);
    // Keys that still have a deeper header get no header of their own.
    EXPECT_EQ(firstSave.find("[HKEY_LOCAL_MACHINE\\Hardware\\Deep]"), std::string::npos);
}

TEST(RegistryTree, BlankAndCommentLinesKeepTheirOwnLineEnds) {
    const std::string cases[] = {
        "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\A]\n\"a\"=\"1\"\n\r\n[HKEY_LOCAL_MACHINE\\B]\n",
        "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\A]\n  \r\n; note\r\n\"a\"=\"1\"\n\r",
        "REGEDIT4\r\n\n[HKEY_LOCAL_MACHINE\\A]\r\n\"a\"=\"1\"\r\n\n;end",
    };
    for (const std::string& file : cases) {
        SCOPED_TRACE(file);
        RegistryTree tree = RegistryTree::parse(file);
        EXPECT_EQ(tree.serialize(), file);
        ASSERT_EQ(tree.apply({RegChange::Kind::SetValue, "HKEY_LOCAL_MACHINE\\A", "a", win::kRegSz,
                              std::string("2\0", 2)}),
                  0);
        std::string expected = file;
        expected.replace(expected.find("\"a\"=\"1\""), 7, "\"a\"=\"2\"");
        const std::string saved = tree.serialize();
        EXPECT_EQ(saved, expected);
        EXPECT_EQ(RegistryTree::parse(saved).serialize(), saved);
    }
}

TEST(RegistryTree, MixedLineEndsAndBlanksStillParse) {
    const RegistryTree tree = RegistryTree::parse(
        "REGEDIT4\r\n\n[HKEY_LOCAL_MACHINE\\A]\n  \"a\" = \"1\"  \r\n\"b\"=hex:01,\\\r\n   02\n");
    EXPECT_EQ(valueOf(tree, "HKEY_LOCAL_MACHINE\\A", "a").data, std::string("1\0", 2));
    EXPECT_EQ(valueOf(tree, "HKEY_LOCAL_MACHINE\\A", "b").data, "\x01\x02");
}

// The first line's end, wherever it is, and the file's last line without one: each reader reads
// and saves these files alike.
TEST(RegistryTree, FirstAndLastLinesOfAnyLength) {
    const std::string longHeader = "REGEDIT4" + std::string(70000, ' ') + "\r\n";
    const std::string body = "\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"x\"=\"1\"";
    struct Case {
        std::string file;
        std::string saved;
    };
    const Case cases[] = {
        {longHeader + body + "\r\n", "REGEDIT4\r\n" + body + "\r\n"},
        {"REGEDIT4\r\n" + body, "REGEDIT4\r\n" + body + "\r\n"},
        {"REGEDIT4\r\n" + body + "\r", "REGEDIT4\r\n" + body + "\r\n"},
        {"\xFF\xFE" + codec::utf8ToUtf16le("Windows Registry Editor Version 5.00" +
                                           std::string(40000, '\t') + "\r\n" + body)
                          .value_or(""),
         "\xFF\xFE" +
             codec::utf8ToUtf16le("Windows Registry Editor Version 5.00\r\n" + body + "\r\n")
                 .value_or("")},
    };
    const std::function<RegistryTree(std::string)> readers[] = {
        &RegistryTree::parse,
        &RegistryTree::parseWhole,
        [](std::string text) {
            return RegistryTree::parseLazily(std::move(text), {5, 1});
        },
    };
    for (const Case& c : cases) {
        for (const auto& read : readers) {
            const RegistryTree tree = read(c.file);
            EXPECT_EQ(valueOf(tree, "HKEY_LOCAL_MACHINE\\A", "x").data, std::string("1\0", 2));
            EXPECT_EQ(tree.serialize(), c.saved);
        }
    }
    EXPECT_THROW(RegistryTree::parseLazily("REGEDIT4" + std::string(70000, 'x') + "\r\n" + body),
                 RegFormatError);
}

}  // namespace
}  // namespace corvane
