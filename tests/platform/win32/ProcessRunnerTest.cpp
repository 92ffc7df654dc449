#include "ProcessRunner.h"

#include <gtest/gtest.h>
#include <shellapi.h>  // needs windows.h first

#include <string>
#include <vector>

namespace corvane {
namespace {

// The arguments a command line splits into, by the rules the C runtime follows too.
std::vector<std::string> splitCommandLine(const std::string& line) {
    std::wstring wide(line.begin(), line.end());  // ASCII only
    int count = 0;
    LPWSTR* parts = CommandLineToArgvW(wide.c_str(), &count);
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i) {
        std::wstring part(parts[i]);
        out.emplace_back(part.begin(), part.end());
    }
    LocalFree(parts);
    return out;
}

TEST(ProcessRunner, ArgumentsReachTheProgramUnchanged) {
    const std::vector<std::string> args = {
        "C:\\prog.exe",  "plain",      "with space", "",
        "a\"b",          "trailing\\", "two\\\\",    "\\\\server\\share\\",
        "back\\\"quote", "\\\\\"",     "/SetClock",  "--machine=C:\\m d\\x"};
    EXPECT_EQ(splitCommandLine(test::commandLine(args)), args);
}

TEST(ProcessRunner, RunsProgramsWithTheirOutputAndEnvironment) {
    test::TempDir scratch;
    const std::string cmd = test::findProgram("cmd");
    ASSERT_FALSE(cmd.empty());
    EXPECT_EQ(test::runCommand({cmd, "/c", "exit 3"}), 3);
    EXPECT_EQ(test::runCommand({scratch.file("no-such-program.exe")}), -1);
    EXPECT_EQ(test::outputLines({cmd, "/c", "echo one&echo two"}),
              (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(test::findProgram("no-such-program-here"), "");

    // The assignments are seen by the program, the display variables are not.
    SetEnvironmentVariableA("DISPLAY", ":0");
    const std::string block = test::environmentBlock({"CORVANE_PROBE=a b=c"});
    SetEnvironmentVariableA("DISPLAY", nullptr);
    const std::string out = scratch.file("out.txt");
    ASSERT_EQ(test::runProcess({cmd, "/c", "set"}, out, "", &block), 0);
    const std::string seen = test::readFile(out);
    EXPECT_NE(seen.find("CORVANE_PROBE=a b=c\r\n"), std::string::npos) << seen;
    EXPECT_EQ(seen.find("DISPLAY="), std::string::npos) << seen;
    EXPECT_NE(seen.find("PATH="), std::string::npos) << seen;  // the rest is inherited
}

}  // namespace
}  // namespace corvane
