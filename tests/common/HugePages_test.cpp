#include "common/HugePages.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The VmFlags of the mapping that holds address, from /proc/self/smaps; empty when none does.
std::string FlagsOfMappingAt(const void* address)
{
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    std::ifstream smaps("/proc/self/smaps");
    std::string line;
    bool inside = false;
    while (std::getline(smaps, line)) {
        std::uintptr_t begin = 0;
        std::uintptr_t end = 0;
        char dash = 0;
        std::istringstream range(line);
        if (range >> std::hex >> begin >> dash >> end && dash == '-') {
            inside = begin <= at && at < end;
            continue;
        }
        if (inside && line.rfind("VmFlags:", 0) == 0)
            return line;
    }
    return {};
}

bool SystemHasHugePages()
{
    return std::ifstream("/sys/kernel/mm/transparent_hugepage/enabled").good();
}

TEST(HugePages, TheSpareRoomOfALargeVectorIsMarkedAndItsElementsStay)
{
    if (!SystemHasHugePages())
        GTEST_SKIP() << "no transparent huge pages on this system";
    constexpr std::size_t kCount = std::size_t{16} << 20;
    std::vector<std::uint32_t> items{7, 8, 9};
    items.reserve(kCount);
    AdviseHugePagesForSpare(items);
    EXPECT_NE(FlagsOfMappingAt(items.data() + kCount / 2).find(" hg"), std::string::npos);
    EXPECT_EQ(items, (std::vector<std::uint32_t>{7, 8, 9}));
}

}  // namespace
