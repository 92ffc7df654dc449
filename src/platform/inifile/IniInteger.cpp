#include "platform/inifile/IniInteger.h"

namespace corvane {

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::size_t hexPrefix(std::string_view t) {
    if (t[0] == '$' || t[0] == 'x' || t[0] == 'X') return 1;
    if (t.size() > 1 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) return 2;
    return 0;
}

}  // namespace

bool parseIniInteger(std::string_view text, std::int32_t& value) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    if (text.empty()) return false;
    if (const std::size_t prefix = hexPrefix(text); prefix > 0) {
        text.remove_prefix(prefix);
        if (text.empty()) return false;
        std::uint64_t v = 0;
        for (const char c : text) {
            const int d = hexDigit(c);
            if (d < 0) return false;
            v = v * 16 + static_cast<std::uint64_t>(d);
            if (v > 0xFFFFFFFFull) return false;
        }
        value = static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
        return true;
    }
    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return false;
    std::int64_t v = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
        if (v > 2147483648LL) return false;
    }
    if (negative) v = -v;
    if (v > 2147483647LL) return false;
    value = static_cast<std::int32_t>(v);
    return true;
}

}  // namespace corvane
