#include "common/FreedMemory.h"

#include <malloc.h>

void ReturnFreedMemoryToTheSystem()
{
    constexpr int kOwnMappingFrom = 256 * 1024;
    constexpr int kTrimFrom = 1024 * 1024;
    ::mallopt(M_MMAP_THRESHOLD, kOwnMappingFrom);
    ::mallopt(M_TRIM_THRESHOLD, kTrimFrom);
}
