#pragma once
// Plain-text search and replace over an editor's whole text with Scintilla's own search, which
// works on the text's bytes in place and so stays fast on files of a million lines.

#include <QByteArray>

#include <optional>

class QsciScintillaBase;

struct TSearchOptions
{
    bool matchCase = false;
    bool wholeWord = false;
};

// A match: bytes [start, end) of the text; wrapped when the search went past the end (or, going
// backwards, the start) and went on from the other end to find it.
struct TSearchMatch
{
    long start = 0;
    long end = 0;
    bool wrapped = false;
};

// The first match of pattern from position from towards the end (forward) or towards the start,
// wrapping around once; none when the text holds no match or the pattern is empty.
std::optional<TSearchMatch> FindText(QsciScintillaBase& editor, const QByteArray& pattern,
                                     const TSearchOptions& options, long from, bool forward);

// Replaces every match with replacement as one edit, which one undo takes back; the number of
// matches replaced. Nothing changes when there is none.
long ReplaceAllText(QsciScintillaBase& editor, const QByteArray& pattern,
                    const QByteArray& replacement, const TSearchOptions& options);
