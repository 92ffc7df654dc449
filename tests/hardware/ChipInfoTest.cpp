#include "hardware/ChipInfo.h"

#include <gtest/gtest.h>

#include <map>

#include "fakes/FailingStore.h"
#include "fakes/FakePlatform.h"
#include "fakes/RegistryValues.h"

namespace corvane {
namespace {

using test::Value;

class FakeLabels : public ChipInfoLabels {
public:
    FakeLabels() {
        for (const char* name : {"BusTypeLbl", "BusMasteringLbl", "BiosDateLbl", "PartNumberLbl",
                                 "BiosVersionLbl", "MemSizeLbl", "MemTypeLbl", "PrimaryLbl",
                                 "AIWLbl", "TunerTypeLbl", "InChipTypeLbl", "OutChipTypeLbl"})
            texts[name] = "n/a";
    }
    std::string text(const std::string& label) const override { return texts.at(label); }
    void setText(const std::string& label, const std::string& text) override {
        texts.at(label) = text;
    }
    std::map<std::string, std::string> texts;
};

class ChipInfoTest : public ::testing::Test {
protected:
    void put(const std::string& instance, const std::string& section, const std::string& name,
             const Value& value) {
        ASSERT_TRUE(values.put(kCdsKey + instance + "\\0" + section, name, value));
    }
    ChipList chips() {
        TRegistry reg(store);
        reg.SetRootKey(win::kHKeyLocalMachine);
        return ReadChipIds(reg);
    }
    void readInfo(const std::string& instance) {
        TRegistry reg(store);
        reg.SetRootKey(win::kHKeyLocalMachine);
        ReadATIInfo(reg, kCdsKey + instance + "\\0", labels, dialogs);
    }

    test::FailingStore store;
    test::RegistryValues values{store};
    FakeLabels labels;
    test::ScriptedDialogs dialogs;
};

TEST(TrimBeforeParen, KeepsThePartBeforeTheFirstParenthesisTrimmed) {
    const std::pair<std::string, std::string> cases[] = {
        {"Rage 128 GL (RE)", "Rage 128 GL"},
        {"  AGP  (x)", "AGP"},
        {"Rage 128 Pro", "Rage 128 Pro"},  // shown whole rather than as nothing
        {"  padded  ", "padded"},
        {"", ""},
        {"(1)", ""},
        {"a (b) (c)", "a"},
        {"AGP\t(x)", "AGP"},
        {"\r\n Rage 128 \t", "Rage 128"},
        {std::string("SDR\0", 4), "SDR"},
    };
    for (const auto& [text, shown] : cases)
        EXPECT_EQ(TrimBeforeParen(text), shown) << text;
}

TEST_F(ChipInfoTest, InstancesWithoutAnAsicKeyAreSkippedAndTheListsStayAligned) {
    put("0000", "\\ASIC", "Chip ID", std::string("Rage 128 GL (RE)"));
    put("0001", "\\BIOS", "Date", std::string("1999"));  // no ASIC key
    put("0002", "\\ASIC", "Chip ID", std::string("Rage 128 Pro"));
    put("0003", "\\ASIC", "Chip ID", std::int32_t{5});  // not text
    const ChipList list = chips();
    EXPECT_EQ(list.chipIds, (std::vector<std::string>{"Rage 128 GL", "Rage 128 Pro", ""}));
    EXPECT_EQ(list.keyPaths, (std::vector<std::string>{std::string(kCdsKey) + "0000\\0",
                                                       std::string(kCdsKey) + "0002\\0",
                                                       std::string(kCdsKey) + "0003\\0"}));
    EXPECT_EQ(list.cdsKeyNames, (std::vector<std::string>{"0000", "0002", "0003"}));
}

TEST_F(ChipInfoTest, NoCdsKeyMeansNoAdapters) {
    // The key that happens to be current must not be taken for the CDS key.
    ASSERT_TRUE(values.put("\\Software\\ATI Technologies\\Desktop\\Other", "", Value{}));
    TRegistry reg(store);
    reg.SetRootKey(win::kHKeyLocalMachine);
    reg.OpenKey("\\Software\\ATI Technologies\\Desktop", false);
    EXPECT_TRUE(ReadChipIds(reg).chipIds.empty());
}

TEST_F(ChipInfoTest, EverySectionFillsItsLabelsOrShowsNotAvailable) {
    put("0000", "\\ASIC", "Bus Type", std::string("AGP 2x (3)"));
    put("0000", "\\ASIC", "Bus Mastering", std::string("Enabled (1)"));
    put("0000", "\\Memory", "Size", std::string("32 MB (33554432)"));
    put("0000", "\\Multi Media", "Tuner Type", std::string("Philips (a)"));
    put("0000", "\\Multi Media", "Is All-in-Wonder Family", Value{});
    put("0000", "\\PCI Config", "Primary", std::string("Yes"));
    put("0000", "\\Tuner", "Type", std::string("NTSC (b)"));
    put("0000", "\\Video Out", "Chip Type", std::string("ImpacTV (4)"));
    put("0000", "\\Video Out", "Standard", std::string("PAL (2)"));
    readInfo("0000");
    const std::map<std::string, std::string> expected = {
        {"BusTypeLbl", "AGP 2x"},
        {"BusMasteringLbl", "Enabled"},
        {"BiosDateLbl", "n/a"},
        {"PartNumberLbl", "n/a"},
        {"BiosVersionLbl", "n/a"},
        {"MemSizeLbl", "32 MB"},
        {"MemTypeLbl", ""},
        {"PrimaryLbl", "Yes"},
        {"AIWLbl", ""},
        {"TunerTypeLbl", "Philips - NTSC"},
        {"InChipTypeLbl", "n/a"},
        {"OutChipTypeLbl", "ImpacTV (PAL)"},
    };
    EXPECT_EQ(labels.texts, expected);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(ChipInfoTest, WithoutATunerKeyTheTunerLabelShowsNotAvailable) {
    put("0000", "\\Multi Media", "Tuner Type", std::string("Philips (a)"));
    readInfo("0000");
    EXPECT_EQ(labels.texts["TunerTypeLbl"], "n/a");
}

TEST_F(ChipInfoTest, AValueThatIsNotTextEndsTheReadingWithItsMessage) {
    put("0000", "\\ASIC", "Bus Type", std::string("PCI"));
    put("0000", "\\BIOS", "Date", std::string("1999 (x)"));
    put("0000", "\\BIOS", "Part Number", std::int32_t{7});
    labels.texts["MemSizeLbl"] = "earlier";
    readInfo("0000");
    EXPECT_EQ(dialogs.texts(),
              std::vector<std::string>{"Error in ReadATIInfo:Invalid data type for 'Part Number'"});
    EXPECT_EQ(labels.texts["BusTypeLbl"], "PCI");
    EXPECT_EQ(labels.texts["BiosDateLbl"], "1999");
    EXPECT_EQ(labels.texts["PartNumberLbl"], "n/a");  // not reached: kept
    EXPECT_EQ(labels.texts["MemSizeLbl"], "earlier");
}

}  // namespace
}  // namespace corvane
