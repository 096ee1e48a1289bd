#include "CaretMoveLink.h"

#include "GCodeEditor.h"
#include "OpenGLPanel.h"
#include "SegmentSourceLines.h"

TCaretMoveLink::TCaretMoveLink(TGCodeEditor& editor, TOpenGLPanel& panel,
                               const TSegmentSourceLines& lines, QObject* parent)
    : QObject(parent), fEditor(editor), fPanel(panel), fLines(lines)
{
    connect(&fEditor, &QsciScintilla::cursorPositionChanged, this,
            [this](int line, int /*index*/) { CaretMoved(line); });
    fPanel.OnSegmentClicked = [this](std::size_t segment) { SegmentClicked(segment); };
}

void TCaretMoveLink::SetEnabled(bool enabled)
{
    fEnabled = enabled;
    if (!fEnabled)
        fPanel.SetHighlight(0, 0);
}

void TCaretMoveLink::CaretMoved(int line)
{
    if (!fEnabled || line < 0)
        return;
    const TSegmentRange segments = fLines.SegmentsOf(static_cast<std::uint32_t>(line));
    fPanel.SetHighlight(segments.first, segments.count);
}

void TCaretMoveLink::SegmentClicked(std::size_t segment)
{
    const auto line = fLines.LineOf(segment);
    if (!line)
        return;
    const int editorLine = static_cast<int>(*line);
    fEditor.setCursorPosition(editorLine, 0);
    fEditor.ensureLineVisible(editorLine);
    // The caret may have been on that line already, which moves nothing.
    CaretMoved(editorLine);
}
