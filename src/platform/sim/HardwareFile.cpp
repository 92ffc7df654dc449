#include "platform/sim/HardwareFile.h"

#include <cstdint>
#include <optional>
#include <set>
#include <vector>

#include "platform/PrivateProfile.h"
#include "platform/files/TextCodec.h"

namespace corvane {

namespace {

enum class Kind { Number, Version, Mode, ModeList, Text };

struct KeyRule {
    const char* section;
    const char* key;  // nullptr: any key of the section
    Kind kind;
    std::int64_t low = 0;
    std::int64_t high = 0;
};

constexpr std::int64_t kInt32Max = 0x7FFFFFFF;

// What the simulated machine reads, with the values it can make sense of.
constexpr KeyRule kRules[] = {
    {"Windows", "PlatformId", Kind::Number, 1, 2},
    {"Windows", "Version", Kind::Version},
    {"Windows", "Build", Kind::Number, 0, 0xFFFF},
    {"Windows", "WindowsDirectory", Kind::Text},
    {"Windows", "ComputerName", Kind::Text},
    {"Windows", "UserName", Kind::Text},
    {"Processor", "Type", Kind::Number, 0, 0xFFFF},
    {"Memory", "TotalKB", Kind::Number, 0, kInt32Max},
    {"Memory", "AvailableKB", Kind::Number, 0, kInt32Max},
    {"Memory", "SwapTotalKB", Kind::Number, 0, kInt32Max},
    {"Memory", "SwapFreeKB", Kind::Number, 0, kInt32Max},
    {"Environment", nullptr, Kind::Text},
    {"Rage128", "IOBase", Kind::Number, 0, 0xFFFF},
    {"Rage128", "CoreClock", Kind::Number, 1, 255},
    {"Rage128", "MemoryClock", Kind::Number, 1, 255},
    {"Rage128", "PortDriver", Kind::Number, 0, 2},
    {"Rage128", "PllIndex", Kind::Number, 0, 0xFF},
    {"HostBridge", "ApertureRegister", Kind::Number, 0, 0xFFFF},
    {"Display", "Modes", Kind::ModeList},
    {"Display", "Current", Kind::Mode},
    {"Display", "ModeTest", Kind::Number, 0, 1},
    {"Display", "ModeSets", Kind::Number, 0, kInt32Max},
};

std::string_view trim(std::string_view text) {
    // The blanks the INI reader trims, so that both see the same names and values.
    return PrivateProfile::trimBlanks(text);
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexDigit(char c) {
    if (isDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Decimal with an optional minus, or hexadecimal after "0x"; nothing for anything else or a
// number too long to mean anything here.
std::optional<std::int64_t> parseNumber(std::string_view text) {
    bool negative = false;
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    } else if (!text.empty() && text[0] == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 12) return std::nullopt;
    std::int64_t value = 0;
    for (const char c : text) {
        const int digit = base == 16 ? hexDigit(c) : (isDigit(c) ? c - '0' : -1);
        if (digit < 0) return std::nullopt;
        value = value * base + digit;
    }
    return negative ? -value : value;
}

bool isMode(std::string_view text) {
    // WIDTHxHEIGHTxBITS, each a decimal number.
    int parts = 0;
    while (true) {
        std::size_t digits = 0;
        while (digits < text.size() && isDigit(text[digits]))
            ++digits;
        if (digits == 0 || digits > 5) return false;
        const std::int64_t value = *parseNumber(text.substr(0, digits));
        if (value == 0 || (parts == 2 && value > 64)) return false;
        text.remove_prefix(digits);
        ++parts;
        if (parts == 3) return text.empty();
        if (text.empty() || text[0] != 'x') return false;
        text.remove_prefix(1);
    }
}

bool isModeList(std::string_view text) {
    bool any = false;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of(" \t");
        std::string_view item = text.substr(0, end);
        if (!item.empty() && item.back() == ',') item.remove_suffix(1);
        if (!item.empty()) {
            if (!isMode(item)) return false;
            any = true;
        }
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return any;
}

bool isVersion(std::string_view text) {
    const std::size_t dot = text.find('.');
    if (dot == std::string_view::npos || dot == 0 || dot > 3 || text.size() - dot - 1 == 0 ||
        text.size() - dot - 1 > 3) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i != dot && !isDigit(text[i])) return false;
    }
    return true;
}

// The fault of one value, or the empty text.
std::string checkValue(const KeyRule& rule, std::string_view value) {
    switch (rule.kind) {
        case Kind::Number: {
            const std::optional<std::int64_t> number = parseNumber(value);
            if (!number) return "\"" + std::string(value) + "\" is not a number";
            if (*number < rule.low || *number > rule.high) {
                return std::string(value) + " is out of range (" + std::to_string(rule.low) +
                       " to " + std::to_string(rule.high) + ")";
            }
            return {};
        }
        case Kind::Version:
            return isVersion(value) ? "" : "\"" + std::string(value) + "\" is not MAJOR.MINOR";
        case Kind::Mode:
            return isMode(value) ? "" : "\"" + std::string(value) + "\" is not WIDTHxHEIGHTxBITS";
        case Kind::ModeList:
            return isModeList(value)
                       ? ""
                       : "\"" + std::string(value) + "\" is not a list of WIDTHxHEIGHTxBITS";
        case Kind::Text:
            return {};
    }
    return {};
}

bool knownSection(const std::string& folded) {
    for (const KeyRule& rule : kRules) {
        if (codec::foldCase(rule.section) == folded) return true;
    }
    return false;
}

const KeyRule* ruleFor(const std::string& section, const std::string& key) {
    for (const KeyRule& rule : kRules) {
        if (codec::foldCase(rule.section) != section) continue;
        if (rule.key == nullptr || codec::foldCase(rule.key) == key) return &rule;
    }
    return nullptr;
}

}  // namespace

std::string checkHardwareFile(std::string_view text, const std::string& path) {
    std::set<std::string> sections;
    std::set<std::string> keys;  // folded section, NUL, folded key
    std::string section;         // folded; empty before the first header
    bool known = false;
    std::size_t lineNumber = 0;
    for (std::size_t start = 0; start <= text.size();) {
        // Lines end as the INI reader ends them: at CR LF, LF or a CR alone, so that nothing
        // the machine reads hides behind a CR in what is checked.
        const std::size_t found = text.find_first_of("\r\n", start);
        const std::size_t end = found == std::string_view::npos ? text.size() : found;
        const bool crLf = end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n';
        const std::string_view line = trim(text.substr(start, end - start));
        ++lineNumber;
        start = end + (crLf ? 2 : 1);
        const auto fault = [&](const std::string& what) {
            return path + " line " + std::to_string(lineNumber) + ": " + what;
        };
        if (line.empty() || line[0] == ';') continue;
        if (line.find('\0') != std::string_view::npos) return fault("a line holding a NUL byte");
        if (line[0] == '[') {
            const std::size_t close = line.rfind(']');
            if (close == std::string_view::npos) return fault("a section header without \"]\"");
            section = codec::foldCase(trim(line.substr(1, close - 1)));
            known = knownSection(section);
            if (!section.empty() && !sections.insert(section).second)
                return fault("the section [" + std::string(line.substr(1, close - 1)) +
                             "] is given twice");
            continue;
        }
        if (!known) continue;
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) return fault("\"" + std::string(line) + "\" is no key");
        const std::string_view name = trim(line.substr(0, eq));
        const std::string_view value = trim(line.substr(eq + 1));
        const std::string folded = codec::foldCase(name);
        const KeyRule* rule = ruleFor(section, folded);
        if (rule == nullptr) return fault(std::string(name) + ": no such key");
        if (!keys.insert(section + '\0' + folded).second)
            return fault(std::string(name) + ": the key is given twice");
        if (const std::string problem = checkValue(*rule, value); !problem.empty())
            return fault(std::string(name) + ": " + problem);
    }
    return {};
}

}  // namespace corvane
