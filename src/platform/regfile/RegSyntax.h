#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/WinTypes.h"
#include "platform/files/TextCodec.h"

// The text of a registry export line by line: recognising and checking value data, and the
// escapes and line breaks regedit writes.
namespace corvane::regsyntax {

inline constexpr std::string_view kHeader4 = "REGEDIT4";
inline constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";

inline constexpr std::array<std::string_view, 7> kRoots = {
    "HKEY_CLASSES_ROOT",   "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",   "HKEY_USERS",
    "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA",     "HKEY_PERFORMANCE_DATA"};

inline bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

inline std::string_view trimRight(std::string_view s) {
    while (!s.empty() && (isBlank(s.back()) || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

inline std::string_view trimLeft(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    return s;
}

// The value of a hex digit, or -1.
inline int hexDigit(char c) {
    static constexpr auto kTable = [] {
        std::array<signed char, 256> table{};
        table.fill(-1);
        for (int d = 0; d < 10; ++d)
            table[static_cast<std::size_t>('0' + d)] = static_cast<signed char>(d);
        for (int d = 0; d < 6; ++d) {
            table[static_cast<std::size_t>('a' + d)] = static_cast<signed char>(10 + d);
            table[static_cast<std::size_t>('A' + d)] = static_cast<signed char>(10 + d);
        }
        return table;
    }();
    return kTable[static_cast<unsigned char>(c)];
}

inline bool isHexDigit(char c) {
    return hexDigit(c) >= 0;
}

// Where the quote that ends quoted text is, from just after the opening quote: a quote after an
// odd number of backslashes belongs to the text. npos when there is none.
inline std::size_t closingQuote(std::string_view s, std::size_t from) {
    for (std::size_t q = s.find('"', from); q != std::string_view::npos; q = s.find('"', q + 1)) {
        std::size_t slashes = 0;
        while (q - slashes > from && s[q - slashes - 1] == '\\')
            ++slashes;
        if (slashes % 2 == 0) return q;
    }
    return std::string_view::npos;
}

// Whether s begins with prefix, a lower-case ASCII word, in any letter case.
inline bool startsWithFolded(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const char c = s[i] >= 'A' && s[i] <= 'Z' ? static_cast<char>(s[i] + 32) : s[i];
        if (c != prefix[i]) return false;
    }
    return true;
}

// How many bytes two texts share from their beginnings, compared eight at a time: the key
// headers of an export mostly repeat the path of the header before them.
inline std::size_t commonPrefixLength(std::string_view a, std::string_view b) {
    const std::size_t limit = std::min(a.size(), b.size());
    std::size_t i = 0;
    for (; i + 8 <= limit; i += 8) {
        std::uint64_t x = 0;
        std::uint64_t y = 0;
        std::memcpy(&x, a.data() + i, 8);
        std::memcpy(&y, b.data() + i, 8);
        if (x != y) break;
    }
    while (i < limit && a[i] == b[i])
        ++i;
    return i;
}

inline bool isStringType(std::uint32_t type) {
    return type == win::kRegSz || type == win::kRegExpandSz || type == win::kRegMultiSz;
}

// Walks the byte list of hex data ("01,02,\<newline>  03"); calls put for every byte. Returns an
// error text, empty when the list is well formed.
template <typename Put>
std::string scanHexBytes(std::string_view s, Put&& put) {
    std::size_t i = 0;
    const std::size_t n = s.size();
    while (true) {
        // Most of the data is "xx," steps.
        while (n - i >= 3 && s[i + 2] == ',') {
            const int high = hexDigit(s[i]);
            const int low = hexDigit(s[i + 1]);
            if ((high | low) < 0) break;
            put(static_cast<char>(high * 16 + low));
            i += 3;
        }
        while (i < n && (isBlank(s[i]) || s[i] == '\r'))
            ++i;
        if (i >= n) break;
        const char c = s[i];
        if (c == '\\') {
            ++i;
            while (i < n && (isBlank(s[i]) || s[i] == '\r'))
                ++i;
            if (i < n && s[i] == '\n') {
                ++i;
                continue;
            }
            return "a '\\' in hex data must end its line";
        }
        if (c == '\n') {
            ++i;
            continue;
        }
        const int hi = hexDigit(c);
        if (hi < 0) return "bad hex byte in the value's data";
        int value = hi;
        ++i;
        if (i < n && hexDigit(s[i]) >= 0) {
            value = value * 16 + hexDigit(s[i]);
            ++i;
            if (i < n && hexDigit(s[i]) >= 0) return "hex byte with more than two digits";
        }
        put(static_cast<char>(value));
        while (i < n && isBlank(s[i]))
            ++i;
        if (i < n && s[i] == ',') {
            ++i;
            continue;
        }
        if (i < n && s[i] != '\\' && s[i] != '\r' && s[i] != '\n') {
            return "expected ',' between hex bytes";
        }
    }
    // A trailing comma is tolerated, as regedit tolerates it.
    return {};
}

// Checks one line of a hex byte list (without its line end), as scanHexBytes reads it across
// lines: continues says whether the line ends in the backslash that carries the list on to the
// next. Returns the error text, or nullptr when the line is well formed. Most of a registry
// export is such lines, so this runs first on the usual "xx," steps.
inline const char* checkHexLine(std::string_view s, bool& continues) {
    continues = false;
    const char* p = s.data();
    const char* const end = p + s.size();
    auto skipBlanks = [&] {
        while (p < end && (*p == ' ' || *p == '\t' || *p == '\r'))
            ++p;
    };
    while (true) {
        while (end - p >= 3 && p[2] == ',' && (hexDigit(p[0]) | hexDigit(p[1])) >= 0)
            p += 3;
        skipBlanks();
        if (p >= end) return nullptr;
        if (*p == '\\') {
            ++p;
            skipBlanks();
            if (p >= end) {
                continues = true;
                return nullptr;
            }
            return "a '\\' in hex data must end its line";
        }
        if (!isHexDigit(*p)) return "bad hex byte in the value's data";
        ++p;
        if (p < end && isHexDigit(*p)) {
            ++p;
            if (p < end && isHexDigit(*p)) return "hex byte with more than two digits";
        }
        while (p < end && isBlank(*p))
            ++p;
        if (p < end && *p == ',') {
            ++p;
            continue;
        }
        if (p < end && *p != '\\' && *p != '\r') return "expected ',' between hex bytes";
    }
}

// Checks the beginning of hex data ("hex:", "hex(7):"); returns the error text or nullptr, the
// value's type and where the byte list begins.
const char* checkHexHead(std::string_view data, std::uint32_t& type, std::size_t& listStart);

struct DataShape {
    bool isDelete = false;
    std::uint32_t type = 0;
    std::string error;
};

// Recognises the data part of a value line and checks it.
DataShape classifyData(std::string_view data);
// Recognises the data part of a value line that was checked before.
DataShape shapeOf(std::string_view data);

// The text between the quotes of a string value, its escapes resolved.
std::string unescapeQuoted(std::string_view inner);
// A name or text in quotes, with '\\' and '"' escaped.
std::string quote(std::string_view text);
// regedit breaks hex data after a comma so that lines stay under 80 columns.
std::string hexData(std::string_view prefix, std::size_t column, std::string_view bytes);
// Why UTF-16 text does not decode, and the line where it stops.
std::string reasonForBadUtf16(std::string_view bytes, int& line);

}  // namespace corvane::regsyntax
