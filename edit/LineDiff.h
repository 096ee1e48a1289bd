#pragma once
// Compares two lists of lines: the runs of lines that differ between them, as a shortest edit
// script finds them (Myers' algorithm in linear space, after the common start and end are set
// aside). Lines are compared as whole byte strings. Where two long stretches have almost
// nothing in common, the search gives up after a bounded effort and reports the stretch as one
// change, so that comparing very different large files stays quick.

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

struct TDiffHunk
{
    // Half-open: the lines [LeftBegin, LeftEnd) of the left list became [RightBegin, RightEnd)
    // of the right one. One of the two is empty for lines only added or only removed.
    std::size_t LeftBegin = 0;
    std::size_t LeftEnd = 0;
    std::size_t RightBegin = 0;
    std::size_t RightEnd = 0;

    bool operator==(const TDiffHunk&) const = default;
};

std::vector<TDiffHunk> DiffLines(const std::vector<std::string_view>& left,
                                 const std::vector<std::string_view>& right);

// The hunk to go to from the left list's line: the first that starts after it, or with forward
// false the last that ends before it; none when there is none that way.
std::optional<std::size_t> NeighbourHunk(const std::vector<TDiffHunk>& hunks, std::size_t leftLine,
                                         bool forward);
