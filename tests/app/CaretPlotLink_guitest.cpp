// Finding one's way in the real window: Fit to View and the standard views, the caret's move
// highlighted in the plot and a click on a move putting the caret on its line, the failing
// line of a run marked in the editor, and the one setting this keeps. Pixels are read back
// from the panel's framebuffer.

#include "tests/app/PlotterTestSupport.h"

#include "editor/FailedLineMark.h"
#include "editor/GCodeEditor.h"
#include "plot/OpenGLPanel.h"
#include "plot/ViewProjection.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "tests/support/WaitFor.h"

#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QTest>

#include <algorithm>
#include <climits>
#include <string>

namespace {

constexpr QRgb kHighlight = 0xFFFFFF00;  // yellow
constexpr QRgb kG1 = 0xFFFF0000;         // clRed, the G1 colour
constexpr QRgb kBlack = 0xFF000000;

// A pocket below and left of the origin: nothing of it is in view after opening.
const QByteArray kProgram = "G0 X-5 Y-5\n"   // line 0, where the caret starts
                            "(pocket)\n"     // 1
                            "G1 X-40 Y-5\n"  // 2
                            "G1 X-40 Y-30\n"
                            "G1 X-5 Y-30\n"  // 4
                            "G1 X-5 Y-5";

class TCaretPlotLinkTest : public TPlotterTest
{
protected:
    void SetUp() override
    {
        TPlotterTest::SetUp();
        MakeWindow({WriteFile(QStringLiteral("pocket.ngc"), kProgram)});
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    TOpenGLPanel& Panel() const { return window->Panel(); }
    TGCodeEditor& Editor() const { return window->Editor(); }

    void FocusPanel()
    {
        Panel().setFocus();
        EXPECT_SOON(Panel().hasFocus());
    }

    // Where a world point is drawn, in panel pixels.
    QPoint PixelOf(TPoint3f point) const
    {
        const TViewProjection projection(Panel().ViewState(), Panel().ViewBounds(), Panel().width(),
                                         Panel().height());
        const TPixelPoint pixel = projection.ToPixels(projection.Turned(point));
        return QPointF(pixel.x, pixel.y).toPoint();
    }

    QPoint Middle(TPoint3f a, TPoint3f b) const
    {
        return PixelOf({(a.x + b.x) / 2, (a.y + b.y) / 2, (a.z + b.z) / 2});
    }

    // The pixels of one colour in what the panel shows now, left of column beforeX.
    QRect PixelsOf(QRgb colour, int* count = nullptr, int beforeX = INT_MAX) const
    {
        const QImage image = Panel().grabFramebuffer();
        QRect box;
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < std::min(image.width(), beforeX); ++x)
                if (image.pixel(x, y) == colour) {
                    box |= QRect(x, y, 1, 1);
                    ++n;
                }
        if (count)
            *count = n;
        return box;
    }

    bool Highlighted() const { return !PixelsOf(kHighlight).isEmpty(); }

    // The editor reports caret moves when it next updates its view.
    void MoveCaret(int line, int index)
    {
        Editor().setCursorPosition(line, index);
        QTest::qWait(kSettleMs);
    }

    static constexpr int kSettleMs = 50;
};

TEST_F(TCaretPlotLinkTest, FitBringsTheWholeProgramIntoViewAndTheStandardViewsTurnIt)
{
    int before = 0;
    PixelsOf(kG1, &before);
    EXPECT_EQ(before, 0) << "the pocket starts out of view";

    // F typed in the editor is text, not a command.
    Editor().setFocus();
    EXPECT_SOON(Editor().hasFocus());
    Editor().setCursorPosition(0, 0);
    QTest::keyClick(&Editor(), Qt::Key_F);
    EXPECT_TRUE(Editor().text(0).startsWith(QLatin1Char('f'))) << Editor().text(0).toStdString();
    EXPECT_EQ(Panel().ViewState().zoomFactor, 1.0);

    FocusPanel();
    QTest::keyClick(&Panel(), Qt::Key_F);
    // The gizmo's Y axis is red too; the pocket lies left of it.
    int drawn = 0;
    const QRect box = PixelsOf(kG1, &drawn, PixelOf({-2, 0, 0}).x());
    EXPECT_GT(drawn, 500);
    const QRect inside = Panel().rect().adjusted(3, 3, -3, -3);
    EXPECT_TRUE(inside.contains(box))
        << box.x() << "," << box.y() << " " << box.width() << "x" << box.height();
    EXPECT_GT(
        std::max(box.width() / double(Panel().width()), box.height() / double(Panel().height())),
        0.7);

    struct TKeyView
    {
        Qt::Key key;
        double rotationX, rotationZ;
    };
    for (const TKeyView& k : {TKeyView{Qt::Key_2, -90, 0}, TKeyView{Qt::Key_3, -90, -90},
                              TKeyView{Qt::Key_4, -54.74, -45}, TKeyView{Qt::Key_1, 0, 0}}) {
        QTest::keyClick(&Panel(), k.key);
        EXPECT_NEAR(Panel().ViewState().rotationX, k.rotationX, 0.01) << k.key;
        EXPECT_EQ(Panel().ViewState().rotationY, 0.0) << k.key;
        EXPECT_EQ(Panel().ViewState().rotationZ, k.rotationZ);
    }
    // The View menu runs the same commands.
    window->findChild<QAction*>("itmViewFront")->trigger();
    EXPECT_EQ(Panel().ViewState().rotationX, -90.0);
    EXPECT_EQ(window->findChild<QMenu*>("mnuView")->title(), QStringLiteral("&View"));
}

TEST_F(TCaretPlotLinkTest, CaretHighlightsItsMoveAndAClickOnAMoveMovesTheCaret)
{
    FocusPanel();
    QTest::keyClick(&Panel(), Qt::Key_F);
    QTest::qWait(kSettleMs);
    EXPECT_FALSE(Highlighted()) << "nothing new is drawn until the caret moves";

    MoveCaret(2, 3);  // G1 X-40 Y-5: from (-5,-5) to (-40,-5)
    int lit = 0;
    const QRect highlight = PixelsOf(kHighlight, &lit);
    EXPECT_GT(lit, 200);
    EXPECT_TRUE(highlight.contains(Middle({-5, -5, 0}, {-40, -5, 0})));
    MoveCaret(1, 2);  // the comment made no move
    EXPECT_FALSE(Highlighted());

    ActionNamed("ViewHighlightCaretMove").trigger();
    EXPECT_FALSE(ActionNamed("ViewHighlightCaretMove").isChecked());
    MoveCaret(2, 0);
    EXPECT_FALSE(Highlighted());
    ActionNamed("ViewHighlightCaretMove").trigger();
    MoveCaret(3, 0);
    EXPECT_TRUE(Highlighted());
    ActionNamed("PlotterRefresh").trigger();
    QTest::qWait(kSettleMs);
    EXPECT_FALSE(Highlighted()) << "a refresh draws the plot as before";

    // A click on the move of line 4 puts the caret there and highlights it.
    FocusPanel();
    QTest::keyClick(&Panel(), Qt::Key_F);
    const QPoint onMove = Middle({-40, -30, 0}, {-5, -30, 0}) + QPoint(0, 4);
    QTest::mouseClick(&Panel(), Qt::LeftButton, {}, onMove);
    int line = -1, index = -1;
    Editor().getCursorPosition(&line, &index);
    EXPECT_EQ(line, 4);
    EXPECT_TRUE(PixelsOf(kHighlight).contains(onMove - QPoint(0, 4)));
    EXPECT_NE(Editor().markersAtLine(4), 0u) << "the picked line is shaded";

    // A drag pans and picks nothing; a click beside every move changes nothing.
    const auto panX = Panel().ViewState().panX;
    const QPoint onOther = Middle({-5, -5, 0}, {-40, -5, 0});
    QTest::mousePress(&Panel(), Qt::LeftButton, {}, onOther);
    QTest::mouseMove(&Panel(), onOther + QPoint(20, 0));
    QTest::mouseRelease(&Panel(), Qt::LeftButton, {}, onOther + QPoint(20, 0));
    EXPECT_EQ(Panel().ViewState().panX, panX - 20);
    Editor().getCursorPosition(&line, &index);
    EXPECT_EQ(line, 4);
    QTest::mouseClick(&Panel(), Qt::LeftButton, {}, Panel().rect().center() + QPoint(0, 1));
    Editor().getCursorPosition(&line, &index);
    EXPECT_EQ(line, 4);
    MoveCaret(2, 0);
    EXPECT_EQ(Editor().markersAtLine(4), 0u) << "the shade goes with the caret";
}

TEST_F(TCaretPlotLinkTest, AFailingRefreshMarksItsLineUntilTheLineIsEdited)
{
    Editor().setText(QStringLiteral("G0 X1\nG1 X2\nG1 S40000\nG1 X4"));
    ActionNamed("PlotterRefresh").trigger();
    ASSERT_EQ(dialogs->errors.size(), 1);
    const QString shown = dialogs->errors.front();
    EXPECT_EQ(shown, QStringLiteral("40000 is not a valid value for field 'SpindleSpeed'. The "
                                    "allowed range is -32768 to 32767."));
    const TFailedLineMark& mark = window->FailedLineMark();
    EXPECT_EQ(mark.Line(), 2);
    int line = -1, index = -1;
    Editor().getCursorPosition(&line, &index);
    EXPECT_EQ(line, 2);
    EXPECT_NE(Editor().markersAtLine(2), 0u);
    EXPECT_EQ(Editor().annotation(2), shown);

    // Editing another line keeps the mark, which moves with its line; editing it removes it.
    Editor().insertAt(QStringLiteral("(new)\n"), 0, 0);
    EXPECT_EQ(mark.Line(), 3);
    Editor().insertAt(QStringLiteral(" "), 3, 0);
    EXPECT_EQ(mark.Line(), -1);
    EXPECT_EQ(Editor().markersAtLine(3), 0u);
    EXPECT_TRUE(Editor().annotation(3).isEmpty());

    ActionNamed("PlotterRefresh").trigger();  // fails again, then succeeds once mended
    EXPECT_EQ(mark.Line(), 3);
    Editor().setText(QStringLiteral("G0 X1"));
    ActionNamed("PlotterRefresh").trigger();
    EXPECT_EQ(dialogs->errors.size(), 2);
    EXPECT_EQ(mark.Line(), -1);
}

// After a failed refresh the plot shows the program before: the caret and clicks leave it alone
// and the status bar says so, until a run succeeds.
TEST_F(TCaretPlotLinkTest, AfterAFailedRunThePreviousPlotIsNeitherHighlightedNorPicked)
{
    FocusPanel();
    QTest::keyClick(&Panel(), Qt::Key_F);
    auto* label = window->findChild<QLabel*>(QStringLiteral("lblPreviousPlot"));
    ASSERT_NE(label, nullptr);
    EXPECT_FALSE(label->isVisible());
    MoveCaret(2, 0);
    ASSERT_TRUE(Highlighted());

    // Line 2 of the new text fails; line 4 still makes a move of its own.
    Editor().setText(QStringLiteral("G0 X1\nG1 X2\nG1 S40000\nG1 X4\nG1 X-5 Y-30"));
    ActionNamed("PlotterRefresh").trigger();
    ASSERT_EQ(dialogs->errors.size(), 1);
    EXPECT_TRUE(label->isVisible());
    EXPECT_EQ(label->text(), QStringLiteral("The plot shows the previous program."));
    QTest::qWait(kSettleMs);
    EXPECT_FALSE(Highlighted());
    MoveCaret(4, 0);
    EXPECT_FALSE(Highlighted());
    EXPECT_FALSE(Panel().HasHighlight());
    FocusPanel();
    // The old program's move of line 2 is still drawn there.
    QTest::mouseClick(&Panel(), Qt::LeftButton, {}, Middle({-5, -5, 0}, {-40, -5, 0}));
    int line = -1, index = -1;
    Editor().getCursorPosition(&line, &index);
    EXPECT_EQ(line, 4) << "the click picked nothing";
    EXPECT_FALSE(Highlighted());

    Editor().setText(QString::fromLatin1(kProgram));
    ActionNamed("PlotterRefresh").trigger();
    EXPECT_FALSE(label->isVisible());
    MoveCaret(3, 0);
    EXPECT_TRUE(Panel().HasHighlight()) << "the new plot is out of view until fitted";
}

// The setting is written once it is off, read back, and written on again; a first run leaves no
// trace of it.
TEST_F(TCaretPlotLinkTest, HighlightSettingIsKeptOnlyOnceItWasTurnedOff)
{
    const std::string settings = SettingsFileName();
    window.reset();
    EXPECT_FALSE(ReadFile(QString::fromStdString(settings)).contains("[View]"));

    MakeWindow();
    ActionNamed("ViewHighlightCaretMove").trigger();
    window.reset();
    EXPECT_EQ(TIniFile(settings).ReadString("View", "HighlightCaretMove", ""), "0");
    MakeWindow();
    EXPECT_FALSE(ActionNamed("ViewHighlightCaretMove").isChecked());
    ActionNamed("ViewHighlightCaretMove").trigger();
    window.reset();
    EXPECT_EQ(TIniFile(settings).ReadString("View", "HighlightCaretMove", ""), "1");
}

}  // namespace
