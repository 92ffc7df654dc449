#pragma once

#include <cstdint>
#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace corvane {

// What tells one state of a file from another: the file system and the file's number on it (a
// file replaced by a rename has another), its size, and its modification and change times. Equal
// identities mean the file was neither replaced nor written in between, unless that happened
// within one tick of the file system's clock.
struct FileIdentity {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t file = 0;
    std::uint64_t size = 0;
    std::int64_t modified = 0;  // in the system's own units
    std::int64_t changed = 0;

    bool operator==(const FileIdentity& other) const = default;
};

#ifndef _WIN32
// The identity of the file a stat call described.
FileIdentity identityOf(const struct stat& st);
#endif

// The identity of the file at path; exists is false when there is none (or it can't be examined).
FileIdentity fileIdentity(const std::string& path);

enum class FileRead { Ok, Missing, NotRegular, Failed };

// Reads a whole regular file, and the identity of the very file that was read (taken from the
// open file, so a replacement in between can't mix one file's bytes with another's identity).
// On Missing, NotRegular and Failed, bytes is empty and error says why in the system's words.
// bytes has room to spare for a sixteenth more, for a conversion of the text in place.
FileRead readFileWithIdentity(const std::string& path, std::string& bytes, FileIdentity& identity,
                              std::string& error);

}  // namespace corvane
