#pragma once
// The G-code editor control: a QScintilla editor in UTF-8 mode that keeps a file's bytes exactly
// as they were loaded (invalid UTF-8 and NUL bytes included), remembers the file's line-break
// style for new lines and for writing, and keeps a modified flag of its own that only edits set.

#include "editor/HighlighterLexer.h"
#include "gcode/LineList.h"
#include "highlight/Highlighter.h"

#include <Qsci/qsciscintilla.h>

#include <QByteArray>
#include <QFont>
#include <QPointer>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QKeyEvent;
class QMenu;

class TGCodeEditor : public QsciScintilla
{
    Q_OBJECT

public:
    // How the lines of the text are joined: the first line break found on load.
    enum class TLineBreak { CrLf, Lf, Cr };

    explicit TGCodeEditor(QWidget* parent = nullptr);

    // Attaches a highlighter, which the editor owns from then on, through a lexer made for it;
    // the previous highlighter and its lexer go. nullptr leaves the text plain.
    void SetHighlighter(std::unique_ptr<THighlighter> highlighter);
    THighlighter* Highlighter() const { return FHighlighter.get(); }
    // The lexer of the attached highlighter (nullptr without one): its OnError receives the
    // highlighter's failures.
    THighlighterLexer* HighlighterLexer() const { return FHighlighterLexer.get(); }

    // Told the bytes loaded so far and the bytes to load, before each part of a load.
    using TLoadProgress = std::function<void(std::size_t done, std::size_t total)>;

    // Replaces the whole text with these bytes. The load leaves no undo step and neither sets
    // nor clears the modified flag; the view shows the text from its top-left corner, with the
    // caret at its start.
    void SetTextBytes(const QByteArray& bytes, const TLoadProgress& progress = {});
    // Where a text to load comes from: each call gives its next part, an empty one at its end.
    using TTextSource = std::function<std::string_view()>;
    // Told the text loaded so far after each part. Its bytes stay unchanged and in place while
    // the load goes on, as long as the text is no longer than the size announced.
    using TTextGrown = std::function<void(std::string_view textSoFar)>;
    // The same for a text given in parts, size bytes in all (a source that gives more or fewer
    // still loads whole). When the source throws, the parts before stay, and the error goes on.
    void SetTextFrom(std::size_t size, const TTextSource& next, const TLoadProgress& progress = {},
                     const TTextGrown& grown = {});
    // The lines joined with the remembered line break, with no break after the last line.
    QByteArray TextBytes() const;
    // The lines without their breaks, over one copy of the text; a text ending in a break has
    // an empty last line.
    TLineList Lines() const;
    // The same lines as views into the editor's own text, without a copy. They stay valid until
    // the text changes: long enough for a synchronous run that takes no user input.
    TLineList LinesView() const;
    // The editor's own text, without a copy, valid as long as the lines of LinesView.
    std::string_view CharacterData() const;
    // Makes the text these lines as one undo step. Only the lines that differ are replaced, so
    // the others keep their line breaks and the view stays where it is.
    void ReplaceLines(const std::vector<std::string>& lines);
    // The first line break of the text last loaded; CR LF for a text without one, or never loaded.
    TLineBreak LineBreak() const { return FLineBreak; }

    // Set by every change of the text other than a load; cleared only by SetModified(false)
    // and ClearAll. QsciScintilla's modificationChanged(bool) is emitted when it changes.
    bool Modified() const { return FModified; }
    void SetModified(bool modified);
    // Text, undo and redo history and the modified flag; the view goes back to the top-left.
    void ClearAll();

    bool CanUndo() const;
    // Like CanUndo, for the edits that undo took back.
    bool CanRedo() const;
    // Puts the caret at the start of a line (1 is the first; clamped to the text's lines) and
    // scrolls that line to the middle of the view.
    void GoToLine(int line);
    bool HasSelectedText() const;
    // Removes the selected text; does nothing without a selection.
    void DeleteSelection();

    // Shown on a right click instead of QScintilla's own menu; nullptr restores that menu.
    void SetContextMenu(QMenu* menu);
    QMenu* ContextMenu() const;

    // The fonts of the text and of the line-number gutter.
    const QFont& TextFont() const { return FTextFont; }
    const QFont& GutterFont() const { return FGutterFont; }

    // QsciScintilla's setter: the same as SetModified, so QScintilla's own callers keep the flag
    // above. Read the flag with Modified().
    void setModified(bool modified) override;
    void setReadOnly(bool readOnly) override;
    // Keeps the fonts above when a lexer comes or goes; a lexer brings its own text fonts.
    void setLexer(QsciLexer* lexer = nullptr) override;

signals:
    // Emitted whenever CanUndo() changes.
    void UndoAvailableChanged(bool available);
    // Emitted whenever CanRedo() changes.
    void RedoAvailableChanged(bool available);
    // The caret's new line and index, once per move. A key or a click reports its move before
    // the editor is painted, so that what follows the caret changes in the same frame of the
    // window; QScintilla's cursorPositionChanged, which reports every other move, comes only
    // while the editor paints, and a change it makes elsewhere waits for the frame after.
    void CaretMoved(int line, int index);

protected:
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void SetUpFonts();
    void ApplyFonts();
    void SetUpGutter();
    void ConnectSignals();

    bool IsEnabledWindowShortcut(const QKeyEvent& key) const;
    void ReplaceAllWithoutUndo(std::size_t size, const TTextSource& next,
                               const TLoadProgress& progress, const TTextGrown& grown);
    void TextChanged(int modificationType);
    void UpdateUndoAvailable();
    void UpdateGutterWidth();
    void ShowScrollHint();
    void ReportCaret();

    TLineBreak FLineBreak = TLineBreak::CrLf;
    bool FModified = false;
    bool FReplacingAll = false;
    bool FUndoAvailable = false;
    bool FRedoAvailable = false;
    int FGutterDigits = 0;
    long FReportedCaret = -1;  // the position CaretMoved last told
    int FGutterZoomPt = 0;
    QPointer<QMenu> FContextMenu;
    QFont FTextFont;
    QFont FGutterFont;
    // The lexer listens to the highlighter, so it is declared after it and goes first. It has
    // no parent for the same reason: children would outlive both members. QsciScintilla keeps
    // only a guarded pointer to it.
    std::unique_ptr<THighlighter> FHighlighter;
    std::unique_ptr<THighlighterLexer> FHighlighterLexer;
};
