#include "editor/TextSearch.h"

#include <Qsci/qsciscintillabase.h>

namespace {

using Sci = QsciScintillaBase;

int SearchFlags(const TSearchOptions& options)
{
    return (options.matchCase ? Sci::SCFIND_MATCHCASE : 0) |
           (options.wholeWord ? Sci::SCFIND_WHOLEWORD : 0);
}

// Searches [start, end) for pattern, backwards when start > end; the match, if any.
std::optional<TSearchMatch> SearchRange(QsciScintillaBase& editor, const QByteArray& pattern,
                                        long start, long end)
{
    editor.SendScintilla(Sci::SCI_SETTARGETRANGE, static_cast<unsigned long>(start), end);
    const long found = editor.SendScintilla(
        Sci::SCI_SEARCHINTARGET, static_cast<unsigned long>(pattern.size()), pattern.constData());
    if (found < 0)
        return std::nullopt;
    return TSearchMatch{found, editor.SendScintilla(Sci::SCI_GETTARGETEND), false};
}

}  // namespace

std::optional<TSearchMatch> FindText(QsciScintillaBase& editor, const QByteArray& pattern,
                                     const TSearchOptions& options, long from, bool forward)
{
    if (pattern.isEmpty())
        return std::nullopt;
    const long length = editor.SendScintilla(Sci::SCI_GETLENGTH);
    editor.SendScintilla(Sci::SCI_SETSEARCHFLAGS, SearchFlags(options));
    auto match = forward ? SearchRange(editor, pattern, from, length)
                         : SearchRange(editor, pattern, from, 0);
    if (match)
        return match;
    match = forward ? SearchRange(editor, pattern, 0, from)
                    : SearchRange(editor, pattern, length, from);
    if (match)
        match->wrapped = true;
    return match;
}

long ReplaceAllText(QsciScintillaBase& editor, const QByteArray& pattern,
                    const QByteArray& replacement, const TSearchOptions& options)
{
    if (pattern.isEmpty())
        return 0;
    // The new text between the first and the last match is put together first and goes in with
    // one replacement: a single change for the undo history, the highlighter and the signals,
    // instead of one per match.
    const long length = editor.SendScintilla(Sci::SCI_GETLENGTH);
    editor.SendScintilla(Sci::SCI_SETSEARCHFLAGS, SearchFlags(options));
    const auto* text =
        static_cast<const char*>(editor.SendScintillaPtrResult(Sci::SCI_GETCHARACTERPOINTER));
    QByteArray joined;
    long count = 0;
    long first = -1;
    long copiedTo = 0;
    for (auto match = SearchRange(editor, pattern, 0, length); match;
         match = SearchRange(editor, pattern, match->end, length)) {
        if (first < 0)
            first = copiedTo = match->start;
        joined.append(text + copiedTo, match->start - copiedTo);
        joined.append(replacement);
        copiedTo = match->end;
        ++count;
    }
    if (count == 0)
        return 0;
    editor.SendScintilla(Sci::SCI_SETTARGETRANGE, static_cast<unsigned long>(first), copiedTo);
    editor.SendScintilla(Sci::SCI_REPLACETARGET, static_cast<unsigned long>(joined.size()),
                         joined.constData());
    return count;
}
