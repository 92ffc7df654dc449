#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>

namespace corvane {

namespace bulk {

// Memory of at least kLargeBytes is mapped on its own (see BulkAllocator); less comes from the
// usual heap.
inline constexpr std::size_t kLargeBytes = std::size_t{1} << 20;

void* allocate(std::size_t bytes);
void deallocate(void* memory, std::size_t bytes) noexcept;
// How many bytes allocate gives for bytes: a mapping of huge pages is used to its end.
std::size_t usableBytes(std::size_t bytes) noexcept;

// One stretch of memory from allocate, handed out front to back: the arrays of one registry
// tree, sized from the file, share its huge pages instead of each starting pages of its own.
class Arena {
public:
    explicit Arena(std::size_t bytes);
    ~Arena();
    Arena(const Arena&) = delete;
    Arena& operator=(const Arena&) = delete;

    // bytes from the free part, or nullptr when they don't fit.
    void* take(std::size_t bytes, std::size_t alignment) noexcept;
    bool owns(const void* memory) const noexcept;
    // Memory taken last is taken back, so that an array that grows can use it again; other
    // memory stays taken until the arena goes.
    void giveBack(void* memory, std::size_t bytes) noexcept;

private:
    char* m_begin;
    std::size_t m_size;
    std::size_t m_used = 0;
};

}  // namespace bulk

// The allocator of the arrays that grow with a whole registry export: the key records, their
// names, the path index and the lists of subkeys. Their memory comes from the tree's arena while
// it lasts, then from bulk::allocate.
//
// Where the system has them (Linux with transparent huge pages, even when they are only given on
// request), such memory is given huge pages: fresh memory then comes 2 MB at a time instead of
// in hundreds of 4 KB page faults, which cost more than everything else in reading a large
// export. It costs at most the rest of the last huge page.
template <typename T>
struct BulkAllocator {
    using value_type = T;
    // The memory goes with the array that holds it.
    using propagate_on_container_copy_assignment = std::true_type;
    using propagate_on_container_move_assignment = std::true_type;
    using propagate_on_container_swap = std::true_type;
    using is_always_equal = std::false_type;

    BulkAllocator() noexcept = default;
    explicit BulkAllocator(std::shared_ptr<bulk::Arena> from) noexcept : arena(std::move(from)) {}
    // Copied, never emptied, when moved: an allocator stays what it was.
    BulkAllocator(const BulkAllocator&) noexcept = default;
    BulkAllocator& operator=(const BulkAllocator&) noexcept = default;
    template <typename U>
    BulkAllocator(const BulkAllocator<U>& other) noexcept : arena(other.arena) {}

    T* allocate(std::size_t count) {
        if (count > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_alloc();
        if (arena) {
            if (void* memory = arena->take(count * sizeof(T), alignof(T)))
                return static_cast<T*>(memory);
        }
        return static_cast<T*>(bulk::allocate(count * sizeof(T)));
    }
    void deallocate(T* memory, std::size_t count) noexcept {
        if (arena && arena->owns(memory)) {
            arena->giveBack(memory, count * sizeof(T));
            return;
        }
        bulk::deallocate(memory, count * sizeof(T));
    }

    template <typename U>
    bool operator==(const BulkAllocator<U>& other) const noexcept {
        return arena == other.arena;
    }

    std::shared_ptr<bulk::Arena> arena;  // none: memory comes from bulk::allocate
};

}  // namespace corvane
