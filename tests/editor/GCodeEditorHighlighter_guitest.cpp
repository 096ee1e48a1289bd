// The editor control's highlighter hook: attaching, replacing and removing a highlighter, and
// the editor's own font and colours for plain text.
#include "GCodeEditor.h"
#include "SynHighlighterRS274.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <memory>

namespace {

using Sci = QsciScintillaBase;

// Tells when it is destroyed.
class TWatchedSyn : public TSynRC274Syn
{
public:
    explicit TWatchedSyn(bool& destroyed) : fDestroyed(destroyed) {}
    ~TWatchedSyn() override { fDestroyed = true; }

private:
    bool& fDestroyed;
};

class TGCodeEditorHighlighterTest : public ::testing::Test
{
protected:
    int StyleAt(long position) { return static_cast<int>(editor.SendScintilla(Sci::SCI_GETSTYLEAT, position)); }
    void StyleAll() { editor.SendScintilla(Sci::SCI_COLOURISE, 0UL, -1L); }

    TGCodeEditor editor;
};

TEST_F(TGCodeEditorHighlighterTest, AttachedHighlighterColoursTheText)
{
    EXPECT_EQ(editor.Highlighter(), nullptr);
    auto owned = std::make_unique<TSynRC274Syn>();
    TSynRC274Syn* syn = owned.get();
    editor.SetHighlighter(std::move(owned));
    ASSERT_EQ(editor.Highlighter(), syn);
    ASSERT_NE(editor.HighlighterLexer(), nullptr);
    EXPECT_EQ(editor.lexer(), editor.HighlighterLexer());

    editor.SetTextBytes("G1 X2\r\n(c)");
    StyleAll();
    THighlighterLexer& lexer = *editor.HighlighterLexer();
    EXPECT_EQ(StyleAt(0), lexer.StyleOf(&syn->GeneralAttri));
    EXPECT_EQ(StyleAt(3), lexer.StyleOf(&syn->AxisAttri));
    EXPECT_EQ(StyleAt(7), lexer.StyleOf(&syn->CommentAttri));

    // Plain text keeps the editor's font and colours.
    EXPECT_EQ(lexer.defaultFont().family(), editor.TextFont().family());
    EXPECT_EQ(lexer.font(lexer.StyleOf(&syn->AxisAttri)).family(), editor.TextFont().family());
    EXPECT_EQ(lexer.defaultPaper(), editor.palette().color(QPalette::Base));

    // The editor hears the highlighter's change notices.
    syn->SetEnabled(false);
    StyleAll();
    EXPECT_EQ(StyleAt(0), 0);
}

TEST_F(TGCodeEditorHighlighterTest, ReplacingOrRemovingReleasesThePreviousHighlighter)
{
    bool firstGone = false;
    editor.SetHighlighter(std::make_unique<TWatchedSyn>(firstGone));
    editor.SetTextBytes("X1");
    bool secondGone = false;
    editor.SetHighlighter(std::make_unique<TWatchedSyn>(secondGone));
    EXPECT_TRUE(firstGone);
    EXPECT_FALSE(secondGone);
    StyleAll();
    EXPECT_EQ(StyleAt(0), editor.HighlighterLexer()->StyleOf(
                              &static_cast<TSynRC274Syn*>(editor.Highlighter())->AxisAttri));

    editor.SetHighlighter(nullptr);
    EXPECT_TRUE(secondGone);
    EXPECT_EQ(editor.Highlighter(), nullptr);
    EXPECT_EQ(editor.HighlighterLexer(), nullptr);
    EXPECT_EQ(editor.lexer(), nullptr);
}

TEST(TGCodeEditorLifetimeTest, EditorGoesWithItsHighlighterAttached)
{
    bool gone = false;
    {
        TGCodeEditor editor;
        editor.SetHighlighter(std::make_unique<TWatchedSyn>(gone));
        editor.SetTextBytes("G0 X1");
        editor.SendScintilla(Sci::SCI_COLOURISE, 0UL, -1L);
    }
    EXPECT_TRUE(gone);
}

} // namespace
