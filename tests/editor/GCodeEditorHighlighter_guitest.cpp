// The editor control's highlighter hook: attaching, replacing and removing a highlighter, and
// the editor's own font and colours for plain text.
#include "editor/GCodeEditor.h"
#include "highlight/SynHighlighterRS274.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using Sci = QsciScintillaBase;

// Tells when it is destroyed.
class TWatchedSyn : public TSynRC274Syn
{
public:
    explicit TWatchedSyn(bool& destroyed) : FDestroyed(destroyed) {}
    ~TWatchedSyn() override { FDestroyed = true; }

private:
    bool& FDestroyed;
};

int StyleAt(TGCodeEditor& editor, long position)
{
    editor.SendScintilla(Sci::SCI_COLOURISE, 0UL, -1L);
    return static_cast<int>(
        editor.SendScintilla(Sci::SCI_GETSTYLEAT, static_cast<unsigned long>(position)));
}

TEST(TGCodeEditorHighlighterTest, AttachedHighlighterColoursTheTextInTheEditorsFont)
{
    TGCodeEditor editor;
    EXPECT_EQ(editor.Highlighter(), nullptr);
    auto owned = std::make_unique<TSynRC274Syn>();
    TSynRC274Syn& syn = *owned;
    editor.SetHighlighter(std::move(owned));
    ASSERT_EQ(editor.Highlighter(), &syn);
    ASSERT_NE(editor.HighlighterLexer(), nullptr);
    EXPECT_EQ(editor.lexer(), editor.HighlighterLexer());

    editor.SetTextBytes("G1 X2\r\n(c)");
    const THighlighterLexer& lexer = *editor.HighlighterLexer();
    EXPECT_EQ(StyleAt(editor, 0), lexer.StyleOf(&syn.GeneralAttri));
    EXPECT_EQ(StyleAt(editor, 7), lexer.StyleOf(&syn.CommentAttri));
    EXPECT_EQ(lexer.font(lexer.StyleOf(&syn.AxisAttri)).family(), editor.TextFont().family());
    EXPECT_EQ(lexer.defaultPaper(), editor.palette().color(QPalette::Base));

    syn.SetEnabled(false);  // the editor hears the highlighter
    EXPECT_EQ(StyleAt(editor, 0), 0);
}

TEST(TGCodeEditorHighlighterTest, ReplacedRemovedOrLeftAttachedTheHighlighterGoes)
{
    bool firstGone = false;
    bool secondGone = false;
    bool thirdGone = false;
    {
        TGCodeEditor editor;
        editor.SetHighlighter(std::make_unique<TWatchedSyn>(firstGone));
        editor.SetTextBytes("X1");
        editor.SetHighlighter(std::make_unique<TWatchedSyn>(secondGone));
        EXPECT_TRUE(firstGone);
        auto* syn = static_cast<TSynRC274Syn*>(editor.Highlighter());
        EXPECT_EQ(StyleAt(editor, 0), editor.HighlighterLexer()->StyleOf(&syn->AxisAttri));

        editor.SetHighlighter(nullptr);
        EXPECT_TRUE(secondGone);
        EXPECT_EQ(editor.HighlighterLexer(), nullptr);
        EXPECT_EQ(editor.lexer(), nullptr);
        editor.SetHighlighter(std::make_unique<TWatchedSyn>(thirdGone));
        EXPECT_EQ(StyleAt(editor, 0),
                  editor.HighlighterLexer()->StyleOf(
                      &static_cast<TSynRC274Syn*>(editor.Highlighter())->AxisAttri));
    }
    EXPECT_TRUE(thirdGone);
}

}  // namespace
