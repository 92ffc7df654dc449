#include "platform/files/FileIdentity.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "platform/files/AtomicFile.h"

namespace corvane {
namespace {

FileRead read(const std::string& path, std::string& bytes, FileIdentity& identity) {
    std::string error;
    const FileRead result = readFileWithIdentity(path, bytes, identity, error);
    EXPECT_EQ(error.empty(), result == FileRead::Ok) << path << ": " << error;
    return result;
}

TEST(FileIdentity, ReadsTheWholeFileAndItsIdentity) {
    test::TempDir dir;
    const std::string path = dir.file("registry.reg");
    std::string content(200000, 'x');  // more than one read's worth
    content[5] = '\0';
    content.back() = '\xFF';
    test::writeFile(path, content);
    std::string bytes;
    FileIdentity identity;
    ASSERT_EQ(read(path, bytes, identity), FileRead::Ok);
    EXPECT_EQ(bytes, content);
    EXPECT_TRUE(identity.exists);
    EXPECT_EQ(identity.size, content.size());
    EXPECT_EQ(identity, fileIdentity(path));
    EXPECT_EQ(fileIdentity(path), fileIdentity(path));
}

TEST(FileIdentity, TellsAChangedOrReplacedFileFromTheOldOne) {
    test::TempDir dir;
    const std::string path = dir.file("hardware.ini");
    test::writeFile(path, "[Rage128]\r\n");
    const FileIdentity before = fileIdentity(path);

    // The same bytes, put in place by a rename: another file.
    ASSERT_EQ(writeFileAtomically(path, "[Rage128]\r\n"), "");
    const FileIdentity replaced = fileIdentity(path);
    EXPECT_NE(replaced, before);
    EXPECT_NE(replaced.file, before.file);

    // Written in place: another size.
    test::writeFile(path, "[Rage128]\r\nIOBase=0xD000\r\n");
    EXPECT_NE(fileIdentity(path), replaced);

    std::filesystem::remove(path);
    EXPECT_FALSE(fileIdentity(path).exists);
}

TEST(FileIdentity, WhatIsNoFileToReadIsSaidSo) {
    test::TempDir dir;
    struct Case {
        const char* what;
        std::string path;
        FileRead expected;
    };
    std::filesystem::create_directory(dir.file("folder.reg"));
    std::vector<Case> cases = {
        {"missing", dir.file("missing.reg"), FileRead::Missing},
        {"in a missing folder", dir.file("none/registry.reg"), FileRead::Missing},
        {"a folder", dir.file("folder.reg"), FileRead::NotRegular},
#ifdef _WIN32
        {"a device", "NUL", FileRead::NotRegular},
#else
        {"a device", "/dev/null", FileRead::NotRegular},
#endif
    };
#ifndef _WIN32
    // A pipe with no writer: found out without waiting for one.
    ASSERT_EQ(::mkfifo(dir.file("pipe.reg").c_str(), 0600), 0);
    cases.push_back({"a pipe", dir.file("pipe.reg"), FileRead::NotRegular});
#endif
    for (const Case& c : cases) {
        std::string bytes = "old";
        FileIdentity identity;
        identity.exists = true;
        std::string error;
        EXPECT_EQ(readFileWithIdentity(c.path, bytes, identity, error), c.expected) << c.what;
        EXPECT_EQ(bytes, "") << c.what;
        EXPECT_FALSE(identity.exists) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
    }
}

// A file made piece by piece replaces the old one only once every piece was made and written.
TEST(AtomicFile, ReplacesAFileOnlyWhenAllItsPiecesWereMade) {
    test::TempDir dir;
    const std::string path = dir.file("registry.reg");
    test::writeFile(path, "old");
    auto pieces = [](bool failAtTheEnd) {
        return [failAtTheEnd](const std::function<bool(std::string_view)>& put) {
            for (int i = 0; i < 100; ++i) {
                if (!put(std::string(1000, static_cast<char>('a' + i % 26))))
                    return std::string("put");
            }
            return failAtTheEnd ? std::string("the source changed") : std::string();
        };
    };
    EXPECT_EQ(writeFileAtomically(path, pieces(true)), "the source changed");
    EXPECT_EQ(test::readFile(path), "old");
    ASSERT_EQ(writeFileAtomically(path, pieces(false)), "");
    const std::string written = test::readFile(path);
    ASSERT_EQ(written.size(), 100000u);
    EXPECT_EQ(written.substr(99000, 3), "vvv");
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 1u);  // no temporary file left behind
}

}  // namespace
}  // namespace corvane
