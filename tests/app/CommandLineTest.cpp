#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(CommandLine, OurOptionsAreTakenOutBeforeArgumentOne) {
    struct Case {
        std::vector<std::string> argv;
        std::string argument1;
        std::string machine;
    };
    const Case cases[] = {
        {{"corvane", "--machine", "/m", "/SetClock"}, "/SetClock", "/m"},
        {{"corvane", "/setclock", "--machine=/m"}, "/setclock", "/m"},
        {{"corvane", "--demo", "/firstrun", "/setclock"}, "/firstrun", ""},
        {{"corvane"}, "", ""},
        {{"corvane", "--machine", "/m"}, "", "/m"},
    };
    for (const Case& c : cases) {
        const CommandLine line = parseCommandLine(c.argv);
        EXPECT_EQ(line.argument1(), c.argument1);
        EXPECT_EQ(line.machineDir.value_or(""), c.machine);
        EXPECT_TRUE(line.error.empty()) << line.error;
    }
}

TEST(CommandLine, MalformedOptionsAreReported) {
    EXPECT_EQ(parseCommandLine({"corvane", "--machine"}).error, "--machine needs a value");
    EXPECT_EQ(parseCommandLine({"corvane", "--machine="}).error, "--machine needs a value");
    EXPECT_FALSE(parseCommandLine({"corvane", "--demo", "--machine", "x"}).error.empty());
}

// Options that can't go together are refused before anything is opened.
TEST(CommandLine, OptionsThatDoNotGoTogether) {
    const std::vector<std::vector<std::string>> refused = {
        {"corvane", "--demo", "--registry", "r.reg"},
        {"corvane", "--apply-preset", "p.cvt", "--save-preset", "q.cvt"},
        {"corvane", "--dry-run"},
        {"corvane", "--save-preset", "p.cvt", "--screenshot", "x.png"},
        {"corvane", "--page", "DVD"},
        {"corvane", "--boot", "--demo"},
        {"corvane", "--user", "alice"},
        {"corvane", "--screenshot", "x.png", "/setclock"},  // the clocks would go with the copy
        {"corvane", "--screenshot", "x.png", "--page", "DVD", "/SetClock"},
    };
    for (const auto& argv : refused) {
        SCOPED_TRACE(argv.back());
        EXPECT_FALSE(parseCommandLine(argv).error.empty());
    }
    EXPECT_EQ(parseCommandLine({"corvane", "--screenshot", "x.png", "/firstrun"}).error, "");
}

TEST(CommandLine, HelpAndVersion) {
    EXPECT_TRUE(parseCommandLine({"corvane", "-h"}).help);
    EXPECT_TRUE(parseCommandLine({"corvane", "--version"}).version);
}

TEST(CommandLine, AsciiLowerLeavesOtherLettersAlone) {
    EXPECT_EQ(asciiLower("/SetCLOCK"), "/setclock");
    EXPECT_EQ(asciiLower("\xC3\x84"), "\xC3\x84");
}

}  // namespace
}  // namespace corvane
