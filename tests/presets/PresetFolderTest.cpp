#include "presets/PresetFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "TestSupport.h"

namespace corvane {
namespace {

TEST(PresetFolder, ListsEveryEntryEndingInCvtByTheNameBeforeItsFirstDot) {
    test::TempDir dir;
    for (const char* file : {"Quality.cvt", "Alpha.Beta.cvt", "LOUD.CVT", ".hidden.cvt",
                             "notes.txt", "cvt", "x.cvt.bak"})
        test::writeFile(dir.file(file), "");
    std::filesystem::create_directory(dir.file("Folder.cvt"));
    std::vector<std::string> names = presetNames(dir.path().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"", "Alpha", "Folder", "LOUD", "Quality"}));
}

TEST(PresetFolder, AMissingFolderListsNothingAndIsCreated) {
    test::TempDir dir;
    const std::string folder = dir.file("Presets");
    EXPECT_TRUE(presetNames(folder).empty());
    preparePresetFolder(folder);
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    preparePresetFolder(dir.file("file/Presets"));  // can't be made: nothing reported
    test::writeFile(dir.file("file"), "");
    preparePresetFolder(dir.file("file/Presets"));
}

TEST(PresetFolder, WhereThePresetsAre) {
    test::TempDir dir;
    EXPECT_EQ(presetFolderFor(std::string("/machines/m"), "/usr/bin/corvane"),
              "/machines/m/Presets");
    EXPECT_EQ(presetFolderFor(std::nullopt, dir.file("corvane")), dir.file("Presets"));
    ::setenv("XDG_DATA_HOME", dir.file("data").c_str(), 1);
    EXPECT_EQ(presetFolderFor(std::nullopt, "/no/such/folder/corvane"),
              dir.file("data") + "/corvane/Presets");  // no writable folder beside the program
    ::unsetenv("XDG_DATA_HOME");
}

TEST(PresetFolder, PathsAndNames) {
    EXPECT_EQ(presetPath("/p/Presets", "Alpha"), "/p/Presets/Alpha.cvt");
    EXPECT_EQ(presetPath("/p/Presets", ""), "/p/Presets/.cvt");
    EXPECT_EQ(fileNamePart("/a/b/Default.cvt"), "Default.cvt");
    EXPECT_EQ(fileNamePart("C:\\x\\y.cvt"), "y.cvt");
    EXPECT_EQ(fileNamePart("name"), "name");
}

}  // namespace
}  // namespace corvane
