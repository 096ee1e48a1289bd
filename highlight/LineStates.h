#pragma once
// The highlighter's state at the end of each line of a text, kept as sorted runs [First, End) of
// lines that end in the same state. A line without a run has kUnset, so its memory follows the
// number of state changes among the lines given a state, not the number of lines: a
// ten-million-line text whose shown lines end in the start state costs nothing.

#include <vector>

class TLineStates
{
public:
    // The state of a line never given one.
    static constexpr int kUnset = 0;

    // Runs neither overlap nor touch another of the same state, and never hold kUnset.
    struct TRun
    {
        int First = 0;
        int End = 0;
        int State = kUnset;
        bool operator==(const TRun&) const = default;
    };

    const std::vector<TRun>& Runs() const { return FRuns; }
    int State(int line) const;

    void Clear() { FRuns.clear(); }
    // Lines [first, end) end in state (kUnset forgets them).
    void Set(int first, int end, int state);
    // Lines [first, end) of the text, at least one, were replaced by end - first + linesAdded
    // lines (at least none): those lines go back to kUnset and the lines from end on keep their
    // states at their new numbers, moved by linesAdded.
    void Replace(int first, int end, int linesAdded);

private:
    using TRunIterator = std::vector<TRun>::iterator;

    TRunIterator FirstEndingAfter(int line);
    // Puts runs in place of [from, to), moving no more of the runs after them than it must.
    void Splice(TRunIterator from, TRunIterator to, const TRun* runs, int count);

    std::vector<TRun> FRuns;
};
