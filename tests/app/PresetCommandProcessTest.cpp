// Presets without a window, as a user meets them: the built program over a copy of the demo
// machine.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <filesystem>
#include <fstream>

#include "ProcessRunner.h"
#include "app/DemoMachine.h"

namespace corvane {
namespace {

using test::runCorvane;

class PresetCommandProcess : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory(machineDir());
        for (const DemoFile& file : demoMachineFiles()) {
            std::filesystem::create_directories(
                std::filesystem::path(machine(file.name)).parent_path());
            std::ofstream(machine(file.name), std::ios::binary)
                .write(file.bytes.data(), static_cast<std::streamsize>(file.bytes.size()));
        }
        test::writeFile(preset(), "[D3D]\r\nAntiAlias=1\r\n[DVD]\r\nSampleRate=0\r\n");
    }
    std::string machineDir() const { return scratch.file("machine"); }
    std::string machine(const std::string& name) const { return machineDir() + "/" + name; }
    std::string preset() const { return scratch.file("speed.cvt"); }
    std::string registry() const { return test::readFile(machine("registry.reg")); }

    test::TempDir scratch;
};

TEST_F(PresetCommandProcess, ApplyingPrintsWhatChangedAndWritesIt) {
    const auto r = runCorvane(scratch, {"--machine", machineDir(), "--apply-preset", preset()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(
        r.out.find(
            "HKEY_LOCAL_MACHINE\\Software\\ATI Technologies\\Driver\\ddhal\\AntiAlias: \"0\" -> \"1\"\n"),
        std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\\AudioDecoder\\SampleRate: 48000 -> 22050\n"), std::string::npos);
    EXPECT_NE(registry().find("\"AntiAlias\"=\"1\""), std::string::npos);
    // Applied again, nothing changes and nothing is printed.
    const auto again = runCorvane(scratch, {"--machine", machineDir(), "--apply-preset", preset()});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_EQ(again.out, "");
}

// As Load in the window: a file that names no section marks nothing, so nothing is written.
TEST_F(PresetCommandProcess, APresetWithoutSectionsChangesNothing) {
    const std::string before = registry();
    for (const char* text : {"", "; only a comment\r\nAntiAlias=1\r\n"}) {
        test::writeFile(preset(), text);
        const auto r = runCorvane(scratch, {"--machine", machineDir(), "--apply-preset", preset()});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(registry(), before);
    }
}

TEST_F(PresetCommandProcess, ADryRunPrintsTheSameAndWritesNothing) {
    const std::string before = registry();
    const auto dry =
        runCorvane(scratch, {"--machine", machineDir(), "--apply-preset", preset(), "--dry-run"});
    EXPECT_EQ(dry.exitCode, 0) << dry.err;
    EXPECT_EQ(registry(), before);
    const auto real = runCorvane(scratch, {"--machine", machineDir(), "--apply-preset", preset()});
    EXPECT_EQ(real.out, dry.out);
}

TEST_F(PresetCommandProcess, SavingAPresetOfTheStoredSettingsLeavesTheRegistryAlone) {
    const std::string before = registry();
    const std::string out = scratch.file("stored.cvt");
    const auto r = runCorvane(scratch, {"--machine", machineDir(), "--save-preset", out});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(registry(), before);
    const std::string text = test::readFile(out);
    EXPECT_NE(text.find("ZBufferCB=1"), std::string::npos);   // the demo's "16, 24"
    EXPECT_NE(text.find("SampleRate=2"), std::string::npos);  // 48000
}

TEST_F(PresetCommandProcess, FailuresSayWhyAndLeaveTheRegistryAlone) {
    const std::string before = registry();
    std::filesystem::create_directory(scratch.file("folder.cvt"));
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {{"--apply-preset", scratch.file("missing.cvt")}, "does not exist"},
        {{"--apply-preset", scratch.file("folder.cvt")}, "is not a file"},
        {{"--save-preset", scratch.file("no/such/x.cvt")},
         "Unable to write to " + scratch.file("no/such/x.cvt")},
        {{"--dry-run"}, "--dry-run goes with --apply-preset"},
        {{"--apply-preset", preset(), "--save-preset", scratch.file("x.cvt")}, "together"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"--machine", machineDir()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const auto r = runCorvane(scratch, args);
        EXPECT_NE(r.exitCode, 0) << c.message;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(registry(), before);
    }
}

TEST_F(PresetCommandProcess, ARegistryThatCantBeSavedIsReportedAndKept) {
    const std::string before = registry();
    ::chmod(machine("registry.reg").c_str(), 0444);
    const auto r = runCorvane(scratch, {"--machine", machineDir(), "--apply-preset", preset()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("registry.reg"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(registry(), before);
}

}  // namespace
}  // namespace corvane
