#include "highlight/LineSet.h"

#include <algorithm>

std::vector<TLineSet::TRun>::iterator TLineSet::FirstEndingAfter(int line)
{
    // Runs are disjoint and sorted, so their ends are sorted too.
    return std::upper_bound(FRuns.begin(), FRuns.end(), line,
                            [](int value, const TRun& run) { return value < run.End; });
}

bool TLineSet::Contains(int line) const
{
    return FirstIn(line, line + 1).has_value();
}

std::optional<int> TLineSet::FirstIn(int first, int end) const
{
    const auto run = std::upper_bound(FRuns.begin(), FRuns.end(), first,
                                      [](int value, const TRun& r) { return value < r.End; });
    if (run == FRuns.end() || first >= end || run->First >= end)
        return std::nullopt;
    return std::max(first, run->First);
}

void TLineSet::Add(int first, int end)
{
    if (first >= end)
        return;
    // Merge every run that overlaps or touches [first, end).
    auto from = FirstEndingAfter(first - 1);
    auto to = from;
    TRun merged{first, end};
    while (to != FRuns.end() && to->First <= end) {
        merged.First = std::min(merged.First, to->First);
        merged.End = std::max(merged.End, to->End);
        ++to;
    }
    FRuns.insert(FRuns.erase(from, to), merged);
}

void TLineSet::Remove(int first, int end)
{
    if (first >= end)
        return;
    auto from = FirstEndingAfter(first);
    auto to = from;
    std::vector<TRun> kept;
    while (to != FRuns.end() && to->First < end) {
        if (to->First < first)
            kept.push_back({to->First, first});
        if (to->End > end)
            kept.push_back({end, to->End});
        ++to;
    }
    FRuns.insert(FRuns.erase(from, to), kept.begin(), kept.end());
}

void TLineSet::Replace(int first, int end, int linesAdded)
{
    Remove(first, end);
    auto moved = FirstEndingAfter(end);
    if (moved != FRuns.end() && moved->First < end) {
        // Lines inserted inside a run (nothing replaced) split it.
        moved = std::next(FRuns.insert(moved, {moved->First, end}));
        moved->First = end;
    }
    for (auto run = moved; run != FRuns.end(); ++run) {
        run->First += linesAdded;
        run->End += linesAdded;
    }
    // The first moved run may now touch the run before it.
    if (moved != FRuns.begin() && moved != FRuns.end() && std::prev(moved)->End >= moved->First) {
        std::prev(moved)->End = moved->End;
        FRuns.erase(moved);
    }
}
