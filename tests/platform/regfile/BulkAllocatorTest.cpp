#include "platform/regfile/BulkAllocator.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace corvane {
namespace {

// Every byte asked for can be written and read back, on both sides of the size from which
// memory is mapped on its own, and where the mapping is trimmed to a huge page's boundary.
TEST(BulkAllocator, EveryByteOfEverySizeIsUsable) {
    const std::size_t big = bulk::kLargeBytes;
    for (const std::size_t bytes : {std::size_t{1}, big - 1, big, big + 1, std::size_t{2} << 20,
                                    (std::size_t{2} << 20) + 1, (std::size_t{5} << 20) + 4095}) {
        SCOPED_TRACE(bytes);
        BulkAllocator<unsigned char> allocator;
        unsigned char* memory = allocator.allocate(bytes);
        for (std::size_t i = 0; i < bytes; i += 4096)
            memory[i] = static_cast<unsigned char>(i >> 12);
        memory[bytes - 1] = 0xA5;
        for (std::size_t i = 0; i < bytes - 1; i += 4096)
            ASSERT_EQ(memory[i], static_cast<unsigned char>(i >> 12));
        EXPECT_EQ(memory[bytes - 1], 0xA5);
#if defined(__linux__)
        // Only memory that begins on a huge page's boundary can be given huge pages.
        if (bytes >= big) {
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(memory) % (std::uintptr_t{2} << 20), 0u);
        }
#endif
        allocator.deallocate(memory, bytes);
    }
}

TEST(BulkAllocator, AnArrayKeepsItsElementsAsItGrowsPastTheMappedSize) {
    std::vector<std::uint32_t, BulkAllocator<std::uint32_t>> numbers;
    const std::uint32_t count = 3 * bulk::kLargeBytes / sizeof(std::uint32_t);
    for (std::uint32_t i = 0; i < count; ++i)
        numbers.push_back(i * 7);
    for (std::uint32_t i = 0; i < count; i += 997)
        ASSERT_EQ(numbers[i], i * 7);
    numbers.resize(10);
    numbers.shrink_to_fit();
    EXPECT_EQ(numbers[9], 63u);
}

TEST(BulkAllocator, ASizeBeyondMemoryIsRefused) {
    BulkAllocator<std::uint64_t> allocator;
    EXPECT_THROW(static_cast<void>(allocator.allocate(SIZE_MAX / 4)), std::bad_alloc);
}

}  // namespace
}  // namespace corvane
