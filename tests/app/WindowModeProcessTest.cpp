// The window mode as a user starts it: the built program over temporary machine folders. A
// screenshot stands for the window where a test needs one drawn.

#include <gtest/gtest.h>

#include <filesystem>

#include "ProcessRunner.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using test::runCorvane;

class WindowModeProcess : public ::testing::Test {
protected:
    void SetUp() override {
        fs::copy(CORVANE_DEMO_MACHINE, machineDir(), fs::copy_options::recursive);
        fs::create_directory(tmp());
        fs::create_directory(scratch.file("runtime"));
        fs::permissions(scratch.file("runtime"), fs::perms::owner_all);
    }
    std::string machineDir() const { return scratch.file("machine"); }
    std::string machine(const std::string& name) const { return machineDir() + "/" + name; }
    std::string tmp() const { return scratch.file("tmp"); }
    // Every file of the machine folder with its bytes, to see that a run left it as it was.
    std::map<std::string, std::string> machineFiles() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(machineDir())) {
            if (entry.is_regular_file())
                files[entry.path().string()] = test::readFile(entry.path().string());
        }
        return files;
    }
    std::vector<std::string> tmpEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(tmp()))
            names.push_back(entry.path().filename().string());
        return names;
    }
    test::ProcessResult run(const std::vector<std::string>& args,
                            std::vector<std::string> environment = {}) {
        environment.push_back("TMPDIR=" + tmp());
        environment.push_back("XDG_RUNTIME_DIR=" + scratch.file("runtime"));
        return runCorvane(scratch, args, environment);
    }

    test::TempDir scratch;
};

TEST_F(WindowModeProcess, UnknownOptionsAreErrorsThatTouchNothing) {
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const std::string dir = machineDir();
    const Case cases[] = {
        {{"--machnie", dir}, "unknown option '--machnie'"},
        {{"--machine", dir, "--bogus"}, "unknown option '--bogus'"},
        {{"--machine", dir, "/setclock", "-x"}, "unknown option '-x'"},
        {{"--machine", dir, "-"}, "unknown option '-'"},
        {{"-platform", "offscreen", "--machine", dir}, "unknown option '-platform'"},
        {{"--machine", dir, "--demo"}, "use only one of --demo, --machine, --registry and --user"},
        {{"--machine", dir, "--user", "root"},
         "use only one of --demo, --machine, --registry and --user"},
        {{"--user", "root"}, "--user goes with --boot"},
        {{"--machine"}, "--machine needs a value"},
        {{"--registry="}, "--registry needs a value"},
        {{"--machine", dir, "--dry-run"}, "--dry-run goes with --apply-preset"},
    };
    const auto before = machineFiles();
    for (const Case& c : cases) {
        const auto result = run(c.args, {"QT_QPA_PLATFORM=offscreen"});
        EXPECT_EQ(result.exitCode, 2) << test::commandLine(c.args);
        EXPECT_EQ(result.err.rfind("corvane: " + c.message + "\n\nUsage: corvane", 0), 0u)
            << result.err;
        EXPECT_EQ(result.out, "");
    }
    EXPECT_EQ(machineFiles(), before);
    EXPECT_TRUE(tmpEntries().empty());
}

TEST_F(WindowModeProcess, HelpNamesEveryOptionAndTheRegistryFile) {
    const auto result = run({"--help"}, {"XDG_DATA_HOME=/data/home"});
    EXPECT_EQ(result.exitCode, 0);
    for (const char* option :
         {"--machine DIR", "--registry FILE", "--demo", "--screenshot FILE", "--page NAME",
          "--apply-preset FILE", "--dry-run", "--save-preset FILE", "--boot", "--user NAME",
          "--help", "--version", "/setclock", "/firstrun", "Exit status"}) {
        EXPECT_NE(result.out.find(option), std::string::npos) << option;
    }
    EXPECT_NE(result.out.find("  /data/home/corvane/registry.reg\n"), std::string::npos)
        << result.out;
}

TEST_F(WindowModeProcess, WithoutADisplayItSaysSoAndEnds) {
    const auto before = machineFiles();
    // None at all, and one that is named but can't be opened.
    for (const std::vector<std::string>& environment : {std::vector<std::string>{},
                                                        {"DISPLAY=:97"},
                                                        {"WAYLAND_DISPLAY=corvane-none"},
                                                        {"QT_QPA_PLATFORM=xcb", "DISPLAY=:97"}}) {
        const auto result = run({"--machine", machineDir()}, environment);
        EXPECT_EQ(result.exitCode, 1) << test::commandLine(environment);
        EXPECT_EQ(result.err,
                  "corvane: no display: use --demo to draw the window into a PNG, or /setclock\n");
    }
    EXPECT_EQ(machineFiles(), before);
}

// The demo falls back to a picture, and its machine folder is gone when it ends.
TEST_F(WindowModeProcess, TheDemoWithoutADisplayDrawsAPictureAndLeavesNoTrace) {
    for (const std::vector<std::string>& environment :
         {std::vector<std::string>{}, {"DISPLAY=:97"}}) {
        for (const auto& entry : fs::directory_iterator(tmp()))
            fs::remove_all(entry.path());
        const auto result = run({"--demo"}, environment);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        const std::vector<std::string> left = tmpEntries();
        ASSERT_EQ(left.size(), 1u) << test::commandLine(left);
        EXPECT_EQ(left[0].rfind("corvane-demo-", 0), 0u);
        EXPECT_EQ(fs::path(left[0]).extension(), ".png");
        EXPECT_EQ(result.out, "No display was found, so the demo window was drawn into " + tmp() +
                                  "/" + left[0] + "\n");
    }
}

TEST_F(WindowModeProcess, AScreenshotLeavesTheMachineAsItWas) {
    const auto before = machineFiles();
    const std::string picture = scratch.file("advanced.png");
    const auto result =
        run({"--machine", machineDir(), "--page", "Advanced", "--screenshot", picture});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_GT(fs::file_size(picture), 1000u);
    EXPECT_EQ(machineFiles(), before);
    EXPECT_TRUE(tmpEntries().empty());

    // A lone registry file as well.
    const std::string registry = machine("registry.reg");
    const auto lone = run({"--registry", registry, "--screenshot", picture});
    EXPECT_EQ(lone.exitCode, 0) << lone.err;
    EXPECT_EQ(machineFiles(), before);
    EXPECT_TRUE(tmpEntries().empty());
}

// A read-only registry still shows the window; a save that fails is reported in a dialog, only
// when there was something to save, and the file stays as it was.
TEST_F(WindowModeProcess, AReadOnlyRegistryStillOpensTheWindow) {
    const std::string registry = machine("registry.reg");
    const std::string bytes = test::readFile(registry);
    fs::permissions(registry, fs::perms::owner_read);
    const auto result = run({"--machine", machineDir(), "--screenshot", scratch.file("w.png")});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(fs::exists(scratch.file("w.png")));
    EXPECT_NE(result.err.find("[Error] "), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("read-only"), std::string::npos) << result.err;
    EXPECT_EQ(test::readFile(registry), bytes);

    // Once the window has stored what it finds, a later start has nothing to save: no dialog.
    fs::permissions(registry, fs::perms::owner_read | fs::perms::owner_write);
    const std::string shown =
        "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen " +
        test::shellQuote("XDG_RUNTIME_DIR=" + scratch.file("runtime")) + " timeout 3 " +
        test::commandLine({CORVANE_BINARY, "--machine", machineDir()}) + " >/dev/null 2>&1";
    ASSERT_NE(std::system(shown.c_str()), -1);  // the window is ended by the timeout
    fs::permissions(registry, fs::perms::owner_read);
    const std::string stored = test::readFile(registry);
    const auto quiet = run({"--machine", machineDir(), "--screenshot", scratch.file("w.png")});
    EXPECT_EQ(quiet.exitCode, 0) << quiet.err;
    EXPECT_EQ(quiet.err.find("[Error]"), std::string::npos) << quiet.err;
    EXPECT_EQ(test::readFile(registry), stored);
}

TEST_F(WindowModeProcess, JunkInTheHardwareFileOpensNoWindow) {
    test::writeFile(machine("hardware.ini"), "[Rage128]\nIOBase=0xD000\nCoreClock=-5\n");
    const auto before = machineFiles();
    const auto result = run({"--machine", machineDir(), "--screenshot", scratch.file("w.png")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("hardware.ini line 3: CoreClock: -5 is out of range (1 to 255)"),
              std::string::npos)
        << result.err;
    EXPECT_FALSE(fs::exists(scratch.file("w.png")));
    EXPECT_EQ(machineFiles(), before);
}

}  // namespace
}  // namespace corvane
