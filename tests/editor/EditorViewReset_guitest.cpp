// What the user sees after a load or a clear, and how tall a colour drop-down opens: a new text
// starts at its top-left corner with the caret on the first line, whatever the text before was
// scrolled to; the 50-entry colour list opens about 16 entries tall with a scroll bar.
#include "editor/ColorPicker.h"
#include "editor/GCodeEditor.h"

#include <QAbstractItemView>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <utility>

namespace {

constexpr int kEditorWidthPx = 300;
constexpr int kEditorHeightPx = 200;
constexpr int kLongLineLength = 400;
constexpr int kManyLines = 500;
constexpr int kWaitMs = 2000;

QByteArray ManyLines(int count, const QByteArray& line)
{
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += line + '\n';
    return text;
}

class TEditorViewResetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        editor.resize(kEditorWidthPx, kEditorHeightPx);
        editor.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
        editor.setFocus();
        // Scrolled far to the right and far down, as after End and Ctrl+End on a long file.
        editor.SetTextBytes(ManyLines(kManyLines, QByteArray(kLongLineLength, 'X')));
        QTest::keyClick(&editor, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(&editor, Qt::Key_Up);
        QTest::keyClick(&editor, Qt::Key_End);
        ASSERT_GT(editor.SendScintilla(QsciScintillaBase::SCI_GETXOFFSET), 0);
        ASSERT_GT(editor.SendScintilla(QsciScintillaBase::SCI_GETFIRSTVISIBLELINE), 0);
    }

    void ExpectTopLeftWithCaretOnFirstLine()
    {
        QTest::qWait(0);
        EXPECT_EQ(editor.SendScintilla(QsciScintillaBase::SCI_GETXOFFSET), 0);
        EXPECT_EQ(editor.horizontalScrollBar()->value(), 0);
        EXPECT_EQ(editor.SendScintilla(QsciScintillaBase::SCI_GETFIRSTVISIBLELINE), 0);
        int line = -1;
        int index = -1;
        editor.getCursorPosition(&line, &index);
        EXPECT_EQ(line, 0);
        EXPECT_EQ(index, 0);
        EXPECT_FALSE(editor.hasSelectedText());
    }

    TGCodeEditor editor;
};

TEST_F(TEditorViewResetTest, LoadingShortLinesStartsAtTheTopLeft)
{
    editor.SetTextBytes(ManyLines(kManyLines, "G0 X1"));
    ExpectTopLeftWithCaretOnFirstLine();
    // The short text is in view: its first column is drawn, not scrolled away.
    EXPECT_EQ(editor.SendScintilla(QsciScintillaBase::SCI_POSITIONFROMPOINT, 0L,
                                   editor.SendScintilla(QsciScintillaBase::SCI_TEXTHEIGHT, 0L) / 2),
              0);
}

TEST_F(TEditorViewResetTest, ClearingStartsAtTheTopLeft)
{
    editor.ClearAll();
    ExpectTopLeftWithCaretOnFirstLine();
}

TEST_F(TEditorViewResetTest, GoToLineMovesTheCaretAndScrollsTheLineIntoView)
{
    const auto caret = [this] {
        int line = -1;
        int index = -1;
        editor.getCursorPosition(&line, &index);
        return std::pair(line, index);
    };
    const auto lineInView = [this](int line) {
        const long first = editor.SendScintilla(QsciScintillaBase::SCI_GETFIRSTVISIBLELINE);
        return line >= first &&
               line < first + editor.SendScintilla(QsciScintillaBase::SCI_LINESONSCREEN);
    };
    editor.GoToLine(3);
    EXPECT_EQ(caret(), std::pair(2, 0));
    EXPECT_TRUE(lineInView(2));
    EXPECT_EQ(editor.SendScintilla(QsciScintillaBase::SCI_GETXOFFSET), 0);
    editor.GoToLine(kManyLines - 100);
    EXPECT_EQ(caret(), std::pair(kManyLines - 101, 0));
    EXPECT_TRUE(lineInView(kManyLines - 101));
    // Numbers outside the text go to its first or last line.
    editor.GoToLine(0);
    EXPECT_EQ(caret(), std::pair(0, 0));
    editor.GoToLine(kManyLines * 2);
    EXPECT_EQ(caret(), std::pair(kManyLines, 0));
    EXPECT_TRUE(lineInView(kManyLines));
}

TEST(TColorPickerPopupTest, OpensAboutSixteenEntriesTallWithAScrollBar)
{
    constexpr int kVisibleEntries = 16;
    TColorPicker picker;
    picker.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&picker));
    picker.showPopup();
    QAbstractItemView* list = picker.view();
    ASSERT_TRUE(QTest::qWaitFor([list] { return list->isVisible(); }, kWaitMs));

    const int rowHeight = list->sizeHintForRow(0);
    ASSERT_GT(rowHeight, 0);
    const int shownRows = list->viewport()->height() / rowHeight;
    EXPECT_GE(shownRows, kVisibleEntries - 1);
    EXPECT_LE(shownRows, kVisibleEntries + 1);
    EXPECT_TRUE(
        QTest::qWaitFor([list] { return list->verticalScrollBar()->isVisible(); }, kWaitMs));
    EXPECT_GT(list->verticalScrollBar()->maximum(), 0);
    picker.hidePopup();
}

}  // namespace
