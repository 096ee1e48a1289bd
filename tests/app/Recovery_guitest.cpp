// Recovery copies in the window: the real program killed while the text is edited leaves a copy
// that the next start offers, and each way of giving up or saving the text removes its copy.
#include "app/window/Plotter.h"
#include "recovery/RecoveryStore.h"
#include "tests/app/PlotterTestSupport.h"

#include <QAction>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

constexpr int kToolTimeoutMs = 30000;
constexpr int kCopyTimeoutMs = 10000;
const QByteArray kFileText = "G0 X0\n";

class TRecoveryTest : public TPlotterTest
{
protected:
    // A window whose start asks the recovery question: the answers are queued before it exists.
    TGLPlotter& MakeWindowAnswering(const QStringList& arguments, std::deque<TAnswer> answers)
    {
        auto scripted = std::make_unique<TScriptedDialogs>();
        scripted->answers = std::move(answers);
        dialogs = scripted.get();
        window = std::make_unique<TGLPlotter>(arguments, std::move(scripted));
        return *window;
    }

    // The copy of a file (by its absolute path), or of the untitled text for an empty name.
    static QString CopyOf(const QString& document)
    {
        return QString::fromStdString(
            TRecoveryStore(RecoveryFolder()).CopyPath(document.toStdString()));
    }

    void Type(const QString& text) { window->Editor().insertAt(text, 0, 0); }

    static QString RecoverQuestion(const QString& name)
    {
        return QStringLiteral("Recover unsaved changes to %1?").arg(name);
    }

    static QString Xdotool(const QStringList& arguments)
    {
        QProcess tool;
        tool.start(QStringLiteral("xdotool"), arguments);
        EXPECT_TRUE(tool.waitForFinished(kToolTimeoutMs)) << arguments.join(' ').toStdString();
        EXPECT_EQ(tool.exitCode(), 0) << arguments.join(' ').toStdString();
        return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
    }
};

TEST_F(TRecoveryTest, TextTypedBeforeAKillIsOfferedAtTheNextStart)
{
    if (QGuiApplication::platformName() != QStringLiteral("xcb"))
        GTEST_SKIP() << "xdotool types on an X server only";
    const QString path = WriteFile(QStringLiteral("part.ngc"), kFileText);
    QProcess zorvit;
    zorvit.start(QStringLiteral(ZORVIT_PROGRAM), {path});
    ASSERT_TRUE(zorvit.waitForStarted());
    const QString id =
        Xdotool({"search", "--sync", "--onlyvisible", "--name", "^Zorvit - "}).section('\n', 0, 0);
    ASSERT_FALSE(id.isEmpty());
    Xdotool({"windowfocus", "--sync", id});
    // Without a window manager the keys reach the editor once it has been clicked.
    Xdotool({"mousemove", "--window", id, "80", "300", "click", "1"});
    Xdotool({"key", "ctrl+End"});
    Xdotool({"type", "--delay", "20", "G1 X5 Y7"});
    const bool copied = QTest::qWaitFor([&] { return ReadFile(CopyOf(path)).contains("G1 X5 Y7"); },
                                        kCopyTimeoutMs);
    zorvit.kill();  // SIGKILL: nothing of the program runs after it
    ASSERT_TRUE(zorvit.waitForFinished());
    ASSERT_TRUE(copied);
    EXPECT_EQ(ReadFile(path), kFileText);

    MakeWindowAnswering({path}, {TAnswer::Yes});
    EXPECT_EQ(dialogs->questions, QStringList{RecoverQuestion(path)});
    EXPECT_FALSE(dialogs->questionsHadCancel.front());
    EXPECT_EQ(window->Editor().TextBytes(), "G0 X0\nG1 X5 Y7");
    EXPECT_TRUE(window->Editor().Modified());
    EXPECT_EQ(ReadFile(path), kFileText);
    ASSERT_TRUE(QFileInfo::exists(CopyOf(path)));

    ActionNamed("FileSave1").trigger();
    EXPECT_EQ(ReadFile(path), "G0 X0\nG1 X5 Y7");
    EXPECT_FALSE(QFileInfo::exists(CopyOf(path)));
}

TEST_F(TRecoveryTest, SavingOrGivingUpTheTextRemovesItsCopy)
{
    struct TCase
    {
        const char* What;
        std::deque<TAnswer> Answers;
        std::function<void(const QString& path)> Act;
        QByteArray FileAfter;
    };
    const std::vector<TCase> cases = {
        {"Save", {}, [this](const QString&) { ActionNamed("FileSave1").trigger(); }, "X1\nG0 X0\n"},
        {"New, not saved",
         {TAnswer::No},
         [this](const QString&) { ActionNamed("FileNew1").trigger(); },
         kFileText},
        {"closed, not saved",
         {TAnswer::No},
         [this](const QString&) { EXPECT_TRUE(window->close()); },
         kFileText},
        {"reloaded",
         {TAnswer::Yes},
         [this](const QString& path) {
             QTest::qWait(20);  // a new modification time
             WriteFile(QFileInfo(path).fileName(), "G0 X3\n");
             ASSERT_TRUE(QTest::qWaitFor([this] { return dialogs->questions.size() == 1; },
                                         kCopyTimeoutMs));
         },
         "G0 X3\n"},
        {"not recovered",
         {TAnswer::No},
         [this](const QString& path) {
             window.reset();  // as a crash: no close
             MakeWindowAnswering({path}, {TAnswer::No});
             EXPECT_EQ(dialogs->questions, QStringList{RecoverQuestion(path)});
             EXPECT_EQ(window->Editor().TextBytes(), kFileText);
             EXPECT_FALSE(window->Editor().Modified());
         },
         kFileText},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        const QString path = WriteFile(QStringLiteral("part.ngc"), kFileText);
        MakeWindowAnswering({path}, c.Answers);
        Type(QStringLiteral("X1\n"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return ReadFile(CopyOf(path)) == "X1\nG0 X0\n"; },
                                    kCopyTimeoutMs));
        EXPECT_EQ(QFileInfo(CopyOf(path)).permissions(),
                  QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        EXPECT_EQ(ReadFile(path), kFileText);
        c.Act(path);
        EXPECT_FALSE(QFileInfo::exists(CopyOf(path)));
        EXPECT_EQ(ReadFile(path), c.FileAfter);
        window.reset();
    }
}

TEST_F(TRecoveryTest, AnUntitledTextIsOfferedAtAStartWithoutAFile)
{
    MakeWindow();
    Type(QStringLiteral("G1 X2\n"));
    const QByteArray typed = window->Editor().TextBytes();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return ReadFile(CopyOf(QString())) == typed; }, kCopyTimeoutMs));
    window.reset();  // as a crash: no close

    // A start on a file leaves the untitled copy for a start without one.
    const QString path = WriteFile(QStringLiteral("part.ngc"), kFileText);
    MakeWindowAnswering({path}, {});
    EXPECT_TRUE(dialogs->questions.isEmpty());
    window.reset();

    MakeWindowAnswering({}, {TAnswer::Yes});
    EXPECT_EQ(dialogs->questions, QStringList{RecoverQuestion(QStringLiteral("Untitled"))});
    EXPECT_EQ(window->Editor().TextBytes(), typed);
    EXPECT_TRUE(window->Editor().Modified());
}

}  // namespace
