#pragma once

#include <optional>
#include <string>
#include <string_view>

// Conversions between the encodings a Windows registry export can use and the UTF-8 the program
// works in.
namespace corvane::codec {

// Windows-1252 to UTF-8. Total: the five bytes the code page leaves undefined map to the C1
// control of the same number, as Windows itself maps them, so every byte string survives.
std::string cp1252ToUtf8(std::string_view bytes);
// The same, in the text's own buffer (which grows only when its capacity is too small).
void cp1252ToUtf8InPlace(std::string& text);
// UTF-8 to Windows-1252; nothing when a character has no place in the code page.
std::optional<std::string> utf8ToCp1252(std::string_view text);
// UTF-16LE to UTF-8; nothing for an odd byte count or an unpaired surrogate.
std::optional<std::string> utf16leToUtf8(std::string_view bytes);
// UTF-8 to UTF-16LE; nothing when the text is not valid UTF-8.
std::optional<std::string> utf8ToUtf16le(std::string_view text);

bool isAscii(std::string_view text);
// Offset of the first byte that does not start a valid UTF-8 sequence, or npos.
std::size_t firstInvalidUtf8(std::string_view text);

// The length of a UTF-8 text in UTF-16 units, as Windows counts the characters of a name.
std::size_t utf16Length(std::string_view text);

// Folds letters for comparisons without regard to case, as the Windows registry compares names:
// ASCII, and the letters of the Basic Multilingual Plane that have a capital (Latin, Greek,
// Cyrillic...), but not those beyond it, and no letter that becomes two (sharp s). Keeps the
// byte length, so a prefix of a folded text is the folded prefix.
std::string foldCase(std::string_view text);
void foldCaseInPlace(std::string& text);
bool equalsFolded(std::string_view a, std::string_view b);

}  // namespace corvane::codec
