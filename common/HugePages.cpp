#include "common/HugePages.h"

#include <sys/mman.h>

#include <cstdint>

void AdviseHugePages(const void* data, std::size_t size)
{
    constexpr std::uintptr_t kHugePageBytes = std::uintptr_t{2} << 20;
    const auto address = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t begin = (address + kHugePageBytes - 1) & ~(kHugePageBytes - 1);
    const std::uintptr_t end = (address + size) & ~(kHugePageBytes - 1);
    if (begin < end)
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}
