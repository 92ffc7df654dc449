#include "platform/inifile/IniFileProfile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "TestSupport.h"

namespace corvane {
namespace {

using namespace std::string_literals;

// A null text where a case leaves the argument absent.
constexpr const char* kAbsent = nullptr;

class IniFileProfileTest : public ::testing::Test {
protected:
    std::string get(const char* section, const char* key, const char* fallback, std::uint32_t size,
                    std::uint32_t* result = nullptr) {
        std::string buffer(size, '\x7f');
        const std::uint32_t n = profile.getPrivateProfileString(section, key, fallback,
                                                                buffer.data(), size, path.c_str());
        if (result != nullptr) *result = n;
        // What a caller sees: the bytes up to the result and the NULs that end the text or list.
        std::size_t shown = std::min<std::size_t>(n, size);
        for (int nul = 0; nul < 2 && shown < size && buffer[shown] == '\0'; ++nul)
            ++shown;
        return buffer.substr(0, shown);
    }

    test::TempDir dir;
    std::string path = dir.file("p.ini");
    IniFileProfile profile;
};

struct ReadCase {
    const char* what;
    std::string file;
    const char* section;
    const char* key;
    const char* fallback;
    std::uint32_t size;
    std::string expected;  // the buffer up to and with its final NUL(s)
    std::uint32_t result;
};

TEST_F(IniFileProfileTest, ReadsAsTheProfileFunctionsDo) {
    const ReadCase cases[] = {
        {"names without regard to case", "[Desktop]\r\nD3DTab=1\r\n", "DESKTOP", "d3dtab", "x", 64,
         "1\0"s, 1},
        {"first key counts", "[S]\nK=1\nk=2\n", "S", "K", "x", 64, "1\0"s, 1},
        {"first section counts", "[S]\nA=1\n[s]\nB=2\n", "S", "B", "x", 64, "x\0"s, 1},
        {"blanks around names and value", "[S]\n  K \t=  v w \t\x1a\r\n", "S", "K", "x", 64,
         "v w\0"s, 3},
        {"names asked for are trimmed", "[S]\nK=1\n", " S\t", " K ", "x", 64, "1\0"s, 1},
        {"a header is taken as spelled", "[ S ]\nK=1\n", "S", "K", "x", 64, "x\0"s, 1},
        {"text after the header", "[S] old\nK=1", "S", "K", "x", 64, "1\0"s, 1},
        {"the last ] ends the name", "[a]b]\nK=1\n", "a]b", "K", "x", 64, "1\0"s, 1},
        {"double quotes removed", "[S]\nK=\"a b\"\n", "S", "K", "x", 64, "a b\0"s, 3},
        {"single quotes removed", "[S]\nK='a'\n", "S", "K", "x", 64, "a\0"s, 1},
        {"unmatched quotes kept", "[S]\nK=\"a'\n", "S", "K", "x", 64, "\"a'\0"s, 3},
        {"a lone quote kept", "[S]\nK=\"\n", "S", "K", "x", 64, "\"\0"s, 1},
        {"a line without = is no key", "[S]\nK\nK=2\n", "S", "K", "x", 64, "2\0"s, 1},
        {"a key before any section", "K=1\n[S]\n", "S", "K", "x", 64, "x\0"s, 1},
        {"a comment is no key", "[S]\n;K=1\n", "S", ";K", "x", 64, "x\0"s, 1},
        {"a CR alone ends a line", "[S]\rK=1\rL=2", "S", "L", "x", 64, "2\0"s, 1},
        {"a value ends at a CR", "[S]\r\nK=1\r2\r\n", "S", "K", "x", 64, "1\0"s, 1},
        {"a NUL spoils its line only", "[S]\nK=1\0\nL=2\n"s, "S", "L", "x", 64, "2\0"s, 1},
        {"a NUL line is no key", "[S]\nK=1\0\n"s, "S", "K", "x", 64, "x\0"s, 1},
        {"an empty value", "[S]\nK=\n", "S", "K", "x", 64, "\0"s, 0},
        {"cut to the buffer", "[S]\nK=abcdef\n", "S", "K", "x", 4, "abc\0"s, 3},
        {"default: trailing spaces and quotes go", "", "S", "K", "'d'  ", 64, "d\0"s, 1},
        {"default null is empty", "", "S", "K", kAbsent, 64, "\0"s, 0},
        {"an empty key gives nothing", "[S]\n=1\n", "S", "", "x", 64, "\0"s, 0},
        {"section names in file order", "[A]\n[b]\n[]\nK=1\n[A]\n", kAbsent, kAbsent, "x", 64,
         "A\0b\0A\0\0"s, 6},
        {"no sections", "K=1\n", kAbsent, kAbsent, "x", 64, "\0"s, 0},
        {"a section list cut", "[abc]\n[defg]\n", kAbsent, kAbsent, "x", 8, "abc\0de\0\0"s, 6},
        {"a list that fills the buffer counts as cut", "[abcde]\n", kAbsent, kAbsent, "x", 7,
         "abcde\0\0"s, 5},
        {"a list with room to spare", "[abcde]\n", kAbsent, kAbsent, "x", 8, "abcde\0\0"s, 6},
        {"key names", "[S]\nA=1\n;c\njunk\nB=\n[T]\nC=1\n", "s", kAbsent, "x", 64, "A\0B\0\0"s, 4},
        {"key names of a missing section", "[S]\n", "T", kAbsent, "x", 64, "x\0"s, 1},
        {"UTF-8 with a byte order mark", "\xEF\xBB\xBF[S]\nK=\xC3\xA9\n", "S", "K", "x", 64,
         "\xC3\xA9\0"s, 2},
        {"UTF-16LE", "\xFF\xFE[\0S\0]\0\n\0K\0=\0\xE9\0"s, "S", "K", "x", 64, "\xC3\xA9\0"s, 2},
        {"UTF-16BE",
         "\xFE\xFF\0[\0S\0]\0\n\0K\0=\0"
         "7"s,
         "S", "K", "x", 64, "7\0"s, 1},
        {"UTF-16 without a mark is not understood",
         "[\0S\0]\0\n\0K\0=\0"
         "7\0"s,
         "S", "K", "x", 64, "x\0"s, 1},
        {"UTF-16 of odd length is not read",
         "\xFF\xFE[\0S\0]\0\n\0K\0=\0"
         "7"s,
         "S", "K", "x", 64, "x\0"s, 1},
    };
    for (const ReadCase& c : cases) {
        test::writeFile(path, c.file);
        std::uint32_t result = 0;
        EXPECT_EQ(get(c.section, c.key, c.fallback, c.size, &result), c.expected) << c.what;
        EXPECT_EQ(result, c.result) << c.what;
        EXPECT_EQ(test::readFile(path), c.file) << c.what << ": a read changed the file";
    }
}

TEST_F(IniFileProfileTest, AMissingFileReadsAsEmpty) {
    std::uint32_t result = 9;
    EXPECT_EQ(get("S", "K", "d", 64, &result), "d\0"s);
    EXPECT_EQ(get(kAbsent, kAbsent, "d", 64, &result), "\0"s);
    EXPECT_EQ(result, 0u);
    EXPECT_FALSE(std::filesystem::exists(path));
    char one = 'x';
    EXPECT_EQ(profile.getPrivateProfileString("S", "K", "d", &one, 0, path.c_str()), 0u);
    EXPECT_EQ(one, 'x');
}

struct WriteCase {
    const char* what;
    std::string before;  // "" with missing true: no file
    bool missing;
    const char* section;
    const char* key;
    const char* value;
    bool result;
    std::string after;  // "" with missing true: still no file
};

TEST_F(IniFileProfileTest, WritesAsTheProfileFunctionsDo) {
    const WriteCase cases[] = {
        {"creates the file", "", true, "S", "K", "1", true, "[S]\r\nK=1\r\n"},
        {"in place, spelling and blanks kept", "[s]\n  D3DTab = 0  \n", false, "S", "d3dtab", "1",
         true, "[s]\n  D3DTab = 1  \n"},
        {"new key after the section's last line", "[A]\nX=1\n; end of A\n\n[B]\n", false, "a", "Y",
         "2", true, "[A]\nX=1\n; end of A\nY=2\n\n[B]\n"},
        {"new key into an empty section", "[A]\n\n[B]\nZ=1\n", false, "A", "Y", "2", true,
         "[A]\nY=2\n\n[B]\nZ=1\n"},
        {"new section at the end", "[A]\nX=1\n", false, "B", "Y", "2", true,
         "[A]\nX=1\n[B]\nY=2\n"},
        {"the file's own line ending", "[A]\r\nX=1\n", false, "A", "Y", "2", true,
         "[A]\r\nX=1\nY=2\r\n"},
        {"no final line ending, new key", "[A]\nX=1", false, "A", "Y", "2", true,
         "[A]\nX=1\nY=2\n"},
        {"no final line ending, new section", "[A]\r\nX=1", false, "B", "Y", "2", true,
         "[A]\r\nX=1\r\n[B]\r\nY=2\r\n"},
        {"a header as the last line", "[A]", false, "A", "Y", "2", true, "[A]\r\nY=2\r\n"},
        {"lines not understood stay", "junk\r\n; c\r\n\r\n[A]\r\nnoequals\r\nX=1\r\n=v\r\n", false,
         "A", "X", "2", true, "junk\r\n; c\r\n\r\n[A]\r\nnoequals\r\nX=2\r\n=v\r\n"},
        {"a blank line with a stray CR stays", "[A]\nX=1\n\r\n[B]\n", false, "A", "Y", "2", true,
         "[A]\nX=1\nY=2\n\r\n[B]\n"},
        {"a file of CR line ends", "[A]\rX=1\r", false, "A", "Y", "2", true, "[A]\rX=1\rY=2\r"},
        {"a value before a CR alone", "[A]\rX=1\rY=5", false, "A", "X", "3", true, "[A]\rX=3\rY=5"},
        {"the first of two sections", "[A]\nX=1\n[a]\nY=1\n", false, "A", "Y", "2", true,
         "[A]\nX=1\nY=2\n[a]\nY=1\n"},
        {"blanks before the value dropped", "[A]\nX=1\n", false, "A", "X", "  5 ", true,
         "[A]\nX=5 \n"},
        {"an empty value", "[A]\nX=1\n", false, "A", "X", "", true, "[A]\nX=\n"},
        {"into an empty value", "[A]\nX=   \n", false, "A", "X", "4", true, "[A]\nX=4   \n"},
        {"the same value changes nothing", "[A]\nX = 1\n", false, "a", "x", "1", true,
         "[A]\nX = 1\n"},
        {"deletes a key", "[A]\nX=1\nY=2\n", false, "A", "x", kAbsent, true, "[A]\nY=2\n"},
        {"deletes a section", "[A]\nX=1\n[B]\nY=2\n", false, "a", kAbsent, kAbsent, true,
         "[B]\nY=2\n"},
        {"deleting what is missing", "", true, "A", "X", kAbsent, true, ""},
        {"UTF-16 stays UTF-16", "\xFF\xFE[\0S\0]\0\r\0\n\0"s, false, "S", "K", "\xC3\xA9", true,
         "\xFF\xFE[\0S\0]\0\r\0\n\0K\0=\0\xE9\0\r\0\n\0"s},
        {"a key with =", "[A]\n", false, "A", "a=b", "1", false, "[A]\n"},
        {"a key that would be a comment", "[A]\n", false, "A", ";a", "1", false, "[A]\n"},
        {"a key that would be a header", "[A]\n", false, "A", "[a]", "1", false, "[A]\n"},
        {"an empty key", "[A]\n", false, "A", " ", "1", false, "[A]\n"},
        {"an empty section", "[A]\n", false, "", "K", "1", false, "[A]\n"},
        {"a line feed in a value", "[A]\n", false, "A", "K", "1\n[B]", false, "[A]\n"},
        {"a carriage return in a value", "[A]\n", false, "A", "K", "1\r2", false, "[A]\n"},
        {"a line break in a section", "", true, "A\nB", "K", "1", false, ""},
        {"no section", "[A]\n", false, kAbsent, "K", "1", false, "[A]\n"},
    };
    for (const WriteCase& c : cases) {
        std::filesystem::remove(path);
        if (!c.missing) test::writeFile(path, c.before);
        EXPECT_EQ(profile.writePrivateProfileString(c.section, c.key, c.value, path.c_str()),
                  c.result)
            << c.what;
        if (c.missing && c.after.empty()) {
            EXPECT_FALSE(std::filesystem::exists(path)) << c.what;
        } else {
            EXPECT_EQ(test::readFile(path), c.after) << c.what;
        }
    }
}

TEST_F(IniFileProfileTest, TheFlushFormReportsFalseAsWindowsDoes) {
    ASSERT_TRUE(profile.writePrivateProfileString("S", "K", "1", path.c_str()));
    EXPECT_FALSE(profile.writePrivateProfileString(nullptr, nullptr, nullptr, path.c_str()));
    EXPECT_EQ(test::readFile(path), "[S]\r\nK=1\r\n");
}

TEST_F(IniFileProfileTest, SeesChangesMadeByOthers) {
    test::writeFile(path, "[S]\nK=1\n");
    EXPECT_EQ(get("S", "K", "x", 64), "1\0"s);
    test::writeFile(path, "[S]\nK=2\n");  // same size, within the same clock tick
    EXPECT_EQ(get("S", "K", "x", 64), "2\0"s);
    ASSERT_TRUE(profile.writePrivateProfileString("S", "L", "3", path.c_str()));
    test::writeFile(path, "[S]\nK=4\n");
    EXPECT_EQ(get("S", "L", "x", 64), "x\0"s);
    std::filesystem::remove(path);
    EXPECT_EQ(get("S", "K", "x", 64), "x\0"s);
}

TEST_F(IniFileProfileTest, FilesItCannotWriteStayAsTheyWere) {
    test::writeFile(path, "[S]\nK=1\n");
    ::chmod(path.c_str(), 0444);
    EXPECT_FALSE(profile.writePrivateProfileString("S", "K", "2", path.c_str()));
    EXPECT_FALSE(profile.writePrivateProfileString("S", "K", "1", path.c_str()));  // the same value
    EXPECT_EQ(test::readFile(path), "[S]\nK=1\n");
    EXPECT_EQ(get("S", "K", "x", 64), "1\0"s);  // what was read is not replaced by the failure

    const std::string nowhere = dir.file("missing/p.ini");
    EXPECT_FALSE(profile.writePrivateProfileString("S", "K", "2", nowhere.c_str()));
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing")));
}

// Files from elsewhere: nothing a read does may crash, hang, or change the file, and a write
// never turns a file it could not read into something else.
TEST_F(IniFileProfileTest, BadFilesAreNeitherReadNorReplaced) {
    struct Bad {
        const char* what;
        std::function<void(const std::string&)> make;
        std::string value;  // what reading [S] K gives
    };
    const std::string longValue(100000, 'v');
    const Bad bad[] = {
        {"a folder", [](const std::string& p) { std::filesystem::create_directory(p); }, "d"},
        {"a pipe", [](const std::string& p) { ::mkfifo(p.c_str(), 0644); }, "d"},
        {"over the size limit",
         [](const std::string& p) {
             test::writeFile(p, "[S]\nK=1\n");
             std::filesystem::resize_file(p, 50u * 1024 * 1024);
         },
         "d"},
        {"a line of 100,000 characters",
         [&](const std::string& p) { test::writeFile(p, "[S]\nK=" + longValue + "\n"); },
         std::string(63, 'v')},
        {"binary junk",
         [](const std::string& p) {
             std::string junk;
             for (int i = 0; i < 100000; ++i)
                 junk.push_back(static_cast<char>((i * 7919 + 13) % 256));
             test::writeFile(p, junk + "\n[S]\nK=1\n");
         },
         "1"},
    };
    for (const Bad& b : bad) {
        const std::string p = dir.file(std::string("bad-") + std::to_string(&b - bad));
        b.make(p);
        const auto before = std::filesystem::status(p).type();
        const auto size = std::filesystem::is_regular_file(p) ? std::filesystem::file_size(p) : 0;
        char buffer[64];
        const std::uint32_t n =
            profile.getPrivateProfileString("S", "K", "d", buffer, sizeof buffer, p.c_str());
        EXPECT_EQ(std::string(buffer, n), b.value) << b.what;
        profile.getPrivateProfileString(nullptr, nullptr, nullptr, buffer, sizeof buffer,
                                        p.c_str());
        const bool readable = b.value != "d";
        EXPECT_EQ(profile.writePrivateProfileString("S", "K", "2", p.c_str()), readable) << b.what;
        EXPECT_EQ(std::filesystem::status(p).type(), before) << b.what;
        if (!readable && before == std::filesystem::file_type::regular) {
            EXPECT_EQ(std::filesystem::file_size(p), size) << b.what;
        }
    }
}

}  // namespace
}  // namespace corvane
