#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/files/FileIdentity.h"

namespace corvane {

// The bytes of a registry export, for a tree that reads its values only when they are first used
// and saves the keys it did not change as the bytes they were. A file's bytes are not held in
// memory: a whole Windows 98 export is 5 to 15 MB, and the clock mode at boot reads a few values.
class RegSource {
public:
    virtual ~RegSource() = default;

    virtual std::size_t size() const = 0;
    // Appends the bytes [begin, end) to out; false when they can't be read as they were (the
    // file was written in place since it was opened).
    virtual bool read(std::size_t begin, std::size_t end, std::string& out) const = 0;
    // Hands over the bytes [begin, end) in order, in pieces of at most pieceSize bytes; false as
    // for read.
    virtual bool scan(std::size_t begin, std::size_t end, std::size_t pieceSize,
                      const std::function<void(std::string_view)>& each) const = 0;
};

std::shared_ptr<const RegSource> memorySource(std::string bytes);

// Opens a registry file as a source, with the identity of the very file opened. On this
// system's own file systems the file stays open and is read as it is needed; where an open file
// would keep others from replacing it (Windows), it is read whole. Missing, NotRegular and Failed
// leave source empty, with the reason in error.
FileRead openFileSource(const std::string& path, std::shared_ptr<const RegSource>& source,
                        FileIdentity& identity, std::string& error);

}  // namespace corvane
