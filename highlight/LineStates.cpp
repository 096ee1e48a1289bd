#include "highlight/LineStates.h"

#include <algorithm>
#include <iterator>

namespace {

// Set leaves at most three runs where it works: what is left of the run it starts in, the new
// run and what is left of the run it ends in.
constexpr int kMaxSetRuns = 3;

// The first run that ends after a line. Runs are disjoint and sorted, so their ends are too.
template <class TIterator>
TIterator FirstRunEndingAfter(TIterator begin, TIterator end, int line)
{
    return std::upper_bound(
        begin, end, line, [](int value, const TLineStates::TRun& run) { return value < run.End; });
}

}  // namespace

TLineStates::TRunIterator TLineStates::FirstEndingAfter(int line)
{
    return FirstRunEndingAfter(FRuns.begin(), FRuns.end(), line);
}

int TLineStates::State(int line) const
{
    const auto run = FirstRunEndingAfter(FRuns.begin(), FRuns.end(), line);
    return run != FRuns.end() && run->First <= line ? run->State : kUnset;
}

void TLineStates::Set(int first, int end, int state)
{
    if (first >= end)
        return;
    // The runs that overlap [first, end) or touch it: they are cut, or merged with the new run.
    const auto from = FirstEndingAfter(first - 1);
    auto to = from;
    while (to != FRuns.end() && to->First <= end)
        ++to;

    TRun runs[kMaxSetRuns];
    int count = 0;
    const auto append = [&](const TRun& run) {
        if (run.First >= run.End || run.State == kUnset)
            return;
        if (count > 0 && runs[count - 1].End == run.First && runs[count - 1].State == run.State)
            runs[count - 1].End = run.End;
        else
            runs[count++] = run;
    };
    if (from != to)
        append({from->First, first, from->State});
    append({first, end, state});
    if (from != to) {
        const TRun& last = *std::prev(to);
        append({std::max(last.First, end), last.End, last.State});
    }
    Splice(from, to, runs, count);
}

void TLineStates::Splice(TRunIterator from, TRunIterator to, const TRun* runs, int count)
{
    // Styling line after line in the same state only lengthens a run: it is rewritten in place.
    const int replaced = static_cast<int>(to - from);
    std::copy(runs, runs + std::min(replaced, count), from);
    if (replaced > count)
        FRuns.erase(from + count, to);
    else
        FRuns.insert(to, runs + replaced, runs + count);
}

void TLineStates::Replace(int first, int end, int linesAdded)
{
    Set(first, end, kUnset);
    // No run holds the replaced lines now: those ending after them start after them.
    const auto moved = FirstEndingAfter(end);
    for (auto run = moved; run != FRuns.end(); ++run) {
        run->First += linesAdded;
        run->End += linesAdded;
    }
    // With every replaced line gone, the first moved run may touch the run before it.
    if (moved != FRuns.begin() && moved != FRuns.end()) {
        const auto before = std::prev(moved);
        if (before->End == moved->First && before->State == moved->State) {
            before->End = moved->End;
            FRuns.erase(moved);
        }
    }
}
