#include "presets/IniFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <random>

#include "TestSupport.h"
#include "fakes/ProfileModel.h"
#include "platform/inifile/IniFileProfile.h"

namespace corvane {
namespace {

using namespace std::string_literals;

class IniFileTest : public ::testing::Test {
protected:
    TIniFile ini(const std::string& path) { return TIniFile(profile, path); }

    test::TempDir dir;
    std::string path = dir.file("p.cvt");
    IniFileProfile profile;
};

TEST_F(IniFileTest, TheIntegerRule) {
    const std::pair<const char*, std::int32_t> texts[] = {
        {"1", 1},
        {"  -3", -3},
        {"\t+7", 7},
        {"$1F", 31},
        {"0x10", 16},
        {"0X10", 16},
        {"x10", 16},
        {"X0", 0},
        {"0x0", 0},
        {"007", 7},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"0xFFFFFFFF", -1},
        {"$80000000", -2147483647 - 1},
        // Not integers: the default (77).
        {"", 77},
        {"yes", 77},
        {"1x", 77},
        {"0x", 77},
        {"$", 77},
        {"-", 77},
        {"+-1", 77},
        {"-$10", 77},
        {"1.0", 77},
        {"1 2", 77},
        {"2147483648", 77},
        {"-2147483649", 77},
        {"0x100000000", 77},
        {"99999999999999999999", 77},
    };
    for (const auto& [text, expected] : texts) {
        test::writeFile(path, std::string("[S]\r\nK=") + text + "  \r\n");
        EXPECT_EQ(ini(path).ReadInteger("S", "K", 77), expected) << "\"" << text << "\"";
    }
    EXPECT_EQ(ini(path).ReadInteger("S", "missing", -5), -5);
}

TEST_F(IniFileTest, Flags) {
    const std::pair<const char*, bool> texts[] = {
        {"1", true}, {"2", true}, {"-1", true}, {"0", false}, {"0x0", false}, {"$0", false},
    };
    for (const auto& [text, expected] : texts) {
        test::writeFile(path, std::string("[S]\nK=") + text + "\n");
        EXPECT_EQ(ini(path).ReadBool("S", "K", !expected), expected) << text;
    }
    test::writeFile(path, "[S]\nK=yes\n");
    EXPECT_TRUE(ini(path).ReadBool("S", "K", true));
    EXPECT_FALSE(ini(path).ReadBool("S", "K", false));
}

TEST_F(IniFileTest, ReadsThroughTheBuffersOfTheClassLibrary) {
    test::writeFile(path, "[S]\nK=" + std::string(5000, 'a') + "\n");
    EXPECT_EQ(ini(path).ReadString("S", "K", ""), std::string(2047, 'a'));

    // 2000 names of 9 bytes each with their NULs: 1820 fit, the 1821st is cut.
    std::string file;
    for (int i = 0; i < 2000; ++i)
        file += "[Sect" + std::to_string(1000 + i) + "]\r\n";
    test::writeFile(path, file);
    std::vector<std::string> sections = {"stale"};
    ini(path).ReadSections(sections);
    ASSERT_EQ(sections.size(), 1821u);
    EXPECT_EQ(sections.front(), "Sect1000");
    EXPECT_EQ(sections[1819], "Sect2819");
    EXPECT_EQ(sections.back(), "Se");  // cut to fit the 16384 bytes

    std::filesystem::remove(path);
    ini(path).ReadSections(sections);
    EXPECT_TRUE(sections.empty());
}

TEST_F(IniFileTest, ARoundTripKeepsEverythingElse) {
    const std::string before =
        "; a preset from elsewhere\n[OpenGL]\nExtra=keep me\nSubpixelCB = 0\n\n[desktop]\n"
        "D3DTab=0";
    test::writeFile(path, before);
    TIniFile file = ini(path);
    file.WriteBool("Desktop", "D3DTab", true);
    file.WriteInteger("OpenGL", "SubpixelCB", 1);
    file.WriteInteger("OpenGL", "DetailLevel", -4);
    file.WriteString("DVD", "Name", "\"quoted\"");
    file.UpdateFile();
    EXPECT_EQ(test::readFile(path),
              "; a preset from elsewhere\n[OpenGL]\nExtra=keep me\nSubpixelCB = 1\n"
              "DetailLevel=-4\n\n[desktop]\nD3DTab=1\n[DVD]\nName=\"quoted\"\n");
    std::vector<std::string> sections;
    file.ReadSections(sections);
    EXPECT_EQ(sections, (std::vector<std::string>{"OpenGL", "desktop", "DVD"}));
    EXPECT_TRUE(file.ReadBool("DESKTOP", "d3dtab", false));
    EXPECT_EQ(file.ReadInteger("OpenGL", "DetailLevel", 0), -4);
    EXPECT_EQ(file.ReadString("DVD", "Name", ""), "quoted");
    EXPECT_EQ(file.FileName(), path);
}

TEST_F(IniFileTest, AFailedWriteRaisesAndKeepsWhatWasWritten) {
    TIniFile file = ini(path);
    file.WriteInteger("Desktop", "D3DTab", 1);
    ::chmod(path.c_str(), 0444);
    try {
        file.WriteInteger("Desktop", "OpenGLTab", 1);
        ADD_FAILURE() << "no error";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + path);
    }
    EXPECT_EQ(test::readFile(path), "[Desktop]\r\nD3DTab=1\r\n");
    EXPECT_EQ(file.ReadInteger("Desktop", "D3DTab", 0), 1);

    const std::string nowhere = dir.file("gone/p.cvt");
    TIniFile missingFolder = ini(nowhere);
    EXPECT_THROW(missingFolder.WriteBool("A", "B", true), EIniFileException);
    try {
        missingFolder.WriteBool("A", "B", true);
    } catch (const EIniFileException& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + nowhere);
    }
}

TEST_F(IniFileTest, TextsTheFileCannotHoldRaiseWithoutWriting) {
    test::writeFile(path, "[A]\nK=1\n");
    TIniFile file = ini(path);
    const std::tuple<std::string, std::string, std::string> unstorable[] = {
        {"A", "K", "1\r\n[Desktop]\r\nD3DTab=1"},
        {"A", "K", std::string("1\0002", 3)},
        {"A\nB", "K", "1"},
        {"A", "K=2", "1"},
        {"A", "", "1"},
    };
    for (const auto& [section, key, value] : unstorable) {
        EXPECT_THROW(file.WriteString(section, key, value), EIniFileException) << key;
    }
    EXPECT_EQ(test::readFile(path), "[A]\nK=1\n");
}

// What other people's presets hold: reads answer with the defaults where nothing valid stands,
// never crash, and never change the file.
TEST_F(IniFileTest, BadFilesOnlyGiveDefaults) {
    const std::string folder = dir.file("x.cvt");
    std::filesystem::create_directory(folder);
    const std::string huge = dir.file("huge.cvt");
    test::writeFile(huge, "[Desktop]\r\nD3DTab=1\r\n");
    std::filesystem::resize_file(huge, 50u * 1024 * 1024);
    const std::string nul = dir.file("nuls.cvt");  // "nul" names a device on Windows
    test::writeFile(nul, "[Desktop]\r\nD3DTab\0=1\r\nOpenGLTab=1\0\r\n"s);
    const std::string utf16 = dir.file("utf16.cvt");
    test::writeFile(utf16,
                    "\xFF\xFE[\0D\0]\0\r\0\n\0X\0=\0"
                    "1\0"s);
    const std::string gone = dir.file("gone.cvt");
    test::writeFile(gone, "[Desktop]\r\nD3DTab=1\r\n");
    std::filesystem::remove(gone);

    for (const std::string& p : {folder, huge, nul, gone}) {
        const TIniFile file = ini(p);
        std::vector<std::string> sections;
        file.ReadSections(sections);
        EXPECT_EQ(file.ReadInteger("Desktop", "D3DTab", 7), 7) << p;
        EXPECT_EQ(file.ReadInteger("Desktop", "OpenGLTab", 7), 7) << p;
        EXPECT_EQ(sections.size(), p == nul ? 1u : 0u) << p;
    }
    EXPECT_EQ(ini(utf16).ReadInteger("D", "X", 7), 1);
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(std::filesystem::file_size(huge), 50u * 1024 * 1024);
    EXPECT_FALSE(std::filesystem::exists(gone));
    EXPECT_THROW(ini(folder).WriteBool("Desktop", "D3DTab", true), EIniFileException);
    EXPECT_THROW(ini(huge).WriteBool("Desktop", "D3DTab", true), EIniFileException);
}

// Seeded random files and operations, through TIniFile over the back end and through the
// plain model: every read and every resulting file must agree.
TEST_F(IniFileTest, AgreesWithAPlainModel) {
    const std::vector<std::string> fragments = {
        "[Desktop]", "[desktop]",    "[ D3D ]", "[D3D]", "[]",     "[open",
        "D3DTab=1",  " d3dtab = 0 ", "K=\"q\"", "K='x'", "K=",     "=v",
        "; K=9",     "junk",         "",        "  ",    "K=0x1F", "K = -3 ",
        "[a]b]",     "k\tx=2",       "K\x1a=5",
    };
    const std::vector<std::string> endings = {"\r\n", "\n", "\r\r\n"};
    const std::vector<std::string> sections = {"Desktop", "DESKTOP", "D3D", " D3D ", "a]b", "New"};
    const std::vector<std::string> keys = {"D3DTab", "K",  "k", " K ", "k\tx",
                                           "Other",  ";K", "=", ""};
    const std::vector<std::string> values = {
        "1",   "0x10", " 7 ", "\"q\"", "'a'", "", "yes", "-2147483648", std::string(3000, 'z'),
        "a\nb"};
    std::mt19937 random(20240607);
    auto pick = [&random](const auto& list) { return list[random() % list.size()]; };

    for (int round = 0; round < 100; ++round) {
        test::ProfileModel model;
        std::filesystem::remove(path);
        if (random() % 4 != 0) {
            model.exists = true;
            const int lines = static_cast<int>(random() % 12);
            for (int i = 0; i < lines; ++i)
                model.text +=
                    pick(fragments) + (i + 1 < lines || random() % 2 ? pick(endings) : "");
            test::writeFile(path, model.text);
        }
        TIniFile file = ini(path);
        for (int op = 0; op < 20; ++op) {
            const std::string s = pick(sections);
            const std::string k = pick(keys);
            switch (random() % 4) {
                case 0: {
                    std::vector<std::string> got;
                    file.ReadSections(got);
                    ASSERT_EQ(got, model.sections()) << model.text;
                    break;
                }
                case 1:
                    ASSERT_EQ(file.ReadString(s, k, "'d' "), model.read(s, k, "'d' "))
                        << model.text << "|" << s << "|" << k;
                    break;
                default: {
                    const std::string v = pick(values);
                    bool raised = false;
                    try {
                        file.WriteString(s, k, v);
                    } catch (const EIniFileException&) {
                        raised = true;
                    }
                    ASSERT_EQ(!raised, model.write(s, k, v)) << s << "|" << k << "|" << v;
                    if (model.exists) {
                        ASSERT_EQ(test::readFile(path), model.text) << s << "|" << k;
                    }
                }
            }
        }
    }
}

}  // namespace
}  // namespace corvane
