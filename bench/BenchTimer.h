#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace corvane::bench {

// Runs an action several times and reports the median in milliseconds, one line per figure:
// "name value unit".
inline double medianMs(int runs, const std::function<void()>& action) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        action();
        const auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

inline void report(const char* name, double value, const char* unit) {
    std::printf("%s %.2f %s\n", name, value, unit);
    std::fflush(stdout);
}

}  // namespace corvane::bench
