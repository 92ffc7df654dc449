#include "app/SplashTiming.h"

namespace corvane {

std::uint32_t splashWaitMilliseconds(std::uint32_t start) {
    return 2000 - start % 1000;
}

}  // namespace corvane
