#pragma once

#include <cstddef>
#include <new>

namespace corvane {

namespace bulk {

// Memory of at least kLargeBytes is mapped on its own (see BulkAllocator); less comes from the
// usual heap.
inline constexpr std::size_t kLargeBytes = std::size_t{1} << 20;

void* allocate(std::size_t bytes);
void deallocate(void* memory, std::size_t bytes) noexcept;

}  // namespace bulk

// The allocator of the few arrays that grow with a whole registry export: the key records and
// their names. Where the system has them (Linux with transparent huge pages, even when they are
// only given on request), an array of a megabyte or more is given huge pages: its fresh memory
// then comes 2 MB at a time, instead of in hundreds of 4 KB page faults that cost more than
// everything else in reading a large export. It costs at most the rest of the last huge page.
template <typename T>
struct BulkAllocator {
    using value_type = T;

    BulkAllocator() noexcept = default;
    template <typename U>
    BulkAllocator(const BulkAllocator<U>&) noexcept {}

    T* allocate(std::size_t count) {
        if (count > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_alloc();
        return static_cast<T*>(bulk::allocate(count * sizeof(T)));
    }
    void deallocate(T* memory, std::size_t count) noexcept {
        bulk::deallocate(memory, count * sizeof(T));
    }

    template <typename U>
    bool operator==(const BulkAllocator<U>&) const noexcept {
        return true;
    }
};

}  // namespace corvane
