// The QScintilla adapter on a real QsciScintilla: styles of the sample text, restyling after
// typing, Enabled, attribute changes, the empty-token guard, and how little is restyled after an
// edit in a large document.
#include "editor/HighlighterLexer.h"
#include "editor/SystemColors.h"
#include "highlight/SynHighlighterRS274.h"
#include "tests/support/WaitFor.h"

#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

using Sci = QsciScintillaBase;

// Counts the lines that the editor has the highlighter scan.
class TCountingSyn : public TSynRC274Syn
{
public:
    void StartLine(std::string_view text, int lineIndex) override
    {
        ++scannedLines;
        TSynRC274Syn::StartLine(text, lineIndex);
    }
    int scannedLines = 0;
};

QColor FromScintilla(long bgr)
{
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

struct TEditorFixture
{
    explicit TEditorFixture(THighlighter& highlighter)
        : lexer(new THighlighterLexer(highlighter, &editor))
    {
        editor.resize(600, 400);
        editor.setLexer(lexer);
    }

    long Send(unsigned int message, unsigned long wParam = 0, long lParam = 0)
    {
        return editor.SendScintilla(message, wParam, lParam);
    }
    // Styles what is not styled yet up to a position, as scrolling there would.
    void StyleTo(long position)
    {
        Send(Sci::SCI_COLOURISE, static_cast<unsigned long>(Send(Sci::SCI_GETENDSTYLED)), position);
    }
    void StyleAll() { StyleTo(-1); }
    int StyleAt(long position)
    {
        return static_cast<int>(Send(Sci::SCI_GETSTYLEAT, static_cast<unsigned long>(position)));
    }
    int LineState(int line) { return lexer->LineStateOf(line); }
    long PositionOf(int line, int index) { return editor.positionFromLineIndex(line, index); }
    long Length() { return Send(Sci::SCI_GETLENGTH); }
    void SetText(const std::string& text)
    {
        Send(Sci::SCI_CLEARALL);
        Send(Sci::SCI_APPENDTEXT, text.size(), reinterpret_cast<long>(text.data()));
    }
    void Show()
    {
        editor.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&editor));
        QApplication::processEvents();
    }
    // QScintilla hands Scintilla the Qt font weight, negated.
    bool IsBold(int style)
    {
        return -Send(Sci::SCI_STYLEGETWEIGHT, static_cast<unsigned long>(style)) >= QFont::Bold;
    }
    QColor Fore(int style)
    {
        return FromScintilla(Send(Sci::SCI_STYLEGETFORE, static_cast<unsigned long>(style)));
    }
    QColor Back(int style)
    {
        return FromScintilla(Send(Sci::SCI_STYLEGETBACK, static_cast<unsigned long>(style)));
    }

    QsciScintilla editor;
    THighlighterLexer* lexer;
};

class THighlighterLexerTest : public ::testing::Test
{
protected:
    void SetUp() override { f.SetText(syn.SampleText()); }
    int StyleOf(const TTokenAttribute& attribute) { return f.lexer->StyleOf(&attribute); }

    TCountingSyn syn;
    TEditorFixture f{syn};
};

TEST_F(THighlighterLexerTest, SampleTextIsDrawnWithTheAttributes)
{
    f.StyleAll();
    const struct
    {
        int line;
        int index;
        const TTokenAttribute& attribute;
    } cases[] = {
        {0, 0, syn.IdentifierAttri}, {1, 5, syn.CommentAttri},     {2, 1, syn.GeneralAttri},
        {3, 0, syn.MiscAttri},       {3, 3, syn.SpeedAttri},       {3, 5, syn.NumberAttri},
        {10, 2, syn.GeneralAttri},   {10, 3, syn.IdentifierAttri}, {10, 7, syn.AxisAttri},
        {10, 43, syn.ArcAttri},      {10, 53, syn.NumberAttri},    {11, 30, syn.CommentAttri},
    };
    for (const auto& c : cases)
        EXPECT_EQ(f.StyleAt(f.PositionOf(c.line, c.index)), StyleOf(c.attribute))
            << c.line << ':' << c.index;
    EXPECT_EQ(f.StyleAt(f.PositionOf(0, 1)), 0);  // line breaks are plain
    EXPECT_EQ(f.LineState(11), rsPlain);

    const QPalette palette = f.editor.palette();
    const int general = StyleOf(syn.GeneralAttri);
    EXPECT_EQ(f.Fore(general), palette.color(QPalette::Text));
    EXPECT_EQ(f.Back(general), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_TRUE(f.Send(Sci::SCI_STYLEGETITALIC, general));
    EXPECT_FALSE(f.IsBold(general));
    const int key = StyleOf(syn.KeyAttri);  // no text colour of its own: the editor's
    EXPECT_EQ(f.Fore(key), f.lexer->defaultColor());
    EXPECT_EQ(f.Back(key), QColor(0xCC, 0xFF, 0xCC));
    EXPECT_TRUE(f.IsBold(key));
    EXPECT_EQ(f.Back(StyleOf(syn.CommentAttri)), palette.color(QPalette::Base));

    // One style per attribute, never a predefined one.
    std::vector<int> styles;
    for (int i = 0; i < syn.AttributeCount(); ++i) {
        const int style = StyleOf(*syn.AttributeAt(i));
        EXPECT_TRUE(style > 0 && (style < Sci::STYLE_DEFAULT || style > Sci::STYLE_LASTPREDEFINED));
        EXPECT_EQ(std::count(styles.begin(), styles.end(), style), 0);
        EXPECT_EQ(f.lexer->description(style).toStdString(), syn.AttributeAt(i)->Name());
        styles.push_back(style);
    }
}

TEST_F(THighlighterLexerTest, AttributeChangeRestylesTheEditor)
{
    f.Show();
    const int number = StyleOf(syn.NumberAttri);
    const long digit = f.PositionOf(3, 4);  // "8000"
    const int strike = THighlighterLexer::StrikeOutIndicator();
    syn.NumberAttri.SetForeground(clMaroon);
    syn.NumberAttri.SetBackground(clNone);
    syn.NumberAttri.SetStyle(fsUnderline | fsStrikeOut);
    QApplication::processEvents();
    EXPECT_EQ(f.Fore(number), QColor(0x80, 0, 0));
    EXPECT_EQ(f.Back(number), f.lexer->defaultPaper());
    EXPECT_TRUE(f.Send(Sci::SCI_STYLEGETUNDERLINE, number));
    EXPECT_EQ(f.Send(Sci::SCI_INDICATORVALUEAT, strike, digit) & 0xFFFFFF, 0x000080);
    EXPECT_EQ(f.Send(Sci::SCI_INDICATORVALUEAT, strike, digit - 2), 0);

    syn.NumberAttri.SetStyle(0);
    QApplication::processEvents();
    EXPECT_FALSE(f.Send(Sci::SCI_STYLEGETUNDERLINE, number));
    EXPECT_EQ(f.Send(Sci::SCI_INDICATORVALUEAT, strike, digit), 0);
}

TEST_F(THighlighterLexerTest, BlockCommentTypedOpenAndShutRestylesLaterLines)
{
    f.Show();
    const auto g17 = [this] { return f.StyleAt(f.PositionOf(10, 0)); };
    ASSERT_EQ(g17(), StyleOf(syn.GeneralAttri));

    f.editor.setCursorPosition(5, 0);
    QTest::keyClicks(&f.editor, "/*");
    QApplication::processEvents();
    EXPECT_EQ(f.StyleAt(f.PositionOf(5, 3)), StyleOf(syn.CommentAttri));
    EXPECT_EQ(g17(), StyleOf(syn.CommentAttri));
    EXPECT_EQ(f.LineState(9), rsBlockComment);

    f.Send(Sci::SCI_GOTOPOS, static_cast<unsigned long>(f.Send(Sci::SCI_GETLINEENDPOSITION, 7)));
    QTest::keyClicks(&f.editor, "*/");
    QApplication::processEvents();
    EXPECT_EQ(f.editor.text(7).toStdString(), "G1 Z  -0.350 F 100*/\r\n");
    EXPECT_EQ(f.StyleAt(f.PositionOf(7, 0)), StyleOf(syn.CommentAttri));
    EXPECT_EQ(f.StyleAt(f.PositionOf(8, 1)), StyleOf(syn.AxisAttri));
    EXPECT_EQ(g17(), StyleOf(syn.GeneralAttri));
    EXPECT_EQ(f.LineState(6), rsBlockComment);
    EXPECT_EQ(f.LineState(7), rsPlain);
}

TEST_F(THighlighterLexerTest, DisabledDrawsPlainAndKeepsLineStates)
{
    f.Show();
    syn.SetEnabled(false);
    QApplication::processEvents();
    for (long position = 0; position < f.Length(); ++position)
        ASSERT_EQ(f.StyleAt(position), 0) << position;

    f.editor.setCursorPosition(2, 0);
    QTest::keyClicks(&f.editor, "/*");
    QApplication::processEvents();
    EXPECT_EQ(f.LineState(11), rsBlockComment);

    syn.SetEnabled(true);
    QApplication::processEvents();
    EXPECT_EQ(f.StyleAt(f.PositionOf(3, 0)), StyleOf(syn.CommentAttri));
    EXPECT_EQ(f.StyleAt(f.PositionOf(0, 0)), StyleOf(syn.IdentifierAttri));
}

TEST_F(THighlighterLexerTest, WordOperationsUseIdentifierChars)
{
    f.SetText("G1_X2.5 ab");  // "_" is no identifier character, "." is
    EXPECT_EQ(f.Send(Sci::SCI_WORDENDPOSITION, 0, 1), 2);
    EXPECT_EQ(f.Send(Sci::SCI_WORDENDPOSITION, 3, 1), 7);
}

TEST_F(THighlighterLexerTest, LargeDocumentIsStyledAsShownAndAnEditRestylesUntilStatesAgree)
{
    constexpr int kLines = 100000;
    constexpr int kEdited = 50000;
    std::string text;
    for (int i = 0; i < kLines; ++i)
        text += "G1 X" + std::to_string(i) + " Y-2.5 (pass)\n";
    f.SetText(text);
    syn.scannedLines = 0;
    f.Show();
    EXPECT_GT(syn.scannedLines, 0);
    EXPECT_LT(syn.scannedLines, 1000);
    f.StyleAll();

    // An edit that leaves the line's end state alone restyles that line only.
    syn.scannedLines = 0;
    f.editor.insertAt("M3 ", kEdited, 0);
    f.StyleAll();
    EXPECT_LE(syn.scannedLines, 2);
    EXPECT_EQ(f.StyleAt(f.PositionOf(kEdited, 0)), StyleOf(syn.MiscAttri));

    // An opened block comment runs on to the end; closing it restyles the lines below again.
    syn.scannedLines = 0;
    f.editor.insertAt("/*", kEdited, 0);
    f.StyleAll();
    EXPECT_GE(syn.scannedLines, kLines - kEdited);
    EXPECT_EQ(f.StyleAt(f.PositionOf(kLines - 1, 0)), StyleOf(syn.CommentAttri));
    f.editor.insertAt("*/", kEdited + 2, 0);
    f.StyleAll();
    EXPECT_EQ(f.StyleAt(f.PositionOf(kEdited + 2, 2)), StyleOf(syn.GeneralAttri));
    EXPECT_EQ(f.StyleAt(f.PositionOf(kLines - 1, 0)), StyleOf(syn.GeneralAttri));

    // Joining two lines restyles the joined line only.
    syn.scannedLines = 0;
    f.Send(Sci::SCI_DELETERANGE,
           static_cast<unsigned long>(f.Send(Sci::SCI_GETLINEENDPOSITION, 100)), 1);
    f.StyleAll();
    EXPECT_LE(syn.scannedLines, 2);
}

TEST_F(THighlighterLexerTest, AJumpFarDownScansTheShownLinesAndTheLinesAboveWhenShown)
{
    constexpr int kLines = 100000;
    std::string text;
    for (int i = 0; i < kLines; ++i)
        text += "G1 X" + std::to_string(i) + " Y-2.5 (pass)\n";
    f.SetText(text);
    f.Show();
    // True once every line on screen starts in the style given.
    const auto shownIn = [&](const TTokenAttribute& attribute) {
        const int first = f.editor.firstVisibleLine();
        for (int line = first; line < first + f.editor.SendScintilla(Sci::SCI_LINESONSCREEN);
             ++line) {
            if (f.StyleAt(f.PositionOf(line, 0)) != StyleOf(attribute))
                return false;
        }
        return true;
    };

    syn.scannedLines = 0;
    f.editor.setFirstVisibleLine(90000);
    EXPECT_SOON(shownIn(syn.GeneralAttri));
    EXPECT_LT(syn.scannedLines, 1000);
    // The lines jumped over are styled as they come into view.
    f.editor.setFirstVisibleLine(50000);
    EXPECT_SOON(shownIn(syn.GeneralAttri));
    f.editor.setFirstVisibleLine(49990);
    EXPECT_SOON(shownIn(syn.GeneralAttri));
    EXPECT_LT(syn.scannedLines, 2000);

    // A block comment opened above reaches every line below it: nothing is jumped over.
    f.editor.insertAt("/*", 20, 0);
    f.editor.setFirstVisibleLine(70000);
    EXPECT_SOON(shownIn(syn.CommentAttri));
    EXPECT_GT(syn.scannedLines, 70000 - 20);
    // Closed again, the lines far below are plain G-code again once shown.
    f.editor.insertAt("*/", 21, 0);
    f.editor.setFirstVisibleLine(60000);
    EXPECT_SOON(shownIn(syn.GeneralAttri));
    f.editor.setFirstVisibleLine(70000);
    EXPECT_SOON(shownIn(syn.GeneralAttri));
    f.editor.setFirstVisibleLine(30);
    EXPECT_SOON(shownIn(syn.GeneralAttri));
}

// After any sequence of edits, undos and partial styling, the styles and line states must be
// those of a fresh scan of the same text.
class THighlighterLexerEditsTest : public ::testing::TestWithParam<std::uint32_t>
{};

TEST_P(THighlighterLexerEditsTest, StylesMatchAFreshScanAfterRandomEdits)
{
    const std::vector<std::string> pieces = {
        "G1 X1 Y2\n", "(note)\n", "/* open\n", "close */ G0\n", "\n",           "N10 T1 M6\n",
        "/*",         "*/",       "X",         "\n\n",          "\"s\" F100\n", "Z-1.5 (a"};
    std::uint32_t seed = GetParam();
    const auto random = [&seed](long bound) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<long>((seed >> 8) % static_cast<std::uint32_t>(bound));
    };
    const auto piece = [&] {
        return pieces[static_cast<std::size_t>(random(static_cast<long>(pieces.size())))];
    };

    TSynRC274Syn edited;
    TEditorFixture f(edited);
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += piece();
    f.SetText(text);
    f.StyleAll();
    for (int step = 0; step < 600; ++step) {
        const long length = f.Length();
        const long op = random(4);
        if (op < 2)
            f.Send(Sci::SCI_INSERTTEXT, static_cast<unsigned long>(random(length + 1)),
                   reinterpret_cast<long>(piece().c_str()));
        else if (op == 2) {
            const long from = random(length + 1);
            f.Send(Sci::SCI_DELETERANGE, static_cast<unsigned long>(from),
                   std::min(length - from, random(60)));
        } else
            f.editor.undo();
        if (random(2) == 0) {
            f.StyleTo(random(f.Length() + 1));
            continue;
        }
        f.StyleAll();

        TSynRC274Syn fresh;
        TEditorFixture reference(fresh);
        const QByteArray bytes = f.editor.bytes(0, static_cast<int>(f.Length()));
        reference.SetText(std::string(bytes.constData(), static_cast<std::size_t>(f.Length())));
        reference.StyleAll();
        for (long position = 0; position < f.Length(); ++position)
            ASSERT_EQ(f.StyleAt(position), reference.StyleAt(position))
                << "step " << step << " at " << position;
        for (int line = 0; line + 1 < f.editor.lines(); ++line)
            ASSERT_EQ(f.LineState(line), reference.LineState(line))
                << "step " << step << " line " << line;
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, THighlighterLexerEditsTest, ::testing::Values(2024u, 13u, 77u));

// Cuts a line into one-byte tokens, but never gets past a "!" and yields one empty token before
// each "?".
class TFaultyHighlighter : public THighlighter
{
public:
    TFaultyHighlighter() : FText(RegisterAttribute(std::make_unique<TTokenAttribute>("Text"))) {}

    TTokenAttribute* DefaultAttribute(int) const override { return nullptr; }
    bool IsFilterStored() const override { return false; }
    const TCharSet& IdentifierChars() const override { return FNoChars; }
    std::string SampleText() const override { return {}; }
    std::string LanguageTitle() const override { return "Faulty"; }
    void StartLine(std::string_view text, int) override
    {
        FLine.assign(text);
        FPos = 0;
        NextToken();
    }
    void NextToken() override
    {
        FStart = FPos;
        FAtEnd = FPos >= static_cast<int>(FLine.size());
        if (FAtEnd || FLine[static_cast<std::size_t>(FPos)] == '!')
            return;
        FEmptyGiven = !FEmptyGiven && FLine[static_cast<std::size_t>(FPos)] == '?';
        if (!FEmptyGiven)
            ++FPos;
    }
    bool AtLineEnd() const override { return FAtEnd; }
    std::string TokenText() const override
    {
        return FLine.substr(static_cast<std::size_t>(FStart),
                            static_cast<std::size_t>(FPos - FStart));
    }
    int TokenStart() const override { return FStart; }
    int TokenKind() const override { return 0; }
    TTokenAttribute* TokenAttribute() const override { return &FText; }
    TLineState LineState() const override { return 0; }
    void SetLineState(TLineState) override {}
    void ResetLineState() override {}

    TTokenAttribute& FText;

private:
    TCharSet FNoChars;
    std::string FLine;
    int FPos = 0;
    int FStart = 0;
    bool FAtEnd = true;
    bool FEmptyGiven = false;
};

TEST(THighlighterLexerGuardTest, TokenThatStaysEmptyIsReportedAndTheRestDrawnPlain)
{
    TFaultyHighlighter faulty;
    TEditorFixture f(faulty);
    std::vector<QString> reports;
    f.lexer->OnError = [&reports](const QString& message) { reports.push_back(message); };
    f.SetText("ab?c\nx!y\nzz");
    f.StyleAll();
    EXPECT_TRUE(reports.empty());  // reported after the paint, not inside it
    QApplication::processEvents();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports.front(), "The highlighter seems to be in an infinite loop");
    EXPECT_EQ(f.StyleAt(3), f.lexer->StyleOf(&faulty.FText));  // one empty token is no fault
    EXPECT_EQ(f.StyleAt(f.PositionOf(1, 0)), 0);
    EXPECT_EQ(f.StyleAt(f.PositionOf(2, 1)), 0);
}

TEST(TSystemColorsTest, SystemColoursFollowThePalette)
{
    QPalette palette;
    palette.setColor(QPalette::Active, QPalette::Base, QColor(1, 2, 3));
    palette.setColor(QPalette::Active, QPalette::Text, QColor(4, 5, 6));
    palette.setColor(QPalette::Active, QPalette::Button, QColor(7, 8, 9));
    palette.setColor(QPalette::Active, QPalette::Highlight, QColor(10, 11, 12));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(13, 14, 15));
    EXPECT_EQ(ColorToQColor(clWindow, palette), QColor(1, 2, 3));
    EXPECT_EQ(ColorToQColor(clWindowText, palette), QColor(4, 5, 6));
    EXPECT_EQ(ColorToQColor(clBtnFace, palette), QColor(7, 8, 9));
    EXPECT_EQ(ColorToQColor(clHighlight, palette), QColor(10, 11, 12));
    EXPECT_EQ(ColorToQColor(clGrayText, palette), QColor(13, 14, 15));
    EXPECT_EQ(ColorToQColor(clWindow), QApplication::palette().color(QPalette::Base));
    EXPECT_EQ(ColorToQColor(0x00336699, palette), QColor(0x99, 0x66, 0x33));
    for (const TColor none : {clNone, clDefault, TColor{0xFF000019}, TColor{0xFF0000FF}})
        EXPECT_FALSE(ColorToQColor(none, palette).isValid()) << std::hex << none;
}

}  // namespace
