#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace corvane {

// Replaces a file's contents so that a crash leaves either the old file or the new one: the
// bytes go to a temporary file beside it, are flushed to disk, and the temporary file is renamed
// over the old one, whose permissions it takes. Returns an empty text on success, else the reason.
// With durable false the data is not forced to disk first: the file is still whole, but a power
// cut may leave the old contents.
std::string writeFileAtomically(const std::string& path, const std::string& bytes,
                                bool durable = true);

// Hands the file's bytes to put piece by piece (put returns false when a piece could not be
// written); returns why the bytes could not all be made, else empty.
using FileFiller = std::function<std::string(const std::function<bool(std::string_view)>& put)>;

// The same, for bytes made as they are written, so that a large file needs no copy in memory.
std::string writeFileAtomically(const std::string& path, const FileFiller& fill,
                                bool durable = true);

// The folder a file path lies in ("." for a bare name).
std::string folderOf(const std::string& path);

// Removes temporary files that a writer of path left behind when it died. Only safe while no
// other writer of the same file is at work.
void removeStaleTempFiles(const std::string& path);

// True when the file may be written: it exists and is writable (a file without any write
// permission counts as read-only, also for root), or it is missing and its folder is writable.
bool canWriteFile(const std::string& path);

}  // namespace corvane
