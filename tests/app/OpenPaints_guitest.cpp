// Opening a file draws the full segment list once before the user can act: a paint of a large
// plot takes seconds, so no paint may draw a picture that the window already shows.

#include "tests/app/PlotterTestSupport.h"

#include "plot/OpenGLPanel.h"

#include <QAction>
#include <QTest>

#include <vector>

namespace {

const QByteArray kSquare = "G0 X1 Y1\nG1 X5\nY5\nX1\nY1\n";  // five segments, extent 6
const QByteArray kWide = "G0 X20\nG1 Y20\n";                 // two segments, extent 21

class TOpenPaintsTest : public TPlotterTest
{
protected:
    // Records the segment count of every paint from now on.
    void CountPaints()
    {
        paints.clear();
        window->Panel().OnPainted = [this] { paints.push_back(window->Panel().Segments().size()); };
    }

    int FullPaints() const
    {
        int full = 0;
        for (const std::size_t segments : paints)
            full += segments > 0 ? 1 : 0;
        return full;
    }

    // Lets every paint that the window system has queued run.
    static void Settle() { QTest::qWait(200); }

    // A shown window on the square, every paint of its start done.
    void ShowWindowOnTheSquare()
    {
        MakeWindow({WriteFile("square.ngc", kSquare)});
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        Settle();
    }

    std::vector<std::size_t> paints;
};

TEST_F(TOpenPaintsTest, FileOfTheCommandLineIsDrawnOnceWhenTheWindowIsShown)
{
    const QString path = WriteFile("square.ngc", kSquare);
    MakeWindow({path});
    CountPaints();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    Settle();
    EXPECT_EQ(FullPaints(), 1);
    EXPECT_EQ(paints.back(), 5u) << "the last paint shows the whole plot";
}

TEST_F(TOpenPaintsTest, FileOpenDrawsTheNewPlotOnce)
{
    ShowWindowOnTheSquare();
    const QString wide = WriteFile("wide.ngc", kWide);

    // A new extent paints at once; the repaint requested after it has nothing new to draw.
    CountPaints();
    dialogs->openNames.push_back(wide);
    ActionNamed("FileOpen1").trigger();
    Settle();
    EXPECT_EQ(FullPaints(), 1);
    ASSERT_FALSE(paints.empty());
    EXPECT_EQ(paints.back(), 2u);

    // The same extent again: only the requested repaint draws.
    CountPaints();
    dialogs->openNames.push_back(wide);
    ActionNamed("FileOpen1").trigger();
    Settle();
    EXPECT_EQ(FullPaints(), 1);
    EXPECT_EQ(window->Panel().ViewState().extent, 21);
}

TEST_F(TOpenPaintsTest, ChangesAfterADrawAreDrawnAndAnExposeShowsTheKeptPicture)
{
    ShowWindowOnTheSquare();

    CountPaints();
    window->Panel().update();
    Settle();
    EXPECT_TRUE(paints.empty()) << "nothing changed since the last paint";
    const QImage kept = window->Panel().grabFramebuffer();

    window->Panel().AddSegment({1, 1, 0}, {5, 5, 0}, 0x00FFFFFF);
    window->Panel().update();
    Settle();
    ASSERT_EQ(paints.size(), 1u);
    EXPECT_EQ(paints.back(), 6u);
    EXPECT_FALSE(window->Panel().grabFramebuffer() == kept);

    CountPaints();
    window->resize(window->width() + 40, window->height());
    Settle();
    EXPECT_GE(paints.size(), 1u) << "a new size is a new picture";
}

// Long work holds the plot's paint events so that a half-built list is never drawn.
TEST_F(TOpenPaintsTest, HeldPaintsKeepThePictureUntilReleased)
{
    ShowWindowOnTheSquare();

    CountPaints();
    TOpenGLPanel& panel = window->Panel();
    panel.SetPaintsHeld(true);
    panel.AddSegment({1, 1, 0}, {5, 5, 0}, 0x00FFFFFF);
    panel.update();
    Settle();
    EXPECT_TRUE(paints.empty());
    panel.ResetView();
    EXPECT_EQ(paints.size(), 1u) << "an operation that paints still draws";
    panel.AddSegment({1, 5, 0}, {5, 1, 0}, 0x00FFFFFF);
    panel.SetPaintsHeld(false);
    Settle();
    ASSERT_EQ(paints.size(), 2u);
    EXPECT_EQ(paints.back(), 7u);
}

}  // namespace
