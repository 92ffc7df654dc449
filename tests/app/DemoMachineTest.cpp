#include "app/DemoMachine.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "TestSupport.h"
#include "app/PlatformFactory.h"
#include "platform/inifile/IniFileProfile.h"
#include "platform/pe/PeVersionResources.h"
#include "platform/sim/SimMachine.h"
#include "platform/sim/SimSystemFacts.h"
#include "presets/IniFile.h"
#include "presets/PresetFile.h"
#include "presets/PresetTable.h"
#include "settings/SettingModel.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

class DemoMachineTest : public ::testing::Test {
protected:
    void TearDown() override {
        std::error_code ignored;
        if (!copy.empty()) fs::remove_all(copy, ignored);
    }
    std::string copy;
};

TEST_F(DemoMachineTest, TheCopyHoldsEveryFileWithItsFolders) {
    copy = makeDemoMachine();
    std::size_t files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(CORVANE_DEMO_MACHINE)) {
        if (!entry.is_regular_file()) continue;
        const fs::path relative = fs::relative(entry.path(), CORVANE_DEMO_MACHINE);
        EXPECT_EQ(test::readFile((fs::path(copy) / relative).string()),
                  test::readFile(entry.path().string()))
            << relative;
        ++files;
    }
    EXPECT_EQ(files, demoMachineFiles().size());
    EXPECT_TRUE(fs::is_regular_file(fs::path(copy) / "Windows" / "System" / "Cinmst32.dll"));
}

// The driver files as the window finds them: the system folder + "\" + the file name.
TEST_F(DemoMachineTest, ItsDriverFilesCarryVersions) {
    copy = makeDemoMachine();
    SimMachine machine(copy);
    SimSystemFacts facts(machine);
    EXPECT_EQ(facts.systemDirectory(), copy + "/Windows/System");
    PeVersionResources versions;
    auto product = [&](const std::string& name) {
        const std::string path = facts.systemDirectory() + "\\" + name;
        std::vector<std::uint8_t> block(versions.getFileVersionInfoSize(path, nullptr));
        const void* info = nullptr;
        std::uint32_t length = 0;
        VsFixedFileInfo fixed{};
        if (!block.empty() &&
            versions.getFileVersionInfo(path, 0, static_cast<std::uint32_t>(block.size()),
                                        block.data()) &&
            versions.verQueryValue(block.data(), "\\", &info, &length))
            std::memcpy(&fixed, info, sizeof fixed);
        return std::pair{fixed.dwProductVersionMS, fixed.dwProductVersionLS};
    };
    EXPECT_EQ(product("Ati3draa.dll"), std::pair(0x0004000Bu, 0x00000821u));  // 4.11.0.2081
    EXPECT_NE(product("Atio9xaa.dll").first, 0u);
    // The DVD player's engine is new enough for the five-item S/PDIF list.
    const auto [ms, ls] = product("Cinmst32.dll");
    EXPECT_GE(ls >> 16, 32u);
    EXPECT_GE(ls & 0xFFFF, 5653u);

    machine.set("Windows", "PlatformId", "2");
    EXPECT_EQ(facts.systemDirectory(), copy + "/Windows/System32");
}

// Each preset holds every key with a value the window can show: loading it and saving it again
// gives the same numbers. A value out of its control's range would come back changed.
TEST_F(DemoMachineTest, ItsPresetsHoldEveryKeyAndLoadAsWritten) {
    copy = makeDemoMachine();
    IniFileProfile profile;
    std::vector<std::vector<std::int32_t>> presets;
    for (const char* name : {"Quality", "Speed"}) {
        SCOPED_TRACE(name);
        const std::string path = copy + "/Presets/" + name + ".cvt";
        ASSERT_TRUE(fs::is_regular_file(path));
        SettingModel controls;
        EXPECT_EQ(ApplyPresetFile(profile, path, controls), 5);
        const std::string saved = copy + "/saved.cvt";
        fs::remove(saved);
        SavePresetFile(profile, saved, controls, false);
        TIniFile original(profile, path);
        TIniFile again(profile, saved);
        std::vector<std::int32_t> values;
        for (const PresetKey& key : presetKeys()) {
            const std::int32_t value = original.ReadInteger(key.section, key.id, -9999);
            EXPECT_NE(value, -9999) << key.id << " is missing";
            EXPECT_EQ(again.ReadInteger(key.section, key.id, -9999), value) << key.id;
            values.push_back(value);
        }
        presets.push_back(values);
    }
    EXPECT_NE(presets[0], presets[1]);
}

}  // namespace
}  // namespace corvane
