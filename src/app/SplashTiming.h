#pragma once

#include <cstdint>

namespace corvane {

// How long the splash stays when it is shown at tick count start: until the counter's whole
// seconds have advanced by two, so more than one and at most two seconds. Counted from start,
// the wait also ends when the counter wraps during it.
std::uint32_t splashWaitMilliseconds(std::uint32_t start);

}  // namespace corvane
