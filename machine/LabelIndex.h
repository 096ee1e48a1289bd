#pragma once
// TLabelIndex: where the control structures of one program file are, built once per reading from
// its O-word lines, so that running a loop or a call never searches the text. Labels belong to
// the subroutine they are written in (or to the file outside any): LinuxCNC 2.9 allows o110 in
// two subroutines but not twice in one.

#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "machine/OWord.h"

// One structure: a subroutine, an if chain, a loop or a numbered (M98) program.
struct TOBlock
{
    TOWordKind Kind;  // Sub, If, While, Do, Repeat or Program
    std::string Label;
    int Start = 0;  // the line of sub, if, while, do, repeat or "o100"
    int End = -1;   // endsub, endif, endwhile, the while of a do, endrepeat; none for a program
    std::vector<int> Branches;  // an if chain's elseif and else lines, in order
};

// A difference from LinuxCNC 2.9 that the index accepts, for the reading's notices.
struct TLabelNotice
{
    int Line;
    std::string Text;  // "o110 used again"
};

class TLabelIndex
{
public:
    static constexpr int kNone = -1;

    // Adds the O-word of a line; lines come in increasing order. Throws EMachineError where
    // LinuxCNC refuses the structure: a sub inside a sub or defined twice, endsub or return
    // outside a sub, else/endif/endwhile/break/... without its opening line, a label used
    // again while its first structure is still open.
    void Add(int line, const TOWord& word);

    // The structure that the O-word on a line opens, continues or closes; for break and
    // continue the while or do loop they leave, for return the sub. kNone for a call or no O-word.
    int BlockAt(int line) const;
    const TOBlock& Block(int index) const { return FBlocks[static_cast<std::size_t>(index)]; }
    // A subroutine by label (kNone when the file defines none), and a numbered program.
    int Sub(std::string_view label) const;
    int Program(std::string_view label) const;

    // If labels used twice in one subroutine (LinuxCNC 2.9 refuses; older versions ran them).
    const std::vector<TLabelNotice>& Notices() const { return FNotices; }

private:
    int Open(int line, const TOWord& word, TOWordKind kind);
    // The structure of this label in the current scope that is open and of one of the kinds.
    int Find(const TOWord& word, std::initializer_list<TOWordKind> kinds) const;
    std::string ScopedLabel(std::string_view label) const;
    [[noreturn]] void Undefined(const TOWord& word) const;

    std::vector<TOBlock> FBlocks;
    std::unordered_map<int, int> FBlockAtLine;
    std::unordered_map<std::string, int> FSubs;
    std::unordered_map<std::string, int> FPrograms;
    std::unordered_map<std::string, int> FLatest;  // scope + label -> its latest structure
    int FScope = kNone;                            // the sub or program being defined
    std::vector<TLabelNotice> FNotices;
};
