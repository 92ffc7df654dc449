#include "platform/files/FolderLock.h"

#include <gtest/gtest.h>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "TestSupport.h"

namespace corvane {
namespace {

// Whether another opener (any process: sharing rules don't care which) gets at the lock file.
bool lockFileFree(const std::string& folder) {
    const HANDLE file =
        CreateFileA((folder + "\\.corvane.lock").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

TEST(Win32FolderLock, ShutsOthersOutUntilItIsReleased) {
    test::TempDir dir;
    const std::string folder = dir.path().string();
    std::string error;
    std::optional<FolderLock> lock = FolderLock::acquire(folder, error);
    ASSERT_TRUE(lock) << error;
    EXPECT_FALSE(lockFileFree(folder));
    FolderLock moved = std::move(*lock);  // the lock goes with the object
    lock.reset();
    EXPECT_FALSE(lockFileFree(folder));

    // A second writer waits for the first.
    std::atomic<bool> acquired{false};
    std::thread second([&] {
        std::string secondError;
        const std::optional<FolderLock> other = FolderLock::acquire(folder, secondError);
        acquired = other.has_value();
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_FALSE(acquired);
    { FolderLock released = std::move(moved); }
    second.join();
    EXPECT_TRUE(acquired);
    EXPECT_TRUE(lockFileFree(folder));
}

TEST(Win32FolderLock, WritersTakeTurns) {
    test::TempDir dir;
    const std::string folder = dir.path().string();
    int inside = 0;
    int most = 0;
    int rounds = 0;
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t) {
        writers.emplace_back([&] {
            for (int i = 0; i < 10; ++i) {
                std::string error;
                const std::optional<FolderLock> lock = FolderLock::acquire(folder, error);
                if (!lock) continue;
                most = std::max(most, ++inside);  // only ever touched under the lock
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                --inside;
                ++rounds;
            }
        });
    }
    for (std::thread& writer : writers)
        writer.join();
    EXPECT_EQ(rounds, 40);
    EXPECT_EQ(most, 1);
}

TEST(Win32FolderLock, AMissingFolderIsReportedNotWaitedFor) {
    test::TempDir dir;
    std::string error;
    EXPECT_FALSE(FolderLock::acquire(dir.file("missing"), error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace corvane
