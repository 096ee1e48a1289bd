// The main window on a display without OpenGL: it shows, keeps plotting into the panel's
// segment list, and says why nothing is drawn. Its own program, since the OpenGL integration
// is chosen once, before the application starts.

#include "tests/app/PlotterTestSupport.h"

#include "editor/GCodeEditor.h"
#include "plot/OpenGLPanel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>

namespace {

constexpr int kSettleMs = 300;

// Lets the window be mapped and painted: this is where a window holding an OpenGL widget
// would fail without OpenGL.
void ProcessEventsFor(int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds)
        QApplication::processEvents(QEventLoop::AllEvents, milliseconds);
}

}  // namespace

TEST(TGLPlotterWithoutOpenGL, ShowsTheWindowAndKeepsThePlotData)
{
    qputenv("QT_XCB_GL_INTEGRATION", "none");
    int argc = 1;
    char name[] = "PlotterNoOpenGL_test";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    ASSERT_FALSE(TOpenGLPanel::OpenGLAvailable());

    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    qputenv("XDG_CONFIG_HOME", folder.path().toLocal8Bit());
    qputenv("XDG_STATE_HOME", folder.path().toLocal8Bit());
    const QString program = folder.filePath(QStringLiteral("square.ngc"));
    QFile file(program);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("G0 X1 Y1\nG1 X5\nY5\n");
    file.close();

    TGLPlotter window({program}, std::make_unique<TScriptedDialogs>());
    window.show();
    ProcessEventsFor(kSettleMs);
    ASSERT_TRUE(window.isVisible());

    const auto* notice = window.findChild<QLabel*>(QStringLiteral("lblNoOpenGL"));
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(notice->isVisible());
    EXPECT_FALSE(window.isAncestorOf(&window.Panel()));
    EXPECT_EQ(window.Panel().Segments().size(), 3u);

    window.Editor().append(QStringLiteral("\nX0"));
    window.findChild<QAction*>(QStringLiteral("PlotterRefresh"))->trigger();
    EXPECT_EQ(window.Panel().Segments().size(), 4u);
    window.findChild<QAction*>(QStringLiteral("PlotterResetOrigin"))->trigger();
    ProcessEventsFor(kSettleMs);
}
