#pragma once
// A set of line numbers kept as sorted runs [First, End) that neither overlap nor touch, so that
// marking a stretch of a million lines costs one entry.

#include <optional>
#include <vector>

class TLineSet
{
public:
    struct TRun
    {
        int First = 0;
        int End = 0;
        bool operator==(const TRun&) const = default;
    };

    bool Empty() const { return FRuns.empty(); }
    const std::vector<TRun>& Runs() const { return FRuns; }
    bool Contains(int line) const;
    // The first line of the set in [first, end), if there is one.
    std::optional<int> FirstIn(int first, int end) const;

    void Clear() { FRuns.clear(); }
    void Add(int first, int end);
    void Remove(int first, int end);
    // Lines [first, end) of a text were replaced by end - first + linesAdded lines (at least
    // none): those lines leave the set and the lines from end on move by linesAdded.
    void Replace(int first, int end, int linesAdded);

private:
    std::vector<TRun>::iterator FirstEndingAfter(int line);

    std::vector<TRun> FRuns;
};
