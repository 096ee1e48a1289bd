#pragma once
// Numbers the blocks of a program with N words, or removes them. Lines that are no blocks keep
// no number: "%" lines, blank lines, comment-only lines and O-word lines. The numbers are
// written as the file writes its N words: the letter's case, leading zeros to the same width,
// and the blank after the word.

#include <string>
#include <vector>

enum class TRenumberMode {
    AllBlocks,       // every block, adding N words where there are none
    NumberedBlocks,  // only the blocks that have an N word
    ToolChanges,     // only the blocks with a tool change (M6); other N words are removed
    Remove,          // every N word is removed
};

struct TRenumberOptions
{
    TRenumberMode Mode = TRenumberMode::AllBlocks;
    long long Start = 10;
    long long Step = 10;
};

std::vector<std::string> Renumber(const std::vector<std::string>& lines,
                                  const TRenumberOptions& options);
