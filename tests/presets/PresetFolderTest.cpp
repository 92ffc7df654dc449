#include "presets/PresetFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "TestSupport.h"

namespace corvane {
namespace {

// The variable that names the user's data folder, and the folder separator.
#ifdef _WIN32
constexpr const char* kDataVariable = "APPDATA";
constexpr const char* kSep = "\\";
#else
constexpr const char* kDataVariable = "XDG_DATA_HOME";
constexpr const char* kSep = "/";
#endif

// Sets a variable of this process's environment for the object's lifetime.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value) : m_name(name) {
        if (const char* old = std::getenv(name)) m_old = old;
        set(value.c_str());
    }
    ~ScopedEnvironment() { set(m_old ? m_old->c_str() : nullptr); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    void set(const char* value) {
#ifdef _WIN32
        _putenv_s(m_name, value != nullptr ? value : "");  // the empty text removes it
#else
        if (value != nullptr) {
            ::setenv(m_name, value, 1);
        } else {
            ::unsetenv(m_name);
        }
#endif
    }

    const char* m_name;
    std::optional<std::string> m_old;
};

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
              std::string("/machines/m") + kSep + "Presets");
    EXPECT_EQ(presetFolderFor(std::nullopt, dir.file("corvane")), dir.file("Presets"));
    {
        const ScopedEnvironment data(kDataVariable, dir.file("data"));
        // No writable folder beside the program.
        EXPECT_EQ(presetFolderFor(std::nullopt, "/no/such/folder/corvane"),
                  dir.file("data") + kSep + "corvane" + kSep + "Presets");
    }
    // A relative folder is not taken (it would depend on where the program was started).
    const ScopedEnvironment relative(kDataVariable, "relative");
    EXPECT_EQ(presetFolderFor(std::nullopt, "/no/such/folder/corvane").find("relative"),
              std::string::npos);
}

TEST(PresetFolder, PathsAndNames) {
    EXPECT_EQ(presetPath("/p/Presets", "Alpha"), std::string("/p/Presets") + kSep + "Alpha.cvt");
    EXPECT_EQ(presetPath("/p/Presets", ""), std::string("/p/Presets") + kSep + ".cvt");
    EXPECT_EQ(fileNamePart("/a/b/Default.cvt"), "Default.cvt");
    EXPECT_EQ(fileNamePart("C:\\x\\y.cvt"), "y.cvt");
    EXPECT_EQ(fileNamePart("name"), "name");
}

}  // namespace
}  // namespace corvane
