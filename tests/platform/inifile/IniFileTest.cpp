#include "platform/inifile/IniFile.h"

#include <gtest/gtest.h>

#include "TestSupport.h"

namespace corvane {
namespace {

TEST(IniFile, IntegerTexts) {
    const std::pair<const char*, std::int32_t> good[] = {
        {"1", 1},
        {"  -3", -3},
        {"+7", 7},
        {"$1F", 31},
        {"0x10", 16},
        {"0X10", 16},
        {"x10", 16},
        {"X0", 0},
        {"0x0", 0},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"0xFFFFFFFF", -1},
    };
    for (const auto& [text, value] : good) {
        std::int32_t parsed = 99;
        EXPECT_TRUE(TIniFile::parseInteger(text, parsed)) << text;
        EXPECT_EQ(parsed, value) << text;
    }
    for (const char* text : {"", "yes", "1x", "0x", "$", "-", "2147483648", "0x100000000", "1 "}) {
        std::int32_t parsed = 0;
        EXPECT_FALSE(TIniFile::parseInteger(text, parsed)) << text;
    }
}

TEST(IniFile, ReadsLikeTheProfileFunctions) {
    test::TempDir dir;
    const std::string path = dir.file("p.cvt");
    test::writeFile(path,
                    "[Desktop]\r\nD3DTab = 1 \r\n; "
                    "comment=1\r\nd3dtab=0\r\n[DVD]\r\nLFE=yes\r\n[desktop]\r\nOpenGLTab=1\r\n");
    TIniFile ini(path);
    std::vector<std::string> sections;
    ini.ReadSections(sections);
    EXPECT_EQ(sections, (std::vector<std::string>{"Desktop", "DVD", "desktop"}));
    EXPECT_EQ(ini.ReadString("DESKTOP", "D3DTAB", "x"), "1");  // first occurrence, blanks removed
    EXPECT_EQ(ini.ReadInteger("Desktop", "OpenGLTab", 5), 5);  // in the second "desktop": not found
    EXPECT_EQ(ini.ReadInteger("DVD", "LFE", 7), 7);
    EXPECT_FALSE(ini.ReadBool("Desktop", "comment", false));
    TIniFile missing(dir.file("none.cvt"));
    missing.ReadSections(sections);
    EXPECT_TRUE(sections.empty());
}

TEST(IniFile, WritesInPlaceAndAppends) {
    test::TempDir dir;
    const std::string path = dir.file("p.cvt");
    test::writeFile(path, "[OpenGL]\r\nExtra=9\r\nSubpixelCB=1\r\n\r\n[Desktop]\r\nD3DTab=0\r\n");
    {
        TIniFile ini(path);
        ini.WriteBool("desktop", "d3dtab", true);
        ini.WriteInteger("OpenGL", "DetailLevel", 4);
        ini.WriteInteger("DVD", "SampleRate", -1);
        ini.UpdateFile();
    }
    EXPECT_EQ(test::readFile(path),
              "[OpenGL]\r\nExtra=9\r\nSubpixelCB=1\r\nDetailLevel=4\r\n\r\n[Desktop]\r\nD3DTab="
              "1\r\n[DVD]\r\nSampleRate=-1\r\n");
    TIniFile fresh(dir.file("new.cvt"));
    fresh.WriteInteger("A", "b", 1);
    fresh.UpdateFile();
    EXPECT_EQ(test::readFile(dir.file("new.cvt")), "[A]\r\nb=1\r\n");
}

TEST(IniFile, UnwritableFilesRaise) {
    try {
        TIniFile ini("/nonexistent-folder/p.cvt");
        ini.WriteInteger("A", "b", 1);
        ADD_FAILURE() << "no error";
    } catch (const EIniFileException& e) {
        EXPECT_STREQ(e.what(), "Unable to write to /nonexistent-folder/p.cvt");
    }
}

}  // namespace
}  // namespace corvane
