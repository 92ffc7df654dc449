// What `cmake --install` puts on a system, staged in a DESTDIR, and the installed program run
// from there.

#include <gtest/gtest.h>

#include <filesystem>

#include "ProcessRunner.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

class InstallProcess : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        stage = new test::TempDir;
        const std::string command = "DESTDIR=" + test::shellQuote(stage->path().string()) +
                                    " cmake --install " + test::shellQuote(CORVANE_BUILD_DIR) +
                                    " >/dev/null 2>&1";
        installed = std::system(command.c_str()) == 0;
    }
    static void TearDownTestSuite() {
        delete stage;
        stage = nullptr;
    }
    // A path below the install prefix ("usr/bin/corvane" is PREFIX/bin/corvane), as staged.
    static std::string staged(const std::string& path) {
        return stage->path().string() + prefixed(path);
    }
    // The path the installed system sees.
    static std::string prefixed(const std::string& path) {
        return std::string(CORVANE_INSTALL_PREFIX) + path.substr(path.find('/'));
    }

    static inline test::TempDir* stage = nullptr;
    static inline bool installed = false;
};

TEST_F(InstallProcess, EveryPartIsInstalled) {
    ASSERT_TRUE(installed);
    for (const char* path :
         {"usr/bin/corvane", "usr/libexec/corvane/corvane-clock-helper",
          "usr/share/man/man1/corvane.1", "usr/share/applications/org.ostrelle.corvane.desktop",
          "usr/share/applications/org.ostrelle.corvane.registry.desktop",
          "usr/share/metainfo/org.ostrelle.corvane.metainfo.xml",
          "usr/share/polkit-1/actions/org.ostrelle.corvane.policy",
          "usr/share/bash-completion/completions/corvane",
          "usr/lib/systemd/system/corvane-setclock@.service",
          "usr/lib/systemd/system/corvane-resume@.service",
          "usr/share/icons/hicolor/48x48/apps/org.ostrelle.corvane.png"}) {
        EXPECT_TRUE(fs::is_regular_file(staged(path))) << path;
    }
}

// The units run the installed program's boot path for the user of the instance, and the polkit
// policy names the installed helper.
TEST_F(InstallProcess, TheUnitsAndThePolicyNameTheInstalledPrograms) {
    ASSERT_TRUE(installed);
    for (const char* unit : {"corvane-setclock@.service", "corvane-resume@.service"}) {
        const std::string text =
            test::readFile(staged(std::string("usr/lib/systemd/system/") + unit));
        EXPECT_NE(text.find("\nExecStart=" + prefixed("usr/bin/corvane") + " --boot --user %i\n"),
                  std::string::npos)
            << unit;
    }
    EXPECT_NE(test::readFile(staged("usr/lib/systemd/system/corvane-resume@.service"))
                  .find("WantedBy=suspend.target hibernate.target"),
              std::string::npos);
    EXPECT_NE(test::readFile(staged("usr/share/polkit-1/actions/org.ostrelle.corvane.policy"))
                  .find(">" + prefixed("usr/libexec/corvane/corvane-clock-helper") + "<"),
              std::string::npos);
}

// The installed program runs from the stage: its help, a refused option, and the boot path over
// a machine folder with the clocks chosen.
TEST_F(InstallProcess, TheInstalledProgramRuns) {
    ASSERT_TRUE(installed);
    const std::string program = staged("usr/bin/corvane");
    EXPECT_EQ(test::runCommand({program, "--help"}), 0);
    EXPECT_EQ(test::runCommand({program, "--machnie", "x"}), 2);
    EXPECT_EQ(test::runCommand({staged("usr/libexec/corvane/corvane-clock-helper"), "1"}), 2);

    test::TempDir machine;
    test::writeFile(machine.file("hardware.ini"),
                    "[Rage128]\r\nIOBase=0xD000\r\nCoreClock=100\r\n");
    test::writeFile(
        machine.file("registry.reg"),
        "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\ATI Technologies]\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Ostrelle\\Corvane]\r\n"
        "\"CoreClk\"=dword:00000078\r\n\"MemClk\"=dword:00000082\r\n"
        "\"LoadOnStartup\"=dword:00000001\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\RunServices]"
        "\r\n\"Corvane\"=\"\\\"/usr/bin/corvane\\\" /setclock\"\r\n");
    EXPECT_EQ(test::runCommand({program, "--machine", machine.path().string(), "--boot"}), 0);
    EXPECT_NE(test::readFile(machine.file("hardware.ini")).find("CoreClock=120"),
              std::string::npos);
}

}  // namespace
}  // namespace corvane
