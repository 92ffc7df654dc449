#pragma once

#include <cstdint>
#include <string_view>

namespace corvane {

// The integer an INI value text stands for, as the INI class reads it: leading blanks (spaces
// and tabs), then either an optional sign and decimal digits (-2147483648 to 2147483647), or
// hexadecimal digits (at most FFFFFFFF, taken as 32 bits) after one of the prefixes "$", "0x",
// "0X", "x" or "X". False for anything else, the empty text and trailing characters included.
bool parseIniInteger(std::string_view text, std::int32_t& value);

}  // namespace corvane
