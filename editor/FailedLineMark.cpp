#include "editor/FailedLineMark.h"

#include "editor/GCodeEditor.h"

#include <QColor>
#include <QToolTip>

#include <algorithm>

namespace {

constexpr int kMarkMargin = 1; // beside the line numbers
constexpr int kMarkMarginWidthPx = 14;
constexpr int kMarker = 1;
constexpr int kTextChangeMask = QsciScintillaBase::SC_MOD_INSERTTEXT | QsciScintillaBase::SC_MOD_DELETETEXT;
const QColor kMarkerColour(0xD0, 0x20, 0x20);
const QColor kMessageColour(0x80, 0x00, 0x00);
const QColor kMessagePaper(0xFF, 0xE4, 0xE1);
constexpr int kDwellMs = 400; // resting the pointer this long on the line shows the message

} // namespace

TFailedLineMark::TFailedLineMark(TGCodeEditor& editor)
    : QObject(&editor), fEditor(editor),
      fMessageStyle(-1, QStringLiteral("Failed line"), kMessageColour, kMessagePaper, editor.TextFont())
{
    fEditor.setMargins(std::max(fEditor.margins(), kMarkMargin + 1));
    fEditor.setMarginType(kMarkMargin, QsciScintilla::SymbolMargin);
    fEditor.setMarginMarkerMask(kMarkMargin, 1 << kMarker);
    fEditor.setMarginWidth(kMarkMargin, 0);
    fEditor.markerDefine(QsciScintilla::Circle, kMarker);
    fEditor.setMarkerBackgroundColor(kMarkerColour, kMarker);
    fEditor.setMarkerForegroundColor(kMarkerColour, kMarker);
    fEditor.setAnnotationDisplay(QsciScintilla::AnnotationBoxed);
    connect(&fEditor, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int position, int modificationType, const char*, int, int linesAdded, int, int,
                   int, int, int) { TextModified(position, modificationType, linesAdded); });
    // The annotation is cut at the editor's width; the whole message shows over the line.
    fEditor.SendScintilla(QsciScintillaBase::SCI_SETMOUSEDWELLTIME, kDwellMs);
    connect(&fEditor, &QsciScintillaBase::SCN_DWELLSTART, this,
            [this](int, int x, int y) { PointerRested(QPoint(x, y)); });
    connect(&fEditor, &QsciScintillaBase::SCN_DWELLEND, this, [] { QToolTip::hideText(); });
}

void TFailedLineMark::PointerRested(QPoint point)
{
    if (fHandle < 0)
        return;
    // Over the margins there is no text position, so the line comes from the height alone.
    const long position = fEditor.SendScintilla(QsciScintillaBase::SCI_POSITIONFROMPOINT,
                                                 static_cast<unsigned long>(fEditor.marginWidth(0) + fEditor.marginWidth(kMarkMargin)),
                                                 static_cast<long>(point.y()));
    if (fEditor.SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, position) == Line())
        QToolTip::showText(fEditor.viewport()->mapToGlobal(point), fMessage, &fEditor);
}

void TFailedLineMark::Show(int line, const QString& message)
{
    Clear();
    if (line < 0 || line >= fEditor.lines())
        return;
    fMessage = message;
    fEditor.setMarginWidth(kMarkMargin, kMarkMarginWidthPx);
    fHandle = fEditor.markerAdd(line, kMarker);
    fEditor.annotate(line, message, fMessageStyle);
    fEditor.setCursorPosition(line, 0);
    fEditor.ensureLineVisible(line);
}

void TFailedLineMark::Clear()
{
    if (fHandle < 0)
        return;
    fEditor.markerDeleteHandle(fHandle);
    fHandle = -1;
    fMessage.clear();
    fEditor.clearAnnotations();
    fEditor.setMarginWidth(kMarkMargin, 0);
}

int TFailedLineMark::Line() const
{
    return fHandle < 0 ? -1 : fEditor.markerLine(fHandle);
}

// An edit that starts on the marked line, or joins lines into it, ends the mark.
void TFailedLineMark::TextModified(int position, int modificationType, int linesAdded)
{
    if (fHandle < 0 || (modificationType & kTextChangeMask) == 0)
        return;
    const int marked = Line();
    const int first = static_cast<int>(fEditor.SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, position));
    const int last = first + std::max(linesAdded, 0);
    if (marked < 0 || (marked >= first && marked <= last))
        Clear();
}
