#include "editor/GCodeEditor.h"

#include "edit/LineDiff.h"
#include "editor/EditorAccessible.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCursor>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <optional>
#include <string_view>

#include "gcode/LineSplit.h"

namespace {

constexpr const char* kPreferredFontFamily = "Courier New";
constexpr int kTextCharHeightPx = 13;
constexpr int kGutterCharHeightPx = 11;
constexpr int kPointsPerInch = 72;

// The line-number gutter is the only margin.
constexpr int kMarginCount = 1;
constexpr int kGutterMargin = 0;
constexpr int kGutterLeftOffsetPx = 5;
// Scintilla keeps this much room right of the line numbers.
constexpr int kGutterNumberPaddingPx = 3;
constexpr int kDecimalBase = 10;
// Scintilla never zooms a font below this size.
constexpr qreal kMinimumZoomedPt = 2;

// A large text is loaded in parts of this size, so that a load can tell how far it has come.
constexpr std::size_t kLoadPartBytes = std::size_t{8} << 20;
// Scintilla grows its text buffer unless more than the bytes it is about to add stay free.
constexpr std::size_t kTerminatorRoom = 2;

constexpr int kTextChangeMask =
    QsciScintillaBase::SC_MOD_INSERTTEXT | QsciScintillaBase::SC_MOD_DELETETEXT;

std::optional<TGCodeEditor::TLineBreak> FirstLineBreak(std::string_view text)
{
    const std::size_t at = text.find_first_of("\r\n");
    if (at == std::string_view::npos)
        return std::nullopt;
    if (text[at] == '\n')
        return TGCodeEditor::TLineBreak::Lf;
    if (at + 1 < text.size() && text[at + 1] == '\n')
        return TGCodeEditor::TLineBreak::CrLf;
    return TGCodeEditor::TLineBreak::Cr;
}

std::string_view LineBreakBytes(TGCodeEditor::TLineBreak lineBreak)
{
    switch (lineBreak) {
    case TGCodeEditor::TLineBreak::Lf:
        return "\n";
    case TGCodeEditor::TLineBreak::Cr:
        return "\r";
    case TGCodeEditor::TLineBreak::CrLf:
        break;
    }
    return "\r\n";
}

QsciScintilla::EolMode EolModeOf(TGCodeEditor::TLineBreak lineBreak)
{
    switch (lineBreak) {
    case TGCodeEditor::TLineBreak::Lf:
        return QsciScintilla::EolUnix;
    case TGCodeEditor::TLineBreak::Cr:
        return QsciScintilla::EolMac;
    case TGCodeEditor::TLineBreak::CrLf:
        break;
    }
    return QsciScintilla::EolWindows;
}

int DigitCount(int number)
{
    int digits = 1;
    for (; number >= kDecimalBase; number /= kDecimalBase)
        ++digits;
    return digits;
}

}  // namespace

TGCodeEditor::TGCodeEditor(QWidget* parent) : QsciScintilla(parent)
{
    UsePlainAccessibleWhileUnheard(staticMetaObject.className());
    setUtf8(true);
    setEolMode(EolModeOf(FLineBreak));
    SetUpFonts();
    SetUpGutter();
    ConnectSignals();
}

void TGCodeEditor::SetUpFonts()
{
    // Scintilla sizes its fonts in points, so the pixel heights are converted at this screen's
    // resolution.
    const auto fixedFont = [this](int charHeightPx) {
        QFont font = QFontDatabase::hasFamily(kPreferredFontFamily)
                         ? QFont(kPreferredFontFamily)
                         : QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPointSizeF(static_cast<qreal>(charHeightPx) * kPointsPerInch / logicalDpiY());
        return font;
    };
    FTextFont = fixedFont(kTextCharHeightPx);
    FGutterFont = fixedFont(kGutterCharHeightPx);
    ApplyFonts();
}

void TGCodeEditor::ApplyFonts()
{
    // Without a lexer the text font is every style's; setting it resets the gutter's style too,
    // so the gutter font comes second.
    if (!lexer())
        setFont(FTextFont);
    setMarginsFont(FGutterFont);
}

void TGCodeEditor::SetHighlighter(std::unique_ptr<THighlighter> highlighter)
{
    std::unique_ptr<THighlighterLexer> lexer;
    if (highlighter) {
        // The lexer's plain style is the editor's own text: its font and palette colours.
        lexer = std::make_unique<THighlighterLexer>(*highlighter);
        lexer->setDefaultFont(FTextFont);
        lexer->setDefaultColor(palette().color(QPalette::Text));
        lexer->setDefaultPaper(palette().color(QPalette::Base));
    }
    setLexer(lexer.get());
    // Old lexer before old highlighter: the lexer unregisters from it.
    FHighlighterLexer = std::move(lexer);
    FHighlighter = std::move(highlighter);
}

void TGCodeEditor::setLexer(QsciLexer* lexer)
{
    QsciScintilla::setLexer(lexer);
    ApplyFonts();
}

void TGCodeEditor::SetUpGutter()
{
    setMargins(kMarginCount);
    setMarginType(kGutterMargin, NumberMargin);
    setMarginLineNumbers(kGutterMargin, true);
    UpdateGutterWidth();
}

void TGCodeEditor::ConnectSignals()
{
    connect(this, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int, int modificationType, const char*, int, int, int, int, int, int, int) {
                TextChanged(modificationType);
            });
    connect(this, &QsciScintilla::linesChanged, this, &TGCodeEditor::UpdateGutterWidth);
    connect(this, &QsciScintilla::cursorPositionChanged, this, &TGCodeEditor::ReportCaret);
    connect(this, &QsciScintillaBase::SCN_ZOOM, this, &TGCodeEditor::UpdateGutterWidth);

    // QsciScintilla reports modificationChanged from Scintilla's save point, which a load and an
    // undo move; the signal is emitted from the flag of this class instead.
    disconnect(this, &QsciScintillaBase::SCN_SAVEPOINTREACHED, nullptr, nullptr);
    disconnect(this, &QsciScintillaBase::SCN_SAVEPOINTLEFT, nullptr, nullptr);

    QScrollBar* bar = verticalScrollBar();
    connect(bar, &QScrollBar::sliderPressed, this, &TGCodeEditor::ShowScrollHint);
    connect(bar, &QScrollBar::valueChanged, this, &TGCodeEditor::ShowScrollHint);
    connect(bar, &QScrollBar::sliderReleased, this, [] { QToolTip::hideText(); });
}

std::string_view TGCodeEditor::CharacterData() const
{
    const auto* data = static_cast<const char*>(SendScintillaPtrResult(SCI_GETCHARACTERPOINTER));
    return {data, static_cast<std::size_t>(SendScintilla(SCI_GETLENGTH))};
}

void TGCodeEditor::ReplaceAllWithoutUndo(std::size_t size, const TTextSource& next,
                                         const TLoadProgress& progress, const TTextGrown& grown)
{
    const QScopedValueRollback replacing(FReplacingAll, true);
    const bool readOnly = isReadOnly();
    const int linesBefore = lines();
    SendScintilla(SCI_SETREADONLY, false);
    SendScintilla(SCI_SETUNDOCOLLECTION, false);
    // Without change notices: QScintilla copies the changed text into each notice and converts
    // it to UTF-16 for accessibility, a transient of three times the text for a large file.
    // Whoever listens is told below that everything changed.
    const long eventMask = SendScintilla(SCI_GETMODEVENTMASK);
    SendScintilla(SCI_SETMODEVENTMASK, 0UL);
    SendScintilla(SCI_CLEARALL);
    // Room for the whole text at once, so that the parts below never move what came before,
    // and a few bytes more: Scintilla hands out the text (SCI_GETCHARACTERPOINTER, which every
    // run reads) only with room for a terminating NUL beyond it, and a full buffer would be
    // copied into one a sixth larger for that, twice the text for a moment.
    SendScintilla(SCI_ALLOCATE, static_cast<unsigned long>(size + kTerminatorRoom));
    // Also when the source fails: the editor keeps the parts it has, in its usual state.
    const auto finish = [&] {
        SendScintilla(SCI_SETMODEVENTMASK, static_cast<unsigned long>(eventMask));
        SendScintilla(SCI_EMPTYUNDOBUFFER);
        SendScintilla(SCI_SETUNDOCOLLECTION, true);
        SendScintilla(SCI_SETREADONLY, readOnly);
        // Scintilla keeps the caret's offset and the scroll position of the text before, which
        // could leave the new text scrolled out of sight: a new text starts at its top-left.
        SendScintilla(SCI_SETEMPTYSELECTION, 0UL);
        SendScintilla(SCI_SETFIRSTVISIBLELINE, 0UL);
        SendScintilla(SCI_SETXOFFSET, 0UL);
        if (FHighlighterLexer)
            FHighlighterLexer->TextReplaced();
        UpdateUndoAvailable();
        emit textChanged();
        if (lines() != linesBefore)
            emit linesChanged();
    };
    try {
        std::size_t done = 0;
        for (;;) {
            const std::string_view part = next();
            if (part.empty())
                break;
            if (progress)
                progress(done, size);
            // An explicit length keeps NUL bytes, which SCI_SETTEXT would stop at.
            SendScintilla(SCI_APPENDTEXT, static_cast<uintptr_t>(part.size()), part.data());
            done += part.size();
            if (grown)
                grown(CharacterData());
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

void TGCodeEditor::SetTextBytes(const QByteArray& text, const TLoadProgress& progress)
{
    std::string_view rest(text.constData(), static_cast<std::size_t>(text.size()));
    SetTextFrom(
        rest.size(),
        [&rest] {
            const std::string_view part = rest.substr(0, kLoadPartBytes);
            rest.remove_prefix(part.size());
            return part;
        },
        progress);
}

void TGCodeEditor::SetTextFrom(std::size_t size, const TTextSource& next,
                               const TLoadProgress& progress, const TTextGrown& grown)
{
    // The first line break of whatever text the editor then holds, also after a failed load.
    const auto setLineBreak = [this] {
        FLineBreak = FirstLineBreak(CharacterData()).value_or(TLineBreak::CrLf);
        setEolMode(EolModeOf(FLineBreak));
    };
    try {
        ReplaceAllWithoutUndo(size, next, progress, grown);
    } catch (...) {
        setLineBreak();
        throw;
    }
    setLineBreak();
}

void TGCodeEditor::ReplaceLines(const std::vector<std::string>& lines)
{
    const TLineList current = LinesView();
    std::vector<std::string_view> before(current.size());
    for (std::size_t i = 0; i < current.size(); ++i)
        before[i] = current[i];
    const std::vector<TDiffHunk> hunks = DiffLines(before, {lines.begin(), lines.end()});
    if (hunks.empty())
        return;
    const std::string_view lineBreak = LineBreakBytes(FLineBreak);
    const std::size_t count = current.size();
    const auto position = [this](std::size_t line) {
        return SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    };
    const long length = SendScintilla(SCI_GETLENGTH);
    beginUndoAction();
    // From the last change up, so the lines above keep their positions.
    for (auto hunk = hunks.rbegin(); hunk != hunks.rend(); ++hunk) {
        std::string text;
        for (std::size_t i = hunk->RightBegin; i < hunk->RightEnd; ++i) {
            if (i > hunk->RightBegin)
                text += lineBreak;
            text += lines[i];
        }
        const bool added = hunk->RightEnd > hunk->RightBegin;
        long start = hunk->LeftBegin < count ? position(hunk->LeftBegin) : length;
        const long end = hunk->LeftEnd < count ? position(hunk->LeftEnd) : length;
        if (hunk->LeftEnd < count && added) {
            text += lineBreak;
        } else if (hunk->LeftEnd >= count && hunk->LeftBegin >= count) {
            text = std::string(lineBreak) + text;  // lines added after the last one
        } else if (hunk->LeftEnd >= count && !added && hunk->LeftBegin > 0) {
            // The last lines removed: the break before them goes too.
            start = SendScintilla(SCI_GETLINEENDPOSITION,
                                  static_cast<unsigned long>(hunk->LeftBegin - 1));
        }
        SendScintilla(SCI_SETTARGETRANGE, static_cast<unsigned long>(start), end);
        SendScintilla(SCI_REPLACETARGET, static_cast<uintptr_t>(text.size()), text.data());
    }
    endUndoAction();
}

QByteArray TGCodeEditor::TextBytes() const
{
    const std::string_view text = CharacterData();
    const std::string_view lineBreak = LineBreakBytes(FLineBreak);
    QByteArray bytes;
    // Room for the text when every break is already of the remembered style.
    bytes.reserve(static_cast<qsizetype>(text.size()));
    bool first = true;
    ForEachLine(text, [&](std::string_view line) {
        if (!first)
            bytes.append(lineBreak.data(), static_cast<qsizetype>(lineBreak.size()));
        first = false;
        bytes.append(line.data(), static_cast<qsizetype>(line.size()));
    });
    return bytes;
}

TLineList TGCodeEditor::Lines() const
{
    return TLineList(std::string(CharacterData()));
}

TLineList TGCodeEditor::LinesView() const
{
    return TLineList::View(CharacterData());
}

void TGCodeEditor::setModified(bool modified)
{
    SetModified(modified);
}

void TGCodeEditor::SetModified(bool modified)
{
    if (modified == FModified)
        return;
    FModified = modified;
    emit modificationChanged(FModified);
}

void TGCodeEditor::ClearAll()
{
    ReplaceAllWithoutUndo(0, [] { return std::string_view(); }, {}, {});
    SetModified(false);
}

void TGCodeEditor::TextChanged(int modificationType)
{
    if ((modificationType & kTextChangeMask) == 0)
        return;
    if (!FReplacingAll)
        SetModified(true);
    UpdateUndoAvailable();
}

bool TGCodeEditor::CanUndo() const
{
    return !isReadOnly() && isUndoAvailable();
}

bool TGCodeEditor::CanRedo() const
{
    return !isReadOnly() && isRedoAvailable();
}

void TGCodeEditor::UpdateUndoAvailable()
{
    const bool undo = CanUndo();
    const bool redo = CanRedo();
    if (undo != FUndoAvailable) {
        FUndoAvailable = undo;
        emit UndoAvailableChanged(FUndoAvailable);
    }
    if (redo != FRedoAvailable) {
        FRedoAvailable = redo;
        emit RedoAvailableChanged(FRedoAvailable);
    }
}

void TGCodeEditor::GoToLine(int line)
{
    const int index = std::clamp(line, 1, lines()) - 1;
    SendScintilla(SCI_GOTOLINE, static_cast<unsigned long>(index));
    SendScintilla(SCI_VERTICALCENTRECARET);
}

void TGCodeEditor::setReadOnly(bool readOnly)
{
    QsciScintilla::setReadOnly(readOnly);
    UpdateUndoAvailable();
}

bool TGCodeEditor::HasSelectedText() const
{
    return hasSelectedText();
}

void TGCodeEditor::DeleteSelection()
{
    if (hasSelectedText())
        removeSelectedText();
}

void TGCodeEditor::SetContextMenu(QMenu* menu)
{
    FContextMenu = menu;
}

bool TGCodeEditor::event(QEvent* event)
{
    // QScintilla claims every key it has a command for (Ctrl+Z, Ctrl+C, Del, ...), which would
    // keep the window's actions from ever seeing their shortcuts. A key that is the shortcut of
    // an enabled action goes to that action; the key of a disabled one still reaches the editor.
    if (event->type() == QEvent::ShortcutOverride &&
        IsEnabledWindowShortcut(*static_cast<QKeyEvent*>(event))) {
        event->ignore();
        return true;
    }
    const bool handled = QsciScintilla::event(event);
    if (event->type() == QEvent::KeyPress)
        ReportCaret();
    return handled;
}

bool TGCodeEditor::viewportEvent(QEvent* event)
{
    const bool handled = QsciScintilla::viewportEvent(event);
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseMove)
        ReportCaret();
    return handled;
}

void TGCodeEditor::ReportCaret()
{
    const long position = SendScintilla(SCI_GETCURRENTPOS);
    if (position == FReportedCaret)
        return;
    FReportedCaret = position;
    int line = 0;
    int index = 0;
    getCursorPosition(&line, &index);
    emit CaretMoved(line, index);
}

bool TGCodeEditor::IsEnabledWindowShortcut(const QKeyEvent& key) const
{
    const QKeySequence pressed(key.keyCombination());
    const QList<QAction*> actions = window()->findChildren<QAction*>();
    return std::any_of(actions.cbegin(), actions.cend(), [&pressed](const QAction* action) {
        return action->isEnabled() && action->shortcutContext() != Qt::WidgetShortcut &&
               action->shortcuts().contains(pressed);
    });
}

QMenu* TGCodeEditor::ContextMenu() const
{
    return FContextMenu;
}

void TGCodeEditor::contextMenuEvent(QContextMenuEvent* event)
{
    if (!FContextMenu) {
        QsciScintilla::contextMenuEvent(event);
        return;
    }
    FContextMenu->popup(event->globalPos());
    event->accept();
}

void TGCodeEditor::wheelEvent(QWheelEvent* event)
{
    // Every turn scrolls (QsciScintilla would zoom while Ctrl is held) and is taken even at the
    // top or bottom, so that it never reaches the widgets behind.
    QsciScintillaBase::wheelEvent(event);
    event->accept();
}

void TGCodeEditor::UpdateGutterWidth()
{
    const int digits = DigitCount(lines());
    const int zoomPt = static_cast<int>(SendScintilla(SCI_GETZOOM));
    if (digits == FGutterDigits && zoomPt == FGutterZoomPt)
        return;
    FGutterDigits = digits;
    FGutterZoomPt = zoomPt;
    // Scintilla draws every style this many points larger or smaller (Ctrl+keypad plus/minus).
    QFont font = FGutterFont;
    font.setPointSizeF(std::max(font.pointSizeF() + zoomPt, kMinimumZoomedPt));
    const int numbersWidth =
        QFontMetrics(font).horizontalAdvance(QString(digits, QLatin1Char('9')));
    setMarginWidth(kGutterMargin, kGutterLeftOffsetPx + numbersWidth + kGutterNumberPaddingPx);
}

void TGCodeEditor::ShowScrollHint()
{
    const QScrollBar* bar = verticalScrollBar();
    if (!bar->isSliderDown())
        return;
    const long firstVisible = SendScintilla(SCI_GETFIRSTVISIBLELINE);
    const long lastVisible = firstVisible + std::max(SendScintilla(SCI_LINESONSCREEN), 1L) - 1;
    const long first = SendScintilla(SCI_DOCLINEFROMVISIBLE, firstVisible);
    const long last =
        std::min<long>(SendScintilla(SCI_DOCLINEFROMVISIBLE, lastVisible), lines() - 1);
    // Beside the scroll bar, level with the pointer that drags the slider.
    const int y = std::clamp(bar->mapFromGlobal(QCursor::pos()).y(), 0, bar->height());
    QToolTip::showText(bar->mapToGlobal(QPoint(0, y)),
                       QStringLiteral("Lines %1 - %2").arg(first + 1).arg(last + 1), this);
}
