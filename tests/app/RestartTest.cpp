#include "app/Restart.h"

#include <gtest/gtest.h>

#include "fakes/FakePlatform.h"

namespace corvane {
namespace {

class RecordingRestart : public SystemRestart {
public:
    bool exitWindowsEx(std::uint32_t flags) override {
        calls.push_back("exit " + std::to_string(flags));
        return exitWorks;
    }
    bool openProcessToken(std::uint32_t access, Handle& token) override {
        calls.push_back("open " + std::to_string(access));
        token = 7;
        return true;
    }
    bool lookupPrivilegeValue(const std::string& name, std::uint64_t& luid) override {
        calls.push_back("lookup " + name);
        luid = 19;
        return lookupWorks;
    }
    bool adjustTokenPrivileges(Handle token, const TokenPrivileges& p) override {
        calls.push_back("adjust " + std::to_string(token) + " " + std::to_string(p.privilegeCount) +
                        " " + std::to_string(p.luid) + " " + std::to_string(p.attributes));
        return true;
    }
    void closeHandle(Handle handle) override { calls.push_back("close " + std::to_string(handle)); }

    std::vector<std::string> calls;
    bool exitWorks = true;
    bool lookupWorks = true;
};

TEST(Restart, NoMeansNoRequest) {
    RecordingRestart system;
    test::ScriptedDialogs dialogs;
    RestartPrompt(system, false, dialogs);
    EXPECT_TRUE(system.calls.empty());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].caption, "Corvane");
    EXPECT_EQ(dialogs.shown[0].text, kRestartQuestion);
    EXPECT_EQ(dialogs.shown[0].icon, DialogIcon::Exclamation);
}

TEST(Restart, Windows98RestartsDirectly) {
    RecordingRestart system;
    test::ScriptedDialogs dialogs;
    dialogs.answers = {DialogResult::Yes};
    RestartPrompt(system, false, dialogs);
    EXPECT_EQ(system.calls, std::vector<std::string>{"exit 2"});
    system.exitWorks = false;
    dialogs.answers = {DialogResult::Yes};
    RestartPrompt(system, false, dialogs);
    EXPECT_EQ(dialogs.texts().back(), "Corvane was unable to restart your computer.");
}

TEST(Restart, WindowsNtHoldsThePrivilegeOnlyForTheRequest) {
    RecordingRestart system;
    system.exitWorks = false;
    test::ScriptedDialogs dialogs;
    dialogs.answers = {DialogResult::Yes};
    RestartPrompt(system, true, dialogs);
    EXPECT_EQ(system.calls,
              (std::vector<std::string>{
                  "open 40", "lookup SeShutdownPrivilege", "adjust 7 1 19 2", "close 7", "exit 2",
                  "open 40", "lookup SeShutdownPrivilege", "adjust 7 1 19 0", "close 7"}));
    EXPECT_EQ(dialogs.texts().back(), "Corvane was unable to restart your computer.");
}

TEST(Restart, AFailedLookupNeverRestarts) {
    RecordingRestart system;
    system.lookupWorks = false;
    test::ScriptedDialogs dialogs;
    dialogs.answers = {DialogResult::Yes};
    RestartPrompt(system, true, dialogs);
    EXPECT_EQ(std::count(system.calls.begin(), system.calls.end(), "exit 2"), 0);
    EXPECT_EQ(dialogs.texts().back(), "Corvane was unable to restart your computer.");
}

}  // namespace
}  // namespace corvane
