#pragma once
// TSkipReport: what a lenient run passed over, so the user learns that the plot of such a
// program is incomplete. Counts skipped words and whole lines and keeps the first few places.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct TSkippedPlace
{
    std::int32_t Line = 0;  // 1-based line of the text
    std::string Text;       // what was skipped, blanks trimmed, shortened when long
};

class TSkipReport
{
public:
    static constexpr std::size_t kPlaceCount = 5;  // places kept
    static constexpr std::size_t kTextLimit = 80;  // bytes of a place's text kept

    void Clear();
    void AddWord(std::int32_t line, std::string_view text);
    void AddLine(std::int32_t line, std::string_view text);
    // Adds what a run of the lines after this report's passed over.
    void Append(const TSkipReport& later);

    std::size_t Words() const { return FWords; }
    std::size_t Lines() const { return FLines; }
    bool Empty() const { return FWords == 0 && FLines == 0; }
    // The first kPlaceCount skips, words and lines together, in reading order.
    const std::vector<TSkippedPlace>& Places() const { return FPlaces; }

private:
    void AddPlace(std::int32_t line, std::string_view text);

    std::size_t FWords = 0;
    std::size_t FLines = 0;
    std::vector<TSkippedPlace> FPlaces;
};
