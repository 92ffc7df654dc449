#pragma once

#include <cstdint>

namespace corvane {

// The system's millisecond counter (GetTickCount), which wraps after 2^32 ms, and a way to wait.
class TickSource {
public:
    virtual ~TickSource() = default;
    virtual std::uint32_t tickCount() = 0;
    virtual void sleep(std::uint32_t milliseconds) = 0;
};

// The real counter and sleep.
class SystemTickSource : public TickSource {
public:
    std::uint32_t tickCount() override;
    void sleep(std::uint32_t milliseconds) override;
};

}  // namespace corvane
