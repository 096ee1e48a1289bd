#include "editor/FailedLineMark.h"

#include "editor/GCodeEditor.h"

#include <QColor>
#include <QToolTip>

#include <algorithm>

namespace {

constexpr int kMarkMargin = 1;  // beside the line numbers
constexpr int kMarkMarginWidthPx = 14;
constexpr int kMarker = 1;
constexpr int kTextChangeMask =
    QsciScintillaBase::SC_MOD_INSERTTEXT | QsciScintillaBase::SC_MOD_DELETETEXT;
const QColor kMarkerColour(0xD0, 0x20, 0x20);
const QColor kMessageColour(0x80, 0x00, 0x00);
const QColor kMessagePaper(0xFF, 0xE4, 0xE1);
constexpr int kDwellMs = 400;  // resting the pointer this long on the line shows the message

}  // namespace

TFailedLineMark::TFailedLineMark(TGCodeEditor& editor)
    : QObject(&editor), FEditor(editor),
      FMessageStyle(-1, QStringLiteral("Failed line"), kMessageColour, kMessagePaper,
                    editor.TextFont())
{
    FEditor.setMargins(std::max(FEditor.margins(), kMarkMargin + 1));
    FEditor.setMarginType(kMarkMargin, QsciScintilla::SymbolMargin);
    FEditor.setMarginMarkerMask(kMarkMargin, 1 << kMarker);
    FEditor.setMarginWidth(kMarkMargin, 0);
    FEditor.markerDefine(QsciScintilla::Circle, kMarker);
    FEditor.setMarkerBackgroundColor(kMarkerColour, kMarker);
    FEditor.setMarkerForegroundColor(kMarkerColour, kMarker);
    FEditor.setAnnotationDisplay(QsciScintilla::AnnotationBoxed);
    connect(&FEditor, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int position, int modificationType, const char*, int, int linesAdded, int, int,
                   int, int, int) { TextModified(position, modificationType, linesAdded); });
    // The annotation is cut at the editor's width; the whole message shows over the line.
    FEditor.SendScintilla(QsciScintillaBase::SCI_SETMOUSEDWELLTIME, kDwellMs);
    connect(&FEditor, &QsciScintillaBase::SCN_DWELLSTART, this,
            [this](int, int x, int y) { PointerRested(QPoint(x, y)); });
    connect(&FEditor, &QsciScintillaBase::SCN_DWELLEND, this, [] { QToolTip::hideText(); });
}

void TFailedLineMark::PointerRested(QPoint point)
{
    if (FHandle < 0)
        return;
    // Over the margins there is no text position, so the line comes from the height alone.
    const long position = FEditor.SendScintilla(
        QsciScintillaBase::SCI_POSITIONFROMPOINT,
        static_cast<unsigned long>(FEditor.marginWidth(0) + FEditor.marginWidth(kMarkMargin)),
        static_cast<long>(point.y()));
    if (FEditor.SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, position) == Line())
        QToolTip::showText(FEditor.viewport()->mapToGlobal(point), FMessage, &FEditor);
}

void TFailedLineMark::Show(int line, const QString& message)
{
    Clear();
    if (line < 0 || line >= FEditor.lines())
        return;
    FMessage = message;
    FEditor.setMarginWidth(kMarkMargin, kMarkMarginWidthPx);
    FHandle = FEditor.markerAdd(line, kMarker);
    FEditor.annotate(line, message, FMessageStyle);
    FEditor.setCursorPosition(line, 0);
    FEditor.ensureLineVisible(line);
}

void TFailedLineMark::Clear()
{
    if (FHandle < 0)
        return;
    FEditor.markerDeleteHandle(FHandle);
    FHandle = -1;
    FMessage.clear();
    FEditor.clearAnnotations();
    FEditor.setMarginWidth(kMarkMargin, 0);
}

int TFailedLineMark::Line() const
{
    return FHandle < 0 ? -1 : FEditor.markerLine(FHandle);
}

// An edit that starts on the marked line, or joins lines into it, ends the mark.
void TFailedLineMark::TextModified(int position, int modificationType, int linesAdded)
{
    if (FHandle < 0 || (modificationType & kTextChangeMask) == 0)
        return;
    const int marked = Line();
    const int first =
        static_cast<int>(FEditor.SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, position));
    const int last = first + std::max(linesAdded, 0);
    if (marked < 0 || (marked >= first && marked <= last))
        Clear();
}
