#pragma once
// Drives a THighlighter from a QScintilla editor. Scintilla asks for styling lazily, only as far
// as it shows text; the end state of each styled line is kept in FLineStates, so styling can
// restart at any line. After an edit the lines below keep their styles as soon as a restyled
// line ends in the state it ended in before.
//
// When the view jumps far ahead (Go to Line, a find, a pick in the plot), Scintilla asks for the
// styles of every line above the shown ones. A stretch of lines that the highlighter shows to
// end each line in its start state is then only marked styled (FUnstyled) and left unscanned;
// each of its lines is styled when a paint draws it.
//
// Style 0 is plain text in the editor's own colours (the lexer's default colour, paper and font);
// attribute i of the highlighter is drawn with its own style (see StyleOf). Strike-out, which
// Scintilla styles lack, is drawn with an indicator in the token's text colour.

#include "highlight/Highlighter.h"
#include "highlight/LineSet.h"
#include "highlight/LineStates.h"

#include <Qsci/qscilexercustom.h>

#include <QByteArray>
#include <QRect>
#include <QString>

#include <functional>
#include <string>
#include <vector>

class THighlighterLexer : public QsciLexerCustom
{
    Q_OBJECT

public:
    // The highlighter must outlive the lexer; the editor control owns both.
    explicit THighlighterLexer(THighlighter& highlighter, QObject* parent = nullptr);
    ~THighlighterLexer() override;

    THighlighter& Highlighter() const { return FHighlighter; }

    // Style number of an attribute of the highlighter; 0 (plain) for nullptr or an attribute
    // that the highlighter does not list.
    int StyleOf(const TTokenAttribute* attribute) const;

    // The highlighter's state at the end of a line that is styled, or that was passed over as
    // ending in the start state.
    int LineStateOf(int line) const;

    // Sends every style's colours and font to the editor again, for instance after the default
    // font or colours have changed.
    void RefreshStyles();

    // The editor replaced its whole text without change notices: no line keeps its styles.
    void TextReplaced();

    // Receives the message of a styling failure, after the paint that ran into it. By default the
    // message goes to qWarning.
    std::function<void(const QString&)> OnError;

    // The indicator that draws strike-out.
    static int StrikeOutIndicator();

    const char* language() const override;
    QString description(int style) const override;
    QColor color(int style) const override;
    QColor paper(int style) const override;
    QFont font(int style) const override;
    const char* wordCharacters() const override;
    void setEditor(QsciScintilla* editor) override;
    void styleText(int start, int end) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Lines [first, end) that were styled before an edit and whose styles and end states still
    // hold if the line before them ends in entryState again.
    struct TValidLines
    {
        int first = 0;
        int end = 0;
        int entryState = 0;
        bool Empty() const { return first >= end; }
    };

    void HighlighterChanged();
    void RebuildStyleMap();
    void DocumentModified(int position, int modificationType, int length);
    void ApplyPendingModification();
    // Moves line to the first shown line when the lines between may stay unstyled.
    void SkipToShown(int& line, int lastLine);
    // Has the paint of this part of the view style the lines of FUnstyled it draws.
    void StyleWhenPainted(const QRect& area);
    // Styles from line (left on the line being styled) to at least lastLine.
    void StyleLines(int& line, int lastLine);
    // Sets the highlighter to the end state of the line above and styling to the line's start.
    void ResumeAt(int line);
    void StyleLine(int line, bool paint);
    void StylePlain(int fromLine, int toLine);
    void ClearStrikeOut(int position, int length);
    int StyledLineCount() const;
    int FirstVisibleLine() const;
    int LastVisibleLine() const;
    int LineStart(int line) const;
    long Send(unsigned int message, unsigned long wParam = 0, long lParam = 0) const;
    QColor TextColor(int style) const;
    const TTokenAttribute* AttributeOfStyle(int style) const;

    THighlighter& FHighlighter;
    THighlighter::TListenerId FListenerId = 0;
    QByteArray FLanguage;
    QByteArray FWordCharacters;
    std::vector<const TTokenAttribute*> FStyleAttributes;  // index = style number
    // What a change about to happen leaves valid, in the line numbers before the change.
    struct TPendingChange
    {
        TValidLines validLines;
        int firstChanged = 0;
        int endChanged = 0;
        int lineCount = 0;
        long length = 0;
    };
    enum class TPendingState {
        None,
        Waiting,  // told of a change that has not been applied to FValidLines yet
        Applied,  // applied early, before our notice of the change arrived
    };

    TValidLines FValidLines;
    // Lines above Scintilla's end of styling that were never styled; each ends in FStartState.
    TLineSet FUnstyled;
    int FStartState = 0;
    // Not Scintilla's line states: once one line has a state, Scintilla keeps one for every line
    // of the text, 4 bytes a line however few are ever styled.
    TLineStates FLineStates;
    TPendingChange FPending;
    TPendingState FPendingState = TPendingState::None;
    bool FStrikeOutDrawn = false;
    std::string FLineStyles;
};
