// The machine folder's hardware file: any bytes are checked without a crash, and a text the check
// accepts gives every number the machine reads within its range, as the INI reader reads it.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "platform/inifile/IniDocument.h"
#include "platform/inifile/IniInteger.h"
#include "platform/sim/HardwareFile.h"

namespace {

struct Range {
    const char* section;
    const char* key;
    std::int64_t low;
    std::int64_t high;
};

constexpr Range kRanges[] = {
    {"Windows", "PlatformId", 1, 2},    {"Windows", "Build", 0, 0xFFFF},
    {"Rage128", "IOBase", 0, 0xFFFF},   {"Rage128", "CoreClock", 1, 255},
    {"Rage128", "MemoryClock", 1, 255}, {"Rage128", "PortDriver", 0, 2},
    {"Rage128", "PllIndex", 0, 0xFF},   {"HostBridge", "ApertureRegister", 0, 0xFFFF},
    {"Display", "ModeTest", 0, 1},      {"Display", "ModeSets", 0, 0x7FFFFFFF},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::optional<corvane::IniDocument> doc = corvane::IniDocument::fromBytes(bytes);
    if (!doc) return 0;
    if (!corvane::checkHardwareFile(doc->text(), "hardware.ini").empty()) return 0;
    for (const Range& range : kRanges) {
        const std::optional<std::string_view> value = doc->value(range.section, range.key);
        if (!value) continue;
        std::int32_t number = 0;
        if (!corvane::parseIniInteger(*value, number) || number < range.low ||
            number > range.high) {
            std::abort();  // the check let through a value the machine would misread
        }
    }
    return 0;
}
