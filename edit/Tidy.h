#pragma once
// Tidies the text of a program: the blanks between words, the case of the words, comments and
// trailing blanks. Comments that LinuxCNC acts on ("(MSG, ...)", "(DEBUG, ...)", "(PRINT, ...)",
// the log and probe file commands) are kept, since removing them would change what the program
// does. Lines that cannot be read are left as they are, but for their trailing blanks.

#include <cstddef>
#include <string>
#include <vector>

enum class TWordSpacing { Keep, One, None };
enum class TCommentRemoval { Keep, All, AllButFirstBlock };

struct TTidyOptions
{
    TWordSpacing Spacing = TWordSpacing::One;
    bool UpperCase = true;
    TCommentRemoval Comments = TCommentRemoval::Keep;
    bool TrimTrailingBlanks = true;
};

struct TTidyResult
{
    std::vector<std::string> Lines;
    // The index of the line each result line comes from: a line that held only comments is
    // gone once they are removed.
    std::vector<std::size_t> SourceLines;
};

TTidyResult Tidy(const std::vector<std::string>& lines, const TTidyOptions& options);
