#include "platform/PrivateProfile.h"

namespace corvane {

std::string_view PrivateProfile::trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool PrivateProfile::canStore(std::string_view section, std::string_view key,
                              std::string_view value) {
    auto breaksLine = [](std::string_view text) {
        return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
    };
    if (breaksLine(section) || breaksLine(key) || breaksLine(value)) return false;
    section = trimBlanks(section);
    key = trimBlanks(key);
    if (section.empty() || key.empty()) return false;
    return key.front() != '[' && key.front() != ';' && key.find('=') == std::string_view::npos;
}

}  // namespace corvane
