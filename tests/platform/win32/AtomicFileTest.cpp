#include "platform/files/AtomicFile.h"

#include <gtest/gtest.h>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "TestSupport.h"

namespace corvane {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

std::vector<std::string> filesIn(const TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        names.push_back(entry.path().filename().string());
    return names;
}

TEST(AtomicFileOnWindows, ReplacesAFileWholeAndLeavesNothingBehind) {
    TempDir dir;
    const std::string path = dir.file("registry.reg");
    for (const bool durable : {true, false}) {
        EXPECT_EQ(writeFileAtomically(path, "first", durable), "");
        EXPECT_EQ(readFile(path), "first");
        const std::string large(3 << 20, 'x');  // more than one write call takes
        EXPECT_EQ(writeFileAtomically(path, large, durable), "");
        EXPECT_EQ(readFile(path), large);
        EXPECT_EQ(writeFileAtomically(path, "", durable), "");
        EXPECT_EQ(readFile(path), "");
    }
    EXPECT_EQ(filesIn(dir), std::vector<std::string>{"registry.reg"});
}

TEST(AtomicFileOnWindows, AFailedReplaceKeepsTheOldFileAndCleansUp) {
    TempDir dir;
    // A folder in the way: the rename must fail and the temporary file go.
    const std::string blocked = dir.file("blocked.reg");
    std::filesystem::create_directory(blocked);
    const std::string error = writeFileAtomically(blocked, "data");
    EXPECT_NE(error.find("cannot replace " + blocked), std::string::npos) << error;
    EXPECT_EQ(filesIn(dir), std::vector<std::string>{"blocked.reg"});

    // A missing folder: nothing can be created.
    const std::string nowhere = dir.file("no-such-folder\\registry.reg");
    EXPECT_NE(writeFileAtomically(nowhere, "data").find("cannot create"), std::string::npos);

    // A file another program holds open without sharing: the old contents stay.
    const std::string held = dir.file("held.reg");
    writeFile(held, "old");
    const HANDLE handle =
        CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    EXPECT_NE(writeFileAtomically(held, "new"), "");
    CloseHandle(handle);
    EXPECT_EQ(readFile(held), "old");
    EXPECT_EQ(filesIn(dir).size(), 2u);  // the folder and held.reg
}

TEST(AtomicFileOnWindows, ReadOnlyFilesAndFoldersAreRecognised) {
    TempDir dir;
    const std::string path = dir.file("registry.reg");
    EXPECT_TRUE(canWriteFile(path));  // missing, in a folder that exists
    writeFile(path, "x");
    EXPECT_TRUE(canWriteFile(path));
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(canWriteFile(path));
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_FALSE(canWriteFile(dir.file("missing\\registry.reg")));
    EXPECT_FALSE(canWriteFile(dir.path().string()));  // a folder is no file
}

TEST(AtomicFileOnWindows, StaleTemporaryFilesOfThatFileAloneAreRemoved) {
    TempDir dir;
    const std::string path = dir.file("registry.reg");
    writeFile(dir.file(".registry.reg.tmp-12-0"), "left by a writer that died");
    writeFile(dir.file(".registry.reg.tmp-99-7"), "and another");
    writeFile(dir.file(".other.reg.tmp-12-0"), "someone else's");
    writeFile(path, "kept");
    removeStaleTempFiles(path);
    std::vector<std::string> left = filesIn(dir);
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{".other.reg.tmp-12-0", "registry.reg"}));
}

// Writers in several threads of one process never share a temporary name, and the file is
// always one writer's whole text.
TEST(AtomicFileOnWindows, ConcurrentWritersEachLeaveAWholeFile) {
    TempDir dir;
    const std::string path = dir.file("registry.reg");
    std::vector<std::thread> writers;
    std::atomic<int> failures{0};
    for (int t = 0; t < 4; ++t) {
        writers.emplace_back([&, t] {
            const std::string text(10000 + t, static_cast<char>('a' + t));
            for (int i = 0; i < 25; ++i) {
                if (!writeFileAtomically(path, text, false).empty()) ++failures;
            }
        });
    }
    for (auto& writer : writers)
        writer.join();
    const std::string last = readFile(path);
    ASSERT_FALSE(last.empty());
    EXPECT_EQ(last, std::string(last.size(), last.front()));
    EXPECT_EQ(last.size(), 10000u + static_cast<unsigned>(last.front() - 'a'));
    EXPECT_EQ(filesIn(dir), std::vector<std::string>{"registry.reg"});
    // Replacing a file that another writer is replacing at that moment may be refused; the
    // file is then still whole, which is what matters.
    EXPECT_LT(failures.load(), 100);
}

}  // namespace
}  // namespace corvane
