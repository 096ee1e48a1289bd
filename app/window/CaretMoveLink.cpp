#include "app/window/CaretMoveLink.h"

#include "common/SourceLines.h"
#include "editor/GCodeEditor.h"
#include "plot/OpenGLPanel.h"

#include <QColor>

namespace {

// The line a click on the plot went to, shaded while the caret stays on it: the plot keeps
// the focus, so the editor shows no caret. Marker 1 is the failed line's.
constexpr int kPickedLineMarker = 2;
const QColor kPickedLineShade(0xFF, 0xF4, 0xB0);

}  // namespace

TCaretMoveLink::TCaretMoveLink(TGCodeEditor& editor, TOpenGLPanel& panel, const TSourceLines& lines,
                               const TSourceLines& callLines, QObject* parent)
    : QObject(parent), FEditor(editor), FPanel(panel), FLines(lines), FCallLines(callLines)
{
    connect(&FEditor, &TGCodeEditor::CaretMoved, this,
            [this](int line, int index) { CaretReported(line, index); });
    FPanel.OnSegmentClicked = [this](std::size_t segment) { SegmentClicked(segment); };
    FEditor.markerDefine(QsciScintilla::Background, kPickedLineMarker);
    FEditor.setMarkerBackgroundColor(kPickedLineShade, kPickedLineMarker);
}

void TCaretMoveLink::SetEnabled(bool enabled)
{
    FEnabled = enabled;
    if (!FEnabled)
        FPanel.SetHighlight(0, 0);
}

void TCaretMoveLink::SetPlotCurrent(bool current)
{
    FPlotCurrent = current;
    if (!FPlotCurrent) {
        FPanel.SetHighlight(0, 0);
        ClearPickedShade();
    }
}

void TCaretMoveLink::PlotRedrawn()
{
    int line = 0, index = 0;
    FEditor.getCursorPosition(&line, &index);
    FNoMove = std::make_pair(line, index);
}

void TCaretMoveLink::CaretReported(int line, int index)
{
    if (FPickedShaded && (FEditor.markersAtLine(line) & (1u << kPickedLineMarker)) == 0)
        ClearPickedShade();
    const bool moved = FNoMove != std::make_pair(line, index);
    FNoMove.reset();
    if (moved)
        CaretMoved(line);
}

void TCaretMoveLink::ClearPickedShade()
{
    if (!FPickedShaded)
        return;
    FEditor.markerDeleteAll(kPickedLineMarker);
    FPickedShaded = false;
}

void TCaretMoveLink::CaretMoved(int line)
{
    if (!FEnabled || !FPlotCurrent || line < 0)
        return;
    TIndexRange segments = FLines.IndicesOf(static_cast<std::uint32_t>(line));
    // A call line makes no move itself: the moves of the call stand for it.
    if (segments.count == 0)
        segments = FCallLines.IndicesOf(static_cast<std::uint32_t>(line));
    FPanel.SetHighlight(segments.first, segments.count);
}

void TCaretMoveLink::SegmentClicked(std::size_t segment)
{
    const auto line = FLines.LineOf(segment);
    if (!line || !FPlotCurrent)
        return;
    const int editorLine = static_cast<int>(*line);
    ClearPickedShade();
    FEditor.markerAdd(editorLine, kPickedLineMarker);
    FPickedShaded = true;
    FEditor.setCursorPosition(editorLine, 0);
    FEditor.ensureLineVisible(editorLine);
    // The caret may have been on that line already, which moves nothing.
    CaretMoved(editorLine);
    const auto callLine = FCallLines.LineOf(segment);
    if (callLine && *callLine != *line && OnStatusText)
        OnStatusText(tr("called from line %1").arg(*callLine + 1));
}
