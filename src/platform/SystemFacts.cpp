#include "platform/SystemFacts.h"

namespace corvane {

std::string expandPercentVariables(
    const std::string& text,
    const std::function<std::optional<std::string>(const std::string&)>& lookup) {
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t open = text.find('%', i);
        const std::size_t close = open == std::string::npos ? open : text.find('%', open + 1);
        if (close == std::string::npos) {
            out += text.substr(i);
            break;
        }
        out += text.substr(i, open - i);
        const auto value = lookup(text.substr(open + 1, close - open - 1));
        out += value ? *value : text.substr(open, close - open + 1);
        i = close + 1;
    }
    return out;
}

}  // namespace corvane
