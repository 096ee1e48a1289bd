#pragma once
// Ties the editor's caret to the plot: the move made by the caret's line is highlighted in the
// plot, and a click on a move in the plot puts the caret on the line that made it. In the
// machine path a move made in a subroutine leads to its body line, with its call line told in the
// status bar, and the caret on a call line highlights the moves the call made. The plot
// drops its highlight whenever it is cleared or reset; it comes back when the caret moves.

#include <QObject>

#include <QString>

#include <cstddef>
#include <functional>
#include <optional>
#include <utility>

class TGCodeEditor;
class TOpenGLPanel;
class TSourceLines;

class TCaretMoveLink : public QObject
{
    Q_OBJECT

public:
    // lines and callLines are the source lines and the outermost call lines of the panel's
    // segments, kept up to date by the builder.
    TCaretMoveLink(TGCodeEditor& editor, TOpenGLPanel& panel, const TSourceLines& lines,
                   const TSourceLines& callLines, QObject* parent);

    // View > Highlight Caret Move; turning it off removes the highlight.
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool enabled);
    // The plot was drawn anew: the caret's present place, which the editor may report only
    // later (after a new text, say), is no move; the next place it moves to is.
    void PlotRedrawn();
    // After a failed run the plot still shows the program before, whose moves are not the
    // editor's lines: the caret highlights nothing and clicks pick nothing until the plot is
    // current again.
    void SetPlotCurrent(bool current);

    // A clicked move was made in a subroutine: "called from line N" (1-based).
    std::function<void(const QString& text)> OnStatusText;

private:
    void CaretReported(int line, int index);
    void CaretMoved(int line);
    void ClearPickedShade();
    void SegmentClicked(std::size_t segment);

    TGCodeEditor& FEditor;
    TOpenGLPanel& FPanel;
    const TSourceLines& FLines;
    const TSourceLines& FCallLines;
    bool FEnabled = true;
    bool FPlotCurrent = true;
    // Whether a picked line may be shaded: Scintilla clears a marker by walking every line of
    // the text, so the shade is cleared only when there may be one.
    bool FPickedShaded = false;
    std::optional<std::pair<int, int>> FNoMove;  // line and index that do not count as a move
};
