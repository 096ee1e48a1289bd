#include "editor/HighlighterLexer.h"

#include "common/Error.h"
#include "common/Guard.h"
#include "editor/SystemColors.h"

#include <Qsci/qsciscintilla.h>

#include <QEvent>
#include <QGuiApplication>
#include <QMetaObject>
#include <QPaintEvent>
#include <QtGlobal>

#include <algorithm>
#include <climits>
#include <exception>
#include <optional>
#include <string_view>

namespace {

constexpr char kInfiniteLoopMessage[] = "The highlighter seems to be in an infinite loop";
constexpr char kPlainStyleDescription[] = "Default";
constexpr int kPlainStyle = 0;
constexpr int kFirstAttributeStyle = 1;
constexpr int kStyleCount = QsciScintillaBase::STYLE_MAX + 1;
constexpr int kStrikeOutIndicator = QsciScintillaBase::INDIC_MAX;
constexpr int kFirstByteValue = 1;  // NUL ends a string: it can never be a word character
constexpr int kByteValues = 256;
// Shorter stretches above the shown lines are styled at once: marking them would save less than
// it costs to style them when they are shown.
constexpr int kMinSkippedLines = 4096;

bool IsPredefinedStyle(int style)
{
    return style >= QsciScintillaBase::STYLE_DEFAULT &&
           style <= QsciScintillaBase::STYLE_LASTPREDEFINED;
}

// Scintilla colours and indicator values share the layout of TColor: red in the low byte.
constexpr int kGreenShiftBits = 8;
constexpr int kBlueShiftBits = 16;

long IndicatorValue(const QColor& colour)
{
    return QsciScintillaBase::SC_INDICVALUEBIT |
           (static_cast<long>(colour.blue()) << kBlueShiftBits) |
           (static_cast<long>(colour.green()) << kGreenShiftBits) | static_cast<long>(colour.red());
}

}  // namespace

THighlighterLexer::THighlighterLexer(THighlighter& highlighter, QObject* parent)
    : QsciLexerCustom(parent), FHighlighter(highlighter),
      FLanguage(QByteArray::fromStdString(highlighter.LanguageTitle()))
{
    OnError = [](const QString& message) { qWarning("%s", qPrintable(message)); };
    for (int c = kFirstByteValue; c < kByteValues; ++c) {
        if (highlighter.IdentifierChars().test(static_cast<std::size_t>(c)))
            FWordCharacters.append(static_cast<char>(c));
    }
    setDefaultColor(ColorToQColor(clWindowText));
    setDefaultPaper(ColorToQColor(clWindow));
    RebuildStyleMap();
    FHighlighter.ResetLineState();
    FStartState = static_cast<int>(FHighlighter.LineState());
    FListenerId = FHighlighter.AddChangeListener([this] { HighlighterChanged(); });
}

THighlighterLexer::~THighlighterLexer()
{
    FHighlighter.RemoveChangeListener(FListenerId);
}

int THighlighterLexer::StrikeOutIndicator()
{
    return kStrikeOutIndicator;
}

void THighlighterLexer::RebuildStyleMap()
{
    FStyleAttributes.assign(kFirstAttributeStyle, nullptr);
    int style = kFirstAttributeStyle;
    for (int i = 0; i < FHighlighter.AttributeCount(); ++i) {
        while (IsPredefinedStyle(style)) {
            FStyleAttributes.push_back(nullptr);
            ++style;
        }
        if (style >= kStyleCount)
            break;  // more attributes than Scintilla has styles: the rest draw plain
        FStyleAttributes.push_back(FHighlighter.AttributeAt(i));
        ++style;
    }
}

int THighlighterLexer::StyleOf(const TTokenAttribute* attribute) const
{
    if (attribute == nullptr)
        return kPlainStyle;
    const auto found = std::find(FStyleAttributes.begin(), FStyleAttributes.end(), attribute);
    return found == FStyleAttributes.end() ? kPlainStyle
                                           : static_cast<int>(found - FStyleAttributes.begin());
}

const TTokenAttribute* THighlighterLexer::AttributeOfStyle(int style) const
{
    if (style < 0 || style >= static_cast<int>(FStyleAttributes.size()))
        return nullptr;
    return FStyleAttributes[static_cast<std::size_t>(style)];
}

const char* THighlighterLexer::language() const
{
    return FLanguage.constData();
}

QString THighlighterLexer::description(int style) const
{
    if (style == kPlainStyle || style == QsciScintillaBase::STYLE_DEFAULT)
        return QString::fromLatin1(kPlainStyleDescription);
    const TTokenAttribute* attribute = AttributeOfStyle(style);
    return attribute ? QString::fromStdString(attribute->Name()) : QString();
}

QColor THighlighterLexer::TextColor(int style) const
{
    const TTokenAttribute* attribute = AttributeOfStyle(style);
    const QPalette palette = editor() ? editor()->palette() : QGuiApplication::palette();
    const QColor colour = attribute ? ColorToQColor(attribute->Foreground(), palette) : QColor();
    return colour.isValid() ? colour : defaultColor();
}

QColor THighlighterLexer::color(int style) const
{
    return TextColor(style);
}

QColor THighlighterLexer::paper(int style) const
{
    // A token without a background of its own takes the white-space attribute's, if the
    // highlighter has one, else the editor's own.
    const TTokenAttribute* attribute = AttributeOfStyle(style);
    if (attribute == nullptr)
        return defaultPaper();
    const QPalette palette = editor() ? editor()->palette() : QGuiApplication::palette();
    QColor colour = ColorToQColor(attribute->Background(), palette);
    if (!colour.isValid()) {
        if (const TTokenAttribute* whiteSpace = FHighlighter.DefaultAttribute(kRoleWhiteSpace))
            colour = ColorToQColor(whiteSpace->Background(), palette);
    }
    return colour.isValid() ? colour : defaultPaper();
}

QFont THighlighterLexer::font(int style) const
{
    QFont styled = defaultFont();
    if (const TTokenAttribute* attribute = AttributeOfStyle(style)) {
        styled.setBold((attribute->Style() & fsBold) != 0);
        styled.setItalic((attribute->Style() & fsItalic) != 0);
        styled.setUnderline((attribute->Style() & fsUnderline) != 0);
    }
    return styled;
}

const char* THighlighterLexer::wordCharacters() const
{
    return FWordCharacters.constData();
}

void THighlighterLexer::RefreshStyles()
{
    for (int style = 0; style < static_cast<int>(FStyleAttributes.size()); ++style) {
        if (style != kPlainStyle && FStyleAttributes[static_cast<std::size_t>(style)] == nullptr)
            continue;
        emit colorChanged(color(style), style);
        emit paperChanged(paper(style), style);
        emit fontChanged(font(style), style);
    }
}

void THighlighterLexer::TextReplaced()
{
    FValidLines = {};
    FUnstyled.Clear();
    FLineStates.Clear();
    FPendingState = TPendingState::None;
}

void THighlighterLexer::setEditor(QsciScintilla* editor)
{
    if (QsciScintilla* previous = this->editor()) {
        disconnect(previous, &QsciScintillaBase::SCN_MODIFIED, this, nullptr);
        previous->viewport()->removeEventFilter(this);
    }
    QsciLexerCustom::setEditor(editor);
    FValidLines = {};
    FUnstyled.Clear();
    FLineStates.Clear();
    FPendingState = TPendingState::None;
    FStrikeOutDrawn = false;
    if (editor == nullptr)
        return;

    connect(editor, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int position, int modificationType, const char*, int length, int, int, int, int,
                   int, int) { DocumentModified(position, modificationType, length); });
    // The notices before a change tell which lines were styled and how the line above ended.
    constexpr long kNeededNotices =
        QsciScintillaBase::SC_MOD_INSERTTEXT | QsciScintillaBase::SC_MOD_DELETETEXT |
        QsciScintillaBase::SC_MOD_BEFOREINSERT | QsciScintillaBase::SC_MOD_BEFOREDELETE;
    Send(QsciScintillaBase::SCI_SETMODEVENTMASK,
         static_cast<unsigned long>(Send(QsciScintillaBase::SCI_GETMODEVENTMASK) | kNeededNotices));
    editor->SendScintilla(QsciScintillaBase::SCI_SETWORDCHARS, FWordCharacters.constData());
    Send(QsciScintillaBase::SCI_INDICSETSTYLE, kStrikeOutIndicator,
         QsciScintillaBase::INDIC_STRIKE);
    Send(QsciScintillaBase::SCI_INDICSETFLAGS, kStrikeOutIndicator,
         QsciScintillaBase::SC_INDICFLAG_VALUEBEFORE);
    // Whatever styled this document before, our line states start from nothing.
    startStyling(0);
    editor->viewport()->installEventFilter(this);
}

bool THighlighterLexer::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint && !FUnstyled.Empty() && editor() != nullptr &&
        watched == editor()->viewport())
        StyleWhenPainted(static_cast<QPaintEvent*>(event)->rect());
    return QsciLexerCustom::eventFilter(watched, event);
}

void THighlighterLexer::StyleWhenPainted(const QRect& area)
{
    // Scintilla asks for the styles of what it paints only past its end of styling. Moving that
    // back to the first unstyled line drawn has the paint ask for it: styles set while Scintilla
    // paints, inside the painted area, cost no second paint.
    using Base = QsciScintillaBase;
    const long lineHeight = std::max(Send(Base::SCI_TEXTHEIGHT), 1L);
    const long firstShown = Send(Base::SCI_GETFIRSTVISIBLELINE);
    const auto docLine = [&](int y) {
        return static_cast<int>(Send(Base::SCI_DOCLINEFROMVISIBLE,
                                     static_cast<unsigned long>(firstShown + y / lineHeight)));
    };
    const int end = std::min(docLine(std::max(area.bottom(), 0)) + 1, StyledLineCount());
    if (const std::optional<int> line = FUnstyled.FirstIn(docLine(std::max(area.top(), 0)), end))
        startStyling(LineStart(*line));
}

void THighlighterLexer::HighlighterChanged()
{
    RebuildStyleMap();
    RefreshStyles();
    if (editor() == nullptr)
        return;
    // Enabled or a strike-out may have changed: every line is styled again as it is shown.
    FValidLines = {};
    FUnstyled.Clear();
    FLineStates.Clear();
    startStyling(0);
    editor()->viewport()->update();
}

void THighlighterLexer::DocumentModified(int position, int modificationType, int length)
{
    using Base = QsciScintillaBase;
    if (modificationType & (Base::SC_MOD_BEFOREINSERT | Base::SC_MOD_BEFOREDELETE)) {
        // Lines below the changed ones keep their styles if the changed text ends in the state
        // it ended in before; remember which lines those are and what that state was.
        const int line = static_cast<int>(Send(Base::SCI_LINEFROMPOSITION, position));
        const int lastLine =
            (modificationType & Base::SC_MOD_BEFOREDELETE)
                ? static_cast<int>(Send(Base::SCI_LINEFROMPOSITION, position + length))
                : line;
        const int styledLines = StyledLineCount();
        TValidLines valid;
        if (styledLines > lastLine + 1)
            valid = {lastLine + 1, styledLines, LineStateOf(lastLine)};
        else if (!FValidLines.Empty() && FValidLines.end > lastLine + 1) {
            valid = FValidLines;
            if (valid.first <= lastLine)
                valid = {lastLine + 1, valid.end, LineStateOf(lastLine)};
        }
        FPending = {valid, line, lastLine + 1, static_cast<int>(Send(Base::SCI_GETLINECOUNT)),
                    Send(Base::SCI_GETLENGTH)};
        FPendingState = TPendingState::Waiting;
    } else if (modificationType & (Base::SC_MOD_INSERTTEXT | Base::SC_MOD_DELETETEXT)) {
        ApplyPendingModification();
        if (FPendingState != TPendingState::Applied) {
            // A change without the notice before it: trust nothing below.
            const int line = static_cast<int>(Send(Base::SCI_LINEFROMPOSITION, position));
            FValidLines = {};
            FUnstyled.Remove(line, INT_MAX);
            FLineStates.Set(line, INT_MAX, TLineStates::kUnset);
        }
        FPendingState = TPendingState::None;
    }
}

void THighlighterLexer::ApplyPendingModification()
{
    // Other receivers of the change notice (QScintilla's own among them) may ask for styling
    // before our notice arrives: as soon as the text has changed, shift the lines.
    using Base = QsciScintillaBase;
    if (FPendingState != TPendingState::Waiting || Send(Base::SCI_GETLENGTH) == FPending.length)
        return;
    const int linesAdded = static_cast<int>(Send(Base::SCI_GETLINECOUNT)) - FPending.lineCount;
    FUnstyled.Replace(FPending.firstChanged, FPending.endChanged, linesAdded);
    FLineStates.Replace(FPending.firstChanged, FPending.endChanged, linesAdded);
    FValidLines = FPending.validLines;
    FValidLines.first += linesAdded;
    FValidLines.end += linesAdded;
    if (FValidLines.Empty())
        FValidLines = {};
    FPendingState = TPendingState::Applied;
}

void THighlighterLexer::styleText(int start, int end)
{
    if (editor() == nullptr || end <= start)
        return;
    ApplyPendingModification();
    int line = static_cast<int>(Send(QsciScintillaBase::SCI_LINEFROMPOSITION, start));
    const int lastLine = static_cast<int>(Send(QsciScintillaBase::SCI_LINEFROMPOSITION, end - 1));
    Guarded(
        [&] {
            SkipToShown(line, lastLine);
            StyleLines(line, lastLine);
        },
        [&] {
            // Draw what is left plain so that painting completes, and report after the paint.
            FValidLines = {};
            StylePlain(line, std::max(line, lastLine));
            const QString message = QString::fromUtf8(CurrentExceptionMessage());
            QMetaObject::invokeMethod(
                this,
                [this, message] {
                    if (OnError)
                        OnError(message);
                },
                Qt::QueuedConnection);
        });
}

void THighlighterLexer::SkipToShown(int& line, int lastLine)
{
    const int firstShown = FirstVisibleLine();
    if (firstShown - line < kMinSkippedLines || firstShown > lastLine)
        return;
    if (line > 0 && LineStateOf(line - 1) != FStartState)
        return;
    const int begin = LineStart(line);
    const int length = LineStart(firstShown) - begin;
    const auto* text = reinterpret_cast<const char*>(
        Send(QsciScintillaBase::SCI_GETRANGEPOINTER, static_cast<unsigned long>(begin), length));
    if (!FHighlighter.KeepsStartState(std::string_view(text, static_cast<std::size_t>(length))))
        return;
    FUnstyled.Add(line, firstShown);
    // Lines kept from before an edit may hold if the line above them ends as it did; that line
    // now goes unstyled, so the check is lost and they are styled again as they are shown.
    if (FValidLines.first <= firstShown)
        FValidLines = {};
    line = firstShown;
}

void THighlighterLexer::StyleLines(int& line, int lastLine)
{
    using Base = QsciScintillaBase;
    const int lineCount = static_cast<int>(Send(Base::SCI_GETLINECOUNT));
    const bool paint = FHighlighter.Enabled();
    ResumeAt(line);
    while (line < lineCount) {
        StyleLine(line, paint);
        const int state = static_cast<int>(FHighlighter.LineState());

        std::optional<int> before;
        if (!FValidLines.Empty()) {
            if (line == FValidLines.first - 1)
                before = FValidLines.entryState;
            else if (line >= FValidLines.first && line < FValidLines.end)
                before = LineStateOf(line);
        }
        FLineStates.Set(line, line + 1, state);
        if (before && *before == state) {
            // The lines below start as they did before: their styles and states still hold.
            line = FValidLines.end;
            FValidLines = {};
            ResumeAt(line);
            if (line > lastLine)
                return;
            continue;
        }
        if (before) {
            FValidLines.first = line + 1;
            FValidLines.entryState = *before;
            if (FValidLines.Empty())
                FValidLines = {};
        }
        if (line >= lastLine) {
            // A changed end state (a comment opened or closed) reaches the lines below. Those on
            // screen are styled now, which makes Scintilla paint them again; the rest waits
            // until it is shown.
            if (!before || FValidLines.Empty())
                return;
            const int lastVisible = LastVisibleLine();
            if (line >= lastVisible)
                return;
            lastLine = lastVisible;
        }
        ++line;
    }
}

void THighlighterLexer::ResumeAt(int line)
{
    if (line == 0)
        FHighlighter.ResetLineState();
    else
        FHighlighter.SetLineState(LineStateOf(line - 1));
    startStyling(LineStart(line));
}

int THighlighterLexer::LineStateOf(int line) const
{
    return FUnstyled.Contains(line) ? FStartState : FLineStates.State(line);
}

int THighlighterLexer::FirstVisibleLine() const
{
    using Base = QsciScintillaBase;
    return static_cast<int>(Send(Base::SCI_DOCLINEFROMVISIBLE,
                                 static_cast<unsigned long>(Send(Base::SCI_GETFIRSTVISIBLELINE))));
}

int THighlighterLexer::LastVisibleLine() const
{
    using Base = QsciScintillaBase;
    const long lastShown = Send(Base::SCI_GETFIRSTVISIBLELINE) + Send(Base::SCI_LINESONSCREEN);
    return static_cast<int>(
        Send(Base::SCI_DOCLINEFROMVISIBLE, static_cast<unsigned long>(lastShown)));
}

void THighlighterLexer::StyleLine(int line, bool paint)
{
    using Base = QsciScintillaBase;
    const int begin = LineStart(line);
    const int textEnd = static_cast<int>(Send(Base::SCI_GETLINEENDPOSITION, line));
    const int next = LineStart(line + 1);
    const int textLength = textEnd - begin;
    const char* text =
        textLength > 0
            ? reinterpret_cast<const char*>(Send(Base::SCI_GETRANGEPOINTER, begin, textLength))
            : "";
    FHighlighter.StartLine(std::string_view(text, static_cast<std::size_t>(textLength)), line);
    if (!FUnstyled.Empty())
        FUnstyled.Remove(line, line + 1);

    struct TStrikeOut
    {
        int start;
        int length;
        QColor colour;
    };
    std::vector<TStrikeOut> strikeOuts;
    FLineStyles.assign(static_cast<std::size_t>(next - begin), static_cast<char>(kPlainStyle));
    while (!FHighlighter.AtLineEnd()) {
        std::string token = FHighlighter.TokenText();
        if (token.empty()) {
            FHighlighter.NextToken();
            if (FHighlighter.AtLineEnd())
                break;
            token = FHighlighter.TokenText();
            if (token.empty())
                throw EZorvitError(kInfiniteLoopMessage);
        }
        if (paint) {
            const int tokenStart = std::clamp(FHighlighter.TokenStart(), 0, textLength);
            const int tokenEnd =
                std::clamp(tokenStart + static_cast<int>(token.size()), tokenStart, textLength);
            const TTokenAttribute* attribute = FHighlighter.TokenAttribute();
            const int style = StyleOf(attribute);
            std::fill(FLineStyles.begin() + tokenStart, FLineStyles.begin() + tokenEnd,
                      static_cast<char>(style));
            if (attribute && (attribute->Style() & fsStrikeOut) && tokenEnd > tokenStart)
                strikeOuts.push_back({begin + tokenStart, tokenEnd - tokenStart, TextColor(style)});
        }
        FHighlighter.NextToken();
    }

    editor()->SendScintilla(Base::SCI_SETSTYLINGEX, static_cast<uintptr_t>(FLineStyles.size()),
                            FLineStyles.data());
    if (FStrikeOutDrawn)
        ClearStrikeOut(begin, next - begin);
    for (const TStrikeOut& strikeOut : strikeOuts) {
        Send(Base::SCI_SETINDICATORCURRENT, kStrikeOutIndicator);
        Send(Base::SCI_SETINDICATORVALUE,
             static_cast<unsigned long>(IndicatorValue(strikeOut.colour)));
        Send(Base::SCI_INDICATORFILLRANGE, static_cast<unsigned long>(strikeOut.start),
             strikeOut.length);
        FStrikeOutDrawn = true;
    }
}

void THighlighterLexer::StylePlain(int fromLine, int toLine)
{
    const int begin = LineStart(fromLine);
    const int length = LineStart(toLine + 1) - begin;
    FUnstyled.Remove(fromLine, toLine + 1);
    startStyling(begin);
    setStyling(length, kPlainStyle);
    if (FStrikeOutDrawn)
        ClearStrikeOut(begin, length);
}

void THighlighterLexer::ClearStrikeOut(int position, int length)
{
    Send(QsciScintillaBase::SCI_SETINDICATORCURRENT, kStrikeOutIndicator);
    Send(QsciScintillaBase::SCI_INDICATORCLEARRANGE, static_cast<unsigned long>(position), length);
}

int THighlighterLexer::StyledLineCount() const
{
    using Base = QsciScintillaBase;
    const long endStyled = Send(Base::SCI_GETENDSTYLED);
    if (endStyled >= Send(Base::SCI_GETLENGTH))
        return static_cast<int>(Send(Base::SCI_GETLINECOUNT));
    return static_cast<int>(
        Send(Base::SCI_LINEFROMPOSITION, static_cast<unsigned long>(endStyled)));
}

int THighlighterLexer::LineStart(int line) const
{
    using Base = QsciScintillaBase;
    if (line >= Send(Base::SCI_GETLINECOUNT))
        return static_cast<int>(Send(Base::SCI_GETLENGTH));
    return static_cast<int>(Send(Base::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line)));
}

long THighlighterLexer::Send(unsigned int message, unsigned long wParam, long lParam) const
{
    return editor()->SendScintilla(message, wParam, lParam);
}
