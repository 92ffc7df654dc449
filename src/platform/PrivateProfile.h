#pragma once

#include <cstdint>
#include <string_view>

namespace corvane {

// The two kernel32 profile functions the program reads and writes INI files through, one to
// one: a Win32 back end calls GetPrivateProfileStringA and WritePrivateProfileStringA with the
// same arguments and hands their results back unchanged. Texts are NUL-terminated byte strings;
// a null pointer is an absent argument, as in the Win32 calls. fileName is a full path and is
// never null. Not safe for use from several threads at once.
//
// Names (section and key) are found without regard to case; blanks (space, tab, vertical tab,
// form feed, carriage return, Ctrl-Z) around a name that is asked for are ignored. Where a
// section occurs more than once, the first occurrence counts, and only its keys are found;
// where a key occurs more than once in it, the first counts.
class PrivateProfile {
public:
    virtual ~PrivateProfile() = default;

    // GetPrivateProfileStringA. Returns the number of bytes put into buffer before the final
    // NUL; never writes more than size bytes. With buffer null or size 0 nothing is copied and
    // the result is 0.
    //  - section and key given: the key's value, blanks around it removed and, when it is
    //    enclosed in a pair of matching quotes (' or "), without them. A missing file, section
    //    or key gives defaultValue instead (null is the empty text; trailing spaces removed,
    //    enclosing quotes removed). A text that does not fit is cut to size - 1 bytes; the
    //    result is then size - 1.
    //  - section null: the names of all sections, in file order, as spelled in the file, each
    //    ended by a NUL, the list ended by a second NUL. key and defaultValue are ignored. When
    //    the list does not fit, the last name is cut, followed by two NULs, and the result is
    //    size - 2.
    //  - key null: the names of the section's keys, in the same form; a section without keys,
    //    or none, gives defaultValue.
    //  - key empty: nothing; the buffer holds the empty text and the result is 0.
    virtual std::uint32_t getPrivateProfileString(const char* section, const char* key,
                                                  const char* defaultValue, char* buffer,
                                                  std::uint32_t size, const char* fileName) = 0;

    // WritePrivateProfileStringA. Returns true when the file holds the change.
    //  - section, key and value given: sets the key's value (blanks before it are dropped).
    //    Creates the file when it is missing, appends the section at the end of the file when
    //    it is missing, appends the key after the last line of its section when it is missing;
    //    an existing key is rewritten in place and keeps its position and spelling.
    //  - value null: deletes the key. key null (and value null): deletes the section with its
    //    keys. Deleting what is not there succeeds.
    //  - section, key and value all null: writes what is still held in memory for the file
    //    into it (Windows 95 and 98 keep writes in a cache until then). Windows returns false in
    //    this form whether the flush worked or not; so do the back ends, so callers can't read a
    //    failure from it.
    //  - A name or value that can't be written so that it reads back (see canStore) gives false
    //    and leaves the file as it was.
    virtual bool writePrivateProfileString(const char* section, const char* key, const char* value,
                                           const char* fileName) = 0;

    // Whether a section name, key name and value can be stored so that they read back as
    // written: no line break or NUL in any of them; section and key not empty once blanks are
    // trimmed; a key neither starting with "[" or ";" nor holding "=". The Windows functions
    // write such texts and break the file; callers check first.
    static bool canStore(std::string_view section, std::string_view key, std::string_view value);

    // The blanks the profile functions remove around names and values.
    static constexpr bool isBlank(char c) {
        return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\x1a';
    }
    static std::string_view trimBlanks(std::string_view text);
};

}  // namespace corvane
