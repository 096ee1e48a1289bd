// The find bar driven through its fields, switches and keys beside a real editor: "not found" in
// the bar and never a box, match case and whole word, the selection as the text searched for,
// replacing one match and all of them in one undo step. Wrapping, Find Previous and Escape are
// tried through the main window's keys.
#include "editor/FindBar.h"
#include "editor/GCodeEditor.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

constexpr const char* kText = "G1 X1\nG1 X10\ng1 X2\n";

class TFindBarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(editor);
        layout->addWidget(bar);
        window.resize(965, 300);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        editor->SetTextBytes(kText);
        editor->setFocus();
    }

    // Types into the search field as the user would and presses Enter.
    void Search(const QString& text)
    {
        bar->ShowFind();
        auto* field = bar->findChild<QLineEdit*>("edtFind");
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    }

    void Enter(const char* field)
    {
        QTest::keyClick(bar->findChild<QLineEdit*>(field), Qt::Key_Return);
    }

    void Click(const char* name)
    {
        QTest::mouseClick(bar->findChild<QCheckBox*>(name), Qt::LeftButton);
    }

    std::pair<long, long> Selection() const
    {
        return {editor->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONSTART),
                editor->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONEND)};
    }

    QWidget window;
    TGCodeEditor* editor = new TGCodeEditor(&window);
    TFindBar* bar = new TFindBar(*editor, &window);
};

using TRange = std::pair<long, long>;

TEST_F(TFindBarTest, MissingTextIsReportedInTheBarWithoutABox)
{
    editor->SendScintilla(QsciScintillaBase::SCI_SETSEL, 3UL, 5L);
    Search("G5");
    EXPECT_EQ(bar->findChild<QLabel*>("lblNote")->text(), "not found");
    EXPECT_EQ(Selection(), TRange(3, 5));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    // The search field keeps the focus, so the user can type on.
    EXPECT_EQ(QApplication::focusWidget(), bar->findChild<QLineEdit*>("edtFind"));
    QTest::keyClick(bar->findChild<QLineEdit*>("edtFind"), Qt::Key_Backspace);
    EXPECT_EQ(bar->Note(), "");
}

TEST_F(TFindBarTest, MatchCaseAndWholeWordNarrowTheMatches)
{
    Click("cbxMatchCase");
    Search("g1");
    EXPECT_EQ(Selection(), TRange(13, 15));
    Enter("edtFind");
    EXPECT_EQ(Selection(), TRange(13, 15));
    EXPECT_EQ(bar->Note(), "Passed the end, continued from the top");

    // "X1" stands alone on the first line only; "X10" is another word.
    editor->SendScintilla(QsciScintillaBase::SCI_SETSEL, 0UL, 0L);
    bar->findChild<QLineEdit*>("edtFind")->clear();
    Click("cbxWholeWord");
    Search("X1");
    EXPECT_EQ(Selection(), TRange(3, 5));
    Enter("edtFind");
    EXPECT_EQ(Selection(), TRange(3, 5));
    EXPECT_EQ(bar->Note(), "Passed the end, continued from the top");
}

TEST_F(TFindBarTest, ASelectionWithinALineBecomesTheSearchText)
{
    editor->SendScintilla(QsciScintillaBase::SCI_SETSEL, 3UL, 5L);
    bar->ShowFind();
    EXPECT_EQ(bar->findChild<QLineEdit*>("edtFind")->text(), "X1");
    EXPECT_FALSE(bar->findChild<QLineEdit*>("edtReplace")->isVisible());
    bar->ShowReplace();
    EXPECT_TRUE(
        QTest::qWaitFor([this] { return bar->findChild<QLineEdit*>("edtReplace")->isVisible(); }));
}

TEST_F(TFindBarTest, ReplaceTakesTheSelectedMatchAndReplaceAllIsOneUndoStep)
{
    bar->ShowReplace();
    QTest::keyClicks(bar->findChild<QLineEdit*>("edtFind"), "X1");
    QTest::keyClicks(bar->findChild<QLineEdit*>("edtReplace"), "Y7");
    // The first Enter only finds; the second replaces that match and finds the next.
    Enter("edtReplace");
    EXPECT_EQ(Selection(), TRange(3, 5));
    EXPECT_EQ(editor->text().toStdString(), kText);
    Enter("edtReplace");
    EXPECT_EQ(editor->text().toStdString(), "G1 Y7\nG1 X10\ng1 X2\n");
    EXPECT_EQ(Selection(), TRange(9, 11));
    editor->undo();
    EXPECT_EQ(editor->text().toStdString(), kText);

    bar->findChild<QLineEdit*>("edtFind")->setText("X");
    bar->ReplaceAll();
    EXPECT_EQ(editor->text().toStdString(), "G1 Y71\nG1 Y710\ng1 Y72\n");
    EXPECT_EQ(bar->Note(), "3 replaced");
    EXPECT_TRUE(editor->Modified());
    editor->undo();
    EXPECT_EQ(editor->text().toStdString(), kText);
    EXPECT_FALSE(editor->isUndoAvailable());

    bar->findChild<QLineEdit*>("edtFind")->setText("Z");
    bar->ReplaceAll();
    EXPECT_EQ(bar->Note(), "not found");
    EXPECT_EQ(editor->text().toStdString(), kText);
}

}  // namespace
