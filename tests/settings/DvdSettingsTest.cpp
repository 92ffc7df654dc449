#include "settings/DvdSettings.h"

#include <gtest/gtest.h>

#include "fakes/FailingStore.h"
#include "fakes/FakeControls.h"
#include "fakes/FakePlatform.h"
#include "fakes/RegistryValues.h"
#include "settings/DvdSettingsTable.h"

namespace corvane {
namespace {

using test::Value;

class DvdSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(values.put(kDvdAudioKey, "", Value{}));
        ASSERT_TRUE(values.put(kDvdVideoKey, "", Value{}));
    }
    bool read() {
        TRegistry reg(store);
        reg.SetRootKey(win::kHKeyLocalMachine);
        return ReadDVDRegistry(reg, controls, dialogs);
    }
    void write() {
        TRegistry reg(store);
        reg.SetRootKey(win::kHKeyLocalMachine);
        WriteDVDRegistry(reg, controls, dialogs);
    }

    test::FailingStore store;
    test::RegistryValues values{store};
    test::FakeControls controls;
    test::ScriptedDialogs dialogs;
};

TEST_F(DvdSettingsTest, ReadingEncodingsAndFallbacks) {
    struct Case {
        const char* id;
        Value stored;
        int shown;  // the box's state (0 or 1) or the list's selected entry
    };
    const Case cases[] = {
        {"LFE", Value{}, 0},
        {"LFE", std::int32_t{1}, 1},
        {"LFE", std::int32_t{2}, 0},  // only exactly 1 checks
        {"UseSurround", std::string("1"), 0},
        {"DialogNormalization", std::int32_t{1}, 1},
        {"HardwareOptimization", Value{}, 1},
        {"TripleBuffering", Value{}, 1},
        {"TripleBuffering", std::int32_t{0}, 0},
        {"CompressionModeCB", Value{}, 0},
        {"CompressionModeCB", std::int32_t{3}, 3},
        {"CompressionModeCB", std::int32_t{7}, -1},
        {"CompressionModeCB", std::int32_t{-1}, -1},
        {"SampleRate", Value{}, 1},
        {"SampleRate", std::int32_t{48000}, 2},
        {"SampleRate", std::int32_t{22050}, 0},
        {"SampleRate", std::int32_t{96000}, -1},
        {"SampleRate", std::int32_t{2}, -1},  // a rate, not an index
        {"AC3SPDIFOut", std::int32_t{3}, 3},
        {"AC3SPDIFOut", std::int32_t{4}, -1},  // the four-item form has no entry 4
        {"PerformanceClass", Value{}, 4},
        {"PerformanceClass", std::int32_t{8}, 8},
        {"PerformanceClass", std::int32_t{9}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.id) + " stored as " + std::to_string(c.stored.index()));
        controls = test::FakeControls();
        const Setting& s = dvdSetting(c.id);
        ASSERT_TRUE(values.put(s.key, s.valueName, c.stored));
        EXPECT_TRUE(read());
        const int shown =
            s.kind == ControlKind::CheckBox ? controls.checked(c.id) : controls.itemIndex(c.id);
        EXPECT_EQ(shown, c.shown);
        SetUp();  // the next case starts from the missing value
        TRegistry reg(store);
        reg.SetRootKey(win::kHKeyLocalMachine);
        reg.OpenKey(s.key, false);
        reg.DeleteValue(s.valueName);
    }
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(DvdSettingsTest, TheFiveItemFormHasAnEntryFour) {
    controls.itemCounts["AC3SPDIFOut"] = static_cast<int>(spdifFiveItemForm().size());
    ASSERT_TRUE(values.put(kDvdAudioKey, "AC3SPDIFAudioOut", std::int32_t{4}));
    read();
    EXPECT_EQ(controls.itemIndex("AC3SPDIFOut"), 4);
    EXPECT_STREQ(spdifFiveItemForm()[4], "SBLive!(Live!ware 2.0+)");
    EXPECT_TRUE(spdifHasFiveItems(32, 5653));
    EXPECT_FALSE(spdifHasFiveItems(31, 9999));  // each number compared by itself
    EXPECT_FALSE(spdifHasFiveItems(99, 5652));
}

TEST_F(DvdSettingsTest, WithoutThePlayerNothingIsReadOrCreated) {
    test::FailingStore empty;
    controls.boxes["LFE"] = true;
    TRegistry reg(empty);
    reg.SetRootKey(win::kHKeyLocalMachine);
    EXPECT_FALSE(ReadDVDRegistry(reg, controls, dialogs));
    WriteDVDRegistry(reg, controls, dialogs);
    EXPECT_TRUE(controls.checked("LFE"));
    EXPECT_EQ(empty.writeCount, 0);
    EXPECT_FALSE(test::RegistryValues(empty).keyExists(kDvdPlayerKey));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(DvdSettingsTest, MissingDecoderKeysAreSkippedAndNeverCreated) {
    test::FailingStore playerOnly;
    test::RegistryValues(playerOnly).put(kDvdPlayerKey, "", Value{});
    controls.boxes["HardwareOptimization"] = false;
    TRegistry reg(playerOnly);
    reg.SetRootKey(win::kHKeyLocalMachine);
    EXPECT_TRUE(ReadDVDRegistry(reg, controls, dialogs));
    EXPECT_FALSE(controls.checked("HardwareOptimization"));  // not read, so not the fallback
    WriteDVDRegistry(reg, controls, dialogs);
    EXPECT_EQ(playerOnly.writeCount, 0);
    EXPECT_FALSE(test::RegistryValues(playerOnly).keyExists(kDvdAudioKey));
}

TEST_F(DvdSettingsTest, WritingEncodingsInTheirOrder) {
    controls.boxes["LFE"] = true;
    controls.boxes["TripleBuffering"] = false;
    controls.boxes["HardwareOptimization"] = true;
    controls.lists["CompressionModeCB"] = 1;
    controls.lists["SampleRate"] = 2;
    controls.lists["AC3SPDIFOut"] = 3;
    controls.lists["PerformanceClass"] = 5;
    store.writes.clear();
    write();
    const std::pair<const char*, std::int32_t> expected[] = {
        {"UseLFE", 1},
        {"SurroundCompatible", 0},
        {"DialogNormalization", 0},
        {"CompressionMode", 1},
        {"SampleRate", 48000},
        {"AC3SPDIFAudioOut", 3},
        {"HardwareOptimization", 1},
        {"PerformanceClass", 5},
        {"TrippleBuffering", 0},
    };
    for (const auto& [name, value] : expected) {
        const char* key = std::string(name) == "HardwareOptimization" ||
                                  std::string(name) == "PerformanceClass" ||
                                  std::string(name) == "TrippleBuffering"
                              ? kDvdVideoKey
                              : kDvdAudioKey;
        EXPECT_EQ(values.get(key, name), Value{value}) << name;
    }
    EXPECT_EQ(store.writeCount, 9);
    EXPECT_TRUE(dialogs.shown.empty());
}

// Entries the window could not show keep what the player or another tool stored.
TEST_F(DvdSettingsTest, ListsWithoutASelectionKeepTheStoredValue) {
    const std::pair<const char*, std::int32_t> stored[] = {
        {"CompressionMode", 7}, {"SampleRate", 96000}, {"AC3SPDIFAudioOut", 4}};
    for (const auto& [name, value] : stored)
        ASSERT_TRUE(values.put(kDvdAudioKey, name, value));
    read();
    write();
    for (const auto& [name, value] : stored)
        EXPECT_EQ(values.get(kDvdAudioKey, name), Value{value}) << name;
}

TEST_F(DvdSettingsTest, AValueThatCantBeStoredIsReportedAsAWriteError) {
    store.unwritable = {"SampleRate"};
    controls.lists["SampleRate"] = 0;
    write();
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{
                                   "Error in WriteRegistry: Failed to set data for 'SampleRate'"});
    EXPECT_EQ(store.writes.count("AC3SPDIFAudioOut"), 0u);  // the ones after it are not written
    EXPECT_EQ(values.get(kDvdAudioKey, "UseLFE"), Value{std::int32_t{0}});
}

}  // namespace
}  // namespace corvane
