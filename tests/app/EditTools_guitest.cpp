// The editing tools in the window: each command reaches the editor through its dialog as one
// undo step, the transform previews its path on the plot, Compare With marks the differences
// and draws the other path, and hover help answers from the word help files.

#include "tests/app/PlotterTestSupport.h"

#include "app/dialogs/CompareWindow.h"
#include "app/dialogs/RenumberDlg.h"
#include "app/dialogs/TidyDlg.h"
#include "app/dialogs/TransformDlg.h"
#include "app/window/WordHelpTips.h"
#include "plot/OpenGLPanel.h"
#include "tests/support/WaitFor.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QToolTip>

namespace {

const QByteArray kProgram = "g0 x1\ng1 x2 (a)\ng1 x3\n";

class TEditToolsTest : public TPlotterTest
{
protected:
    TGCodeEditor& Editor() const { return window->Editor(); }
    std::size_t OverlaySegments() const { return window->Panel().View().Overlay().size(); }
};

struct TCommandCase
{
    const char* Name;
    const char* Action;
    std::function<void(QDialog&)> Fill;
    QString Expected;
};

class TEditCommandTest : public TEditToolsTest, public ::testing::WithParamInterface<TCommandCase>
{};

TEST_P(TEditCommandTest, ChangesTheTextAsOneUndoStep)
{
    const TCommandCase& c = GetParam();
    MakeWindow({WriteFile("a.ngc", kProgram)});
    bool shown = false;
    dialogs->onExecute = [&](QDialog& dialog) {
        shown = true;
        c.Fill(dialog);
        return true;
    };
    ActionNamed(c.Action).trigger();
    EXPECT_TRUE(shown);
    EXPECT_EQ(Editor().text(), c.Expected);
    ActionNamed("EditUndo1").trigger();
    EXPECT_EQ(Editor().text(), QString::fromLatin1(kProgram));
    EXPECT_FALSE(ActionNamed("EditUndo1").isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    Commands, TEditCommandTest,
    ::testing::Values(TCommandCase{"Renumber", "EditRenumber1",
                                   [](QDialog& dialog) {
                                       auto& renumber = dynamic_cast<TRenumberDlg&>(dialog);
                                       renumber.edtStart->setValue(1);
                                       renumber.edtStep->setValue(1);
                                   },
                                   "N1 g0 x1\nN2 g1 x2 (a)\nN3 g1 x3\n"},
                      TCommandCase{"Tidy", "EditTidy1",
                                   [](QDialog& dialog) { dynamic_cast<TTidyDlg&>(dialog); },
                                   "G0 X1\nG1 X2 (a)\nG1 X3\n"},
                      TCommandCase{"Transform", "EditTransform1",
                                   [](QDialog& dialog) {
                                       auto& transform = dynamic_cast<TTransformDlg&>(dialog);
                                       transform.cbxOperation->setCurrentIndex(
                                           static_cast<int>(TTransformDlg::TOperation::Mirror));
                                   },
                                   "g0 x-1\ng1 x-2 (a)\ng1 x-3\n"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(TEditToolsTest, TransformPreviewsItsPathAndRefusesWithTheReason)
{
    MakeWindow({WriteFile("a.ngc", "g0 x1 y1\ng1 x#1\ng1 y2\n")});
    dialogs->onExecute = [&](QDialog& dialog) {
        auto& transform = dynamic_cast<TTransformDlg&>(dialog);
        EXPECT_EQ(OverlaySegments(), 2U) << "a move by nothing is drawn over the path";
        transform.cbxOperation->setCurrentIndex(
            static_cast<int>(TTransformDlg::TOperation::Mirror));
        EXPECT_NE(transform.lblStatus->text().indexOf("line 2"), -1)
            << transform.lblStatus->text().toStdString();
        EXPECT_EQ(OverlaySegments(), 0U);
        transform.cbxMirror->setCurrentIndex(1);  // in Y, which line 2 has no part in
        EXPECT_EQ(transform.lblStatus->text(), "");
        EXPECT_EQ(OverlaySegments(), 2U);
        return false;
    };
    ActionNamed("EditTransform1").trigger();
    EXPECT_EQ(OverlaySegments(), 0U) << "the preview goes with the dialog";
    EXPECT_EQ(Editor().text(), "g0 x1 y1\ng1 x#1\ng1 y2\n");
}

TEST_F(TEditToolsTest, CompareMarksTheDifferencesAndDrawsTheOtherPath)
{
    MakeWindow({WriteFile("a.ngc", kProgram)});
    dialogs->openNames.push_back(WriteFile("b.ngc", "g0 x1\ng1 x5\ng1 x3\ng1 x4\n"));
    ActionNamed("FileCompare1").trigger();
    TCompareWindow* compare = window->CompareWindow();
    ASSERT_NE(compare, nullptr);
    EXPECT_EQ(compare->Hunks(), (std::vector<TDiffHunk>{{1, 2, 1, 2}, {3, 3, 3, 4}}));
    const unsigned changed = 1U << TCompareWindow::kChangedMarker;
    EXPECT_EQ(compare->memLeft->markersAtLine(1) & changed, changed);
    EXPECT_EQ(compare->memLeft->markersAtLine(0) & changed, 0U);
    EXPECT_EQ(compare->memRight->markersAtLine(3) & changed, changed);
    EXPECT_EQ(OverlaySegments(), 4U);

    QTest::mouseClick(compare->btnNext, Qt::LeftButton);
    int line = 0;
    int index = 0;
    compare->memRight->getCursorPosition(&line, &index);
    EXPECT_EQ(line, 1);
    QTest::mouseClick(compare->btnNext, Qt::LeftButton);
    compare->memRight->getCursorPosition(&line, &index);
    EXPECT_EQ(line, 3);

    compare->activateWindow();
    EXPECT_SOON(QApplication::activeWindow() == compare);
    QTest::keyClick(compare->windowHandle(), Qt::Key_Escape);
    EXPECT_SOON(window->CompareWindow() == nullptr);
    EXPECT_EQ(OverlaySegments(), 0U);
}

TEST_F(TEditToolsTest, HoverHelpAnswersFromTheUsersFile)
{
    QDir(Path("config")).mkpath("Zorvit");
    WriteFile("config/Zorvit/word-help", "G1\tOur feed move.\n");
    MakeWindow({WriteFile("a.ngc", kProgram)});
    ShowAndFocusEditor();
    const long g1 = Editor().positionFromLineIndex(1, 1);
    EXPECT_EQ(window->WordHelpTips().TipAt(g1), "G1: Our feed move.");
    EXPECT_EQ(window->WordHelpTips().TipAt(Editor().positionFromLineIndex(1, 7)),
              "");  // the comment
    emit Editor().SCN_DWELLSTART(static_cast<int>(g1), 10, 10);
    EXPECT_EQ(QToolTip::text(), "G1: Our feed move.");
}

}  // namespace
