#include "platform/regfile/RegFileStore.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "TestSupport.h"
#include "fakes/LocalMachine.h"
#include "settings/Registry.h"

namespace corvane {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;
using win::kHKeyLocalMachine;

ino_t inodeOf(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_ino;
}

std::size_t tempFilesIn(const TempDir& dir) {
    std::size_t n = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        if (entry.path().filename().string().find(".tmp-") != std::string::npos) ++n;
    }
    return n;
}

TEST(RegFileStore, MissingFileIsAnEmptyRegistryCreatedAtTheFirstWrite) {
    TempDir dir;
    const std::string path = dir.file("sub/folder/registry.reg");
    test::LocalMachine<RegFileStore> store(path);
    TRegistry& reg = store.reg;
    EXPECT_FALSE(reg.OpenKey("\\Software", false));
    EXPECT_FALSE(std::filesystem::exists(path));
    ASSERT_TRUE(reg.OpenKey("\\Software\\Ostrelle\\Corvane", true));
    reg.WriteInteger("FirstRun", 0);
    EXPECT_EQ(
        readFile(path),
        "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software]\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Ostrelle]\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Ostrelle\\Corvane]\r\n\"FirstRun\"=dword:00000000\r\n");
}

TEST(RegFileStore, AnUpdateIsSavedOnceAtItsEnd) {
    TempDir dir;
    const std::string path = dir.file("registry.reg");
    writeFile(path, "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software]\r\n");
    test::LocalMachine<RegFileStore> store(path);
    TRegistry& reg = store.reg;
    const ino_t before = inodeOf(path);
    {
        RegistryUpdate update(store.store);
        ASSERT_TRUE(reg.OpenKey("\\Software\\A", true));
        for (int i = 0; i < 20; ++i)
            reg.WriteInteger("v" + std::to_string(i), i);
        EXPECT_EQ(inodeOf(path), before);  // nothing written yet
        update.commit();
    }
    EXPECT_NE(inodeOf(path), before);
    test::LocalMachine<RegFileStore> again(path);
    TRegistry& check = again.reg;
    ASSERT_TRUE(check.OpenKey("\\Software\\A", false));
    EXPECT_EQ(check.ReadInteger("v19"), 19);
}

TEST(RegFileStore, StoringWhatIsThereWritesNothing) {
    TempDir dir;
    const std::string path = dir.file("registry.reg");
    writeFile(path,
              "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software]\r\n\"Clock\"=dword:00000067\r\n"
              "\"Name\"=hex(1):52,00\r\n");
    const ino_t before = inodeOf(path);
    test::LocalMachine<RegFileStore> store(path);
    ASSERT_TRUE(store.reg.OpenKey("\\Software", true));
    store.reg.WriteInteger("clock", 103);
    store.reg.WriteString("Name", "R");  // the same text, also in another form
    RegistryUpdate(store.store).commit();
    EXPECT_EQ(inodeOf(path), before);
    store.reg.WriteInteger("Clock", 104);
    EXPECT_NE(inodeOf(path), before);
}

TEST(RegFileStore, KeepsTheFilesPermissionsAndRefusesAReadOnlyFile) {
    TempDir dir;
    const std::string path = dir.file("registry.reg");
    const std::string original = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software]\r\n";
    writeFile(path, original);
    ::chmod(path.c_str(), 0640);
    {
        test::LocalMachine<RegFileStore> store(path);
        TRegistry& reg = store.reg;
        ASSERT_TRUE(reg.OpenKey("\\Software", false));
        reg.WriteInteger("x", 1);
    }
    struct stat st {};
    ::stat(path.c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    ::chmod(path.c_str(), 0440);
    const std::string saved = readFile(path);
    test::LocalMachine<RegFileStore> store(path);
    TRegistry& reg = store.reg;
    ASSERT_TRUE(reg.OpenKey("\\Software", false));
    RegistryUpdate update(store.store);
    reg.WriteInteger("y", 2);
    try {
        update.commit();
        ADD_FAILURE() << "saved a read-only file";
    } catch (const ERegistryException& e) {
        EXPECT_NE(std::string(e.what()).find("read-only"), std::string::npos) << e.what();
    }
    EXPECT_EQ(readFile(path), saved);
}

TEST(RegFileStore, SavingMergesWhatAnotherWriterSavedMeanwhile) {
    TempDir dir;
    const std::string path = dir.file("registry.reg");
    test::LocalMachine<RegFileStore> first(path);
    test::LocalMachine<RegFileStore> second(path);  // read the same (empty) state
    TRegistry& a = first.reg;
    TRegistry& b = second.reg;
    ASSERT_TRUE(a.OpenKey("\\Software\\Ostrelle\\Corvane", true));
    ASSERT_TRUE(b.OpenKey("\\Software\\Ostrelle\\Corvane", true));
    {
        RegistryUpdate update(second.store);
        b.WriteInteger("FromB", 2);
        a.WriteInteger("FromA", 1);  // saved at once, while b's change is pending
        b.WriteInteger("CoreClk", 110);
        update.commit();
    }
    EXPECT_EQ(b.ReadInteger("FromA"), 1);
    test::LocalMachine<RegFileStore> check(path);
    TRegistry& c = check.reg;
    ASSERT_TRUE(c.OpenKey("\\Software\\Ostrelle\\Corvane", false));
    EXPECT_EQ(c.ReadInteger("FromA"), 1);
    EXPECT_EQ(c.ReadInteger("FromB"), 2);
    EXPECT_EQ(c.ReadInteger("CoreClk"), 110);
    // And a reader sees the other's later changes at its next operation.
    b.WriteInteger("Later", 3);
    EXPECT_EQ(a.ReadInteger("Later"), 3);
}

TEST(RegFileStore, MalformedFilesAreReportedAndNeverTouched) {
    struct Case {
        const char* what;
        std::string bytes;
        const char* message;
    };
    const Case cases[] = {
        {"zero bytes", "", "line 1: the file is empty"},
        {"junk", std::string("\x89PNG\r\n\x1A\n\0\0", 10), "line 1: not a registry file"},
        {"truncated line", "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"a\"=\"cut", "line 4:"},
        {"bad hex", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"a\"=hex:0g\r\n",
         "line 3: expected ','"},
        {"unknown root", "REGEDIT4\n[HKLM\\A]\n", "line 2: unknown root key 'HKLM'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const std::string path = dir.file("registry.reg");
        writeFile(path, c.bytes);
        try {
            RegFileStore store(path);
            ADD_FAILURE() << "opened";
        } catch (const RegistryFileError& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find(path), std::string::npos) << message;
            EXPECT_NE(message.find(c.message), std::string::npos) << message;
        }
        EXPECT_EQ(readFile(path), c.bytes);
    }
}

TEST(RegFileStore, AFileThatTurnsBadIsNotOverwritten) {
    TempDir dir;
    const std::string path = dir.file("registry.reg");
    test::LocalMachine<RegFileStore> store(path);
    TRegistry& reg = store.reg;
    ASSERT_TRUE(reg.OpenKey("\\Software", true));
    writeFile(path, "garbage\n");
    RegistryUpdate update(store.store);
    reg.WriteInteger("x", 1);
    EXPECT_THROW(update.commit(), ERegistryException);
    EXPECT_EQ(readFile(path), "garbage\n");
}

// A writer is killed at random moments; the file must always be the old or the new one.
TEST(RegFileStore, SurvivesBeingKilledWhileSaving) {
    TempDir dir;
    const std::string path = dir.file("registry.reg");
    {
        test::LocalMachine<RegFileStore> store(path);
        TRegistry& reg = store.reg;
        ASSERT_TRUE(reg.OpenKey("\\Software\\Crash", true));
        reg.WriteString("Ballast", std::string(200000, 'x'));  // makes each save take a while
    }
    std::mt19937 random(12345);
    int last = -1;
    for (int round = 0; round < 50; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            try {
                test::LocalMachine<RegFileStore> store(path);
                TRegistry& reg = store.reg;
                reg.OpenKey("\\Software\\Crash", true);
                int i = reg.ValueExists("A") ? reg.ReadInteger("A") : 0;
                while (true) {
                    ++i;
                    RegistryUpdate update(store.store);
                    reg.WriteInteger("A", i);
                    reg.WriteInteger("B", i);
                    update.commit();
                }
            } catch (...) {
            }
            ::_exit(1);
        }
        // Every tenth writer lives long enough to finish saves even on a busy disk (or under a
        // sanitizer), so that the rounds see the value advance; the others die early.
        const auto lifetime = 2000 + random() % 20000 + (round % 10 == 9 ? 300000 : 0);
        std::this_thread::sleep_for(std::chrono::microseconds(lifetime));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself in round " << round;

        test::LocalMachine<RegFileStore> store(path);  // throws if the file is torn
        TRegistry& reg = store.reg;
        ASSERT_TRUE(reg.OpenKey("\\Software\\Crash", false));
        EXPECT_EQ(reg.ReadString("Ballast"), std::string(200000, 'x'));
        if (reg.ValueExists("A")) {
            const int a = reg.ReadInteger("A");
            EXPECT_EQ(a, reg.ReadInteger("B")) << "round " << round;
            EXPECT_GE(a, last);
            last = a;
        }
    }
    EXPECT_GT(last, 0);
    // The next save clears what the killed writers left behind.
    {
        test::LocalMachine<RegFileStore> store(path);
        TRegistry& reg = store.reg;
        ASSERT_TRUE(reg.OpenKey("\\Software\\Crash", false));
        reg.WriteInteger("Done", 1);
    }
    EXPECT_EQ(tempFilesIn(dir), 0u);
}

TEST(RegFileStore, TwoProcessesWritingAtOnceLoseNothing) {
    TempDir dir;
    const std::string path = dir.file("registry.reg");
    constexpr int kPerProcess = 200;
    pid_t children[2] = {};
    for (int p = 0; p < 2; ++p) {
        children[p] = ::fork();
        ASSERT_GE(children[p], 0);
        if (children[p] == 0) {
            int code = 0;
            try {
                test::LocalMachine<RegFileStore> store(path);
                TRegistry& reg = store.reg;
                reg.OpenKey("\\Software\\Shared", true);
                for (int i = 0; i < kPerProcess; ++i) {
                    reg.WriteInteger("p" + std::to_string(p) + "_" + std::to_string(i), i);
                }
            } catch (...) {
                code = 1;
            }
            ::_exit(code);
        }
    }
    for (const pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    test::LocalMachine<RegFileStore> store(path);
    TRegistry& reg = store.reg;
    ASSERT_TRUE(reg.OpenKey("\\Software\\Shared", false));
    int found = 0;
    for (int p = 0; p < 2; ++p) {
        for (int i = 0; i < kPerProcess; ++i) {
            found +=
                ReadIntegerDef(reg, "p" + std::to_string(p) + "_" + std::to_string(i), -1) == i;
        }
    }
    EXPECT_EQ(found, 2 * kPerProcess);
}

// Names that would end their line, refused; names with the characters the file's syntax uses,
// written so that they read back.
TEST(RegFileStore, NamesThatWouldBreakTheFileAreRefusedTheOthersReadBack) {
    TempDir dir;
    const std::string path = dir.file("registry.reg");
    std::vector<std::string> keys = {"[x]", "x]", "]", "-x", " trail ", "@", "a=b", "\"q\""};
    std::vector<std::string> values = {"[x]", "x]", "a\\b", "\"q\"", " ", "-", "=", "@", ";c"};
    {
        RegFileStore store(path);
        win::RegHandle software = 0;
        ASSERT_EQ(store.createKey(kHKeyLocalMachine, "Software", software), 0);
        const std::uint8_t one[4] = {1, 0, 0, 0};
        for (const char* bad : {"a\nb", "a\r", "\n", "a\r\nb"}) {
            SCOPED_TRACE(bad);
            win::RegHandle key = 0;
            EXPECT_EQ(store.createKey(software, bad, key), win::kErrorInvalidName);
            EXPECT_EQ(store.createKey(software, std::string("ok\\") + bad, key),
                      win::kErrorInvalidName);
            EXPECT_EQ(store.setValue(software, bad, win::kRegDword, one, 4),
                      win::kErrorInvalidName);
        }
        for (const std::string& name : keys) {
            win::RegHandle key = 0;
            ASSERT_EQ(store.createKey(software, name, key), 0) << name;
            store.closeKey(key);
        }
        for (const std::string& name : values)
            ASSERT_EQ(store.setValue(software, name, win::kRegDword, one, 4), 0) << name;
    }
    test::LocalMachine<RegFileStore> again(path);  // throws when the file no longer parses
    ASSERT_TRUE(again.reg.OpenKey("\\Software", false));
    std::vector<std::string> names;
    again.reg.GetKeyNames(names);
    EXPECT_EQ(names, keys);
    for (const std::string& name : values)
        EXPECT_EQ(ReadIntegerDef(again.reg, name, 0), 1) << name;
}

TEST(RegFileStore, RoundTripsBothEncodingsThroughTheStore) {
    for (const char* name : {"all-types-regedit4.reg", "all-types-v5-utf16.reg"}) {
        SCOPED_TRACE(name);
        TempDir dir;
        const std::string path = dir.file("registry.reg");
        const std::string original = test::dataFile(name);
        writeFile(path, original);
        {
            test::LocalMachine<RegFileStore> store(path);
            TRegistry& reg = store.reg;
            ASSERT_TRUE(reg.OpenKey("\\Software\\ATI Technologies", false));
            reg.WriteString("Number", "temporary");
            reg.WriteInteger("Number", 42);  // back to what the file had
        }
        EXPECT_EQ(readFile(path), original);
    }
}

}  // namespace
}  // namespace corvane
