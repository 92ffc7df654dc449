#include "platform/regfile/RegSource.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "platform/files/TextCodec.h"
#include "platform/regfile/RegFileStore.h"
#include "platform/regfile/RegistryTree.h"
#include "settings/Registry.h"

namespace corvane {
namespace {

// A file larger than the blocks and pieces it is read in, with Windows-1252 text in names and
// values.
std::string bigExport(int keys) {
    std::string text = "REGEDIT4\r\n";
    for (int k = 0; k < keys; ++k) {
        text +=
            "\r\n[HKEY_LOCAL_MACHINE\\Software\\Gr\xFC\xDF"
            "e\\Key" +
            std::to_string(k) + "]\r\n";
        text += "\"Name\"=\"Caf\xE9 " + std::to_string(k) + "\"\r\n";
        std::string extra;
        for (int b = 0; b < k % 7; ++b)
            extra += "aa,";
        text += "\"Data\"=hex:" + extra +
                "01,02,03,04,05,06,07,08,09,0a,0b,\\\r\n"
                "  0c,0d,0e,0f\r\n";
    }
    return text;
}

// The path of key k of bigExport, in UTF-8.
std::string bigKey(int k) {
    return codec::cp1252ToUtf8(
               "HKEY_LOCAL_MACHINE\\Software\\Gr\xFC\xDF"
               "e\\Key") +
           std::to_string(k);
}

std::shared_ptr<const RegSource> openSource(const std::string& path) {
    std::shared_ptr<const RegSource> source;
    FileIdentity identity;
    std::string error;
    EXPECT_EQ(openFileSource(path, source, identity, error), FileRead::Ok) << error;
    return source;
}

std::string dataOf(const RegistryTree& tree, const std::string& path, const std::string& name) {
    const std::uint32_t key = tree.findKey(path);
    std::uint32_t type = 0;
    const std::string* data = nullptr;
    if (key == RegistryTree::kNoKey || !tree.value(key, name, type, data)) return "<none>";
    return *data;
}

TEST(RegSource, ATreeOverAFileAnswersAsOneOverItsBytes) {
    test::TempDir dir;
    const std::string path = dir.file("registry.reg");
    const std::string bytes = bigExport(3000);
    ASSERT_GT(bytes.size(), 200000u);
    test::writeFile(path, bytes);
    const RegistryTree whole = RegistryTree::parse(bytes);
    const RegistryTree lazy = RegistryTree::parseLazily(openSource(path), {4096, 2});
    // Backwards, then forwards: the blocks read around a key serve its neighbours either way.
    std::vector<int> order;
    for (int k = 2999; k >= 0; k -= 7)
        order.push_back(k);
    for (int k = 0; k < 3000; k += 11)
        order.push_back(k);
    for (const int k : order) {
        const std::string key = bigKey(k);
        for (const char* name : {"Name", "Data"})
            ASSERT_EQ(dataOf(lazy, key, name), dataOf(whole, key, name)) << key << " " << name;
    }
    EXPECT_EQ(lazy.serialize(), bytes);
}

// An export of megabytes, whose index takes memory of its own, answers as a whole read, and
// goes on taking keys past what was made ready for it.
TEST(RegSource, AnExportOfMegabytesAnswersAsAWholeRead) {
    test::TempDir dir;
    const std::string path = dir.file("registry.reg");
    const std::string bytes = bigExport(24000);
    ASSERT_GT(bytes.size(), 3000000u);
    test::writeFile(path, bytes);
    RegistryTree lazy = RegistryTree::parseLazily(openSource(path));
    const RegistryTree whole = RegistryTree::parseWhole(bytes);
    const std::string parent = codec::cp1252ToUtf8(
        "HKEY_LOCAL_MACHINE\\Software\\Gr\xFC\xDF"
        "e");
    ASSERT_EQ(lazy.subkeys(lazy.findKey(parent)).size(), 24000u);
    for (int k = 0; k < 24000; k += 997) {
        const std::string key = bigKey(k);
        for (const char* name : {"Name", "Data"})
            ASSERT_EQ(dataOf(lazy, key, name), dataOf(whole, key, name)) << key << " " << name;
    }
    EXPECT_EQ(lazy.serialize(), bytes);
    for (int k = 0; k < 30000; ++k) {
        ASSERT_EQ(
            lazy.apply(
                {RegChange::Kind::CreateKey, parent + "\\New" + std::to_string(k), {}, 0, {}}),
            0);
    }
    EXPECT_EQ(lazy.subkeys(lazy.findKey(parent)).size(), 54000u);
    for (int k = 0; k < 30000; k += 101)
        EXPECT_NE(lazy.findKey(parent + "\\new" + std::to_string(k)), RegistryTree::kNoKey);
    EXPECT_EQ(dataOf(lazy, bigKey(23999), "Name"), dataOf(whole, bigKey(23999), "Name"));
}

TEST(RegSource, AFileWrittenInPlaceIsReadAgainBeforeItIsUsed) {
    test::TempDir dir;
    const std::string path = dir.file("registry.reg");
    test::writeFile(path, bigExport(50));
    RegFileStore store(path);
    TRegistry reg(store);
    reg.SetRootKey(win::kHKeyLocalMachine);
    ASSERT_TRUE(
        reg.OpenKey("\\Software\\Gr\xC3\xBC\xC3\x9F"
                    "e\\Key7",
                    false));
    EXPECT_EQ(reg.ReadString("Name"), "Caf\xC3\xA9 7");
    reg.CloseKey();

    // Another program rewrites the file where it lies, longer than before.
    std::string changed = bigExport(60);
    changed.replace(changed.find("Caf\xE9 7"), 6, "Other text");
    test::writeFile(path, changed);
    ASSERT_TRUE(
        reg.OpenKey("\\Software\\Gr\xC3\xBC\xC3\x9F"
                    "e\\Key7",
                    false));
    EXPECT_EQ(reg.ReadString("Name"), "Other text");
    reg.WriteString("Extra", "x");
    reg.CloseKey();
    const std::string saved = test::readFile(path);
    EXPECT_NE(saved.find("\"Name\"=\"Other text\""), std::string::npos);
    EXPECT_NE(saved.find("\"Extra\"=\"x\""), std::string::npos);
    EXPECT_NE(saved.find("Key59]"), std::string::npos);
}

#ifndef _WIN32
// Here the file stays open and is read as values are needed (on Windows it is read whole).
TEST(RegSource, AFileWrittenInPlaceUnderAnOpenTreeIsNeverTakenForTheOneRead) {
    test::TempDir dir;
    const std::string path = dir.file("registry.reg");
    test::writeFile(path, bigExport(3000));
    const RegistryTree tree = RegistryTree::parseLazily(openSource(path));
    test::writeFile(path, bigExport(3001));
    // A key far from the start, whose text was never read before.
    EXPECT_EQ(dataOf(tree, bigKey(2900), "Name"), "<none>");
    EXPECT_TRUE(tree.sourceLost());
    const std::string error = tree.write([](std::string_view) { return true; });
    EXPECT_NE(error.find("changed"), std::string::npos) << error;
}

// Inside an update the store does not look at the file again; a value it can't read back is an
// error then, not a missing value, and the next operation reads the file again.
TEST(RegSource, AValueThatCanNoLongerBeReadIsAnErrorNotMissing) {
    test::TempDir dir;
    const std::string path = dir.file("registry.reg");
    test::writeFile(path, bigExport(3000));
    RegFileStore store(path);
    store.beginUpdate();
    win::RegHandle key = 0;
    ASSERT_EQ(store.openKey(win::kHKeyLocalMachine,
                            "Software\\Gr\xC3\xBC\xC3\x9F"
                            "e\\Key2900",
                            key),
              win::kErrorSuccess);
    std::ofstream(path, std::ios::binary | std::ios::app) << "; edited\r\n";
    std::uint32_t size = 0;
    EXPECT_EQ(store.queryValue(key, "Name", nullptr, nullptr, &size), win::kErrorRegistryIoFailed);
    EXPECT_EQ(store.endUpdate(), "");
    EXPECT_EQ(store.queryValue(key, "Name", nullptr, nullptr, &size), win::kErrorSuccess);
    EXPECT_EQ(size, 11u);  // "Café 2900" in UTF-8, with its NUL
    store.closeKey(key);
}
#endif

}  // namespace
}  // namespace corvane
