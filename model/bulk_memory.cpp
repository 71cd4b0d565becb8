#include "bulk_memory.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace {

#ifdef __linux__
constexpr size_t HugePage = size_t{2} << 20;
// Room before a large block for the address of the allocation it lies in.
constexpr size_t Header = alignof(std::max_align_t);
#endif

void* Allocate(size_t size)
{
    void* const p = std::malloc(size);
    if (!p)
        throw std::bad_alloc();
    return p;
}

}  // namespace

void* AllocateLarge(size_t size)
{
#ifdef __linux__
    if (size >= HugePage) {
        // Aligned by hand inside an ordinary allocation of the size plus the
        // alignment. aligned_alloc asks the heap for the size plus the
        // alignment each time and keeps only the size, so a block it freed
        // never fits its own hole again, and a heap that keeps freed memory
        // grows by a block at each allocation.
        if (size > SIZE_MAX - 2 * HugePage - Header)
            throw std::bad_alloc();
        const size_t rounded = (size + HugePage - 1) / HugePage * HugePage;
        void* const whole = Allocate(rounded + HugePage + Header);
        const uintptr_t start = (reinterpret_cast<uintptr_t>(whole) + Header + HugePage - 1) / HugePage * HugePage;
        auto* const p = reinterpret_cast<uint8_t*>(start);
        std::memcpy(p - sizeof(void*), &whole, sizeof(void*));
        madvise(p, rounded, MADV_HUGEPAGE);
        return p;
    }
#endif
    return Allocate(size);
}

void FreeLarge(void* p, [[maybe_unused]] size_t size)
{
#ifdef __linux__
    if (p && size >= HugePage) {
        void* whole = nullptr;
        std::memcpy(&whole, static_cast<uint8_t*>(p) - sizeof(void*), sizeof(void*));
        std::free(whole);
        return;
    }
#endif
    std::free(p);
}

namespace {

// The regions of a model's bulk memory.
class TLargeRegions : public std::pmr::memory_resource {
    void* do_allocate(size_t bytes, size_t alignment) override
    {
        // The model's items need no more than any value does.
        if (alignment > alignof(std::max_align_t))
            throw std::bad_alloc();
        return AllocateLarge(bytes);
    }
    void do_deallocate(void* p, size_t bytes, size_t) override { FreeLarge(p, bytes); }
    bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override { return this == &other; }
};

struct TBulkMemory {
    explicit TBulkMemory(size_t expected) : Blocks(std::max<size_t>(expected, 1), &Regions) {}
    TLargeRegions Regions;
    std::pmr::monotonic_buffer_resource Blocks;
};

}  // namespace

std::shared_ptr<std::pmr::memory_resource> NewBulkMemory(size_t expected)
{
    const auto memory = std::make_shared<TBulkMemory>(expected);
    return {memory, &memory->Blocks};
}
