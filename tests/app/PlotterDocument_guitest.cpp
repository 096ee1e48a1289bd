// The life of the document in the main window: start-up, open, edit, refresh, save, save as,
// new, the close query, reloads after outside changes, and what failures leave behind.

#include "tests/app/PlotterTestSupport.h"

#include "app/dialogs/ColorsDlg.h"
#include "editor/GCodeEditor.h"
#include "highlight/Highlighter.h"
#include "plot/OpenGLPanel.h"
#include "tests/support/WaitFor.h"
#include "watch/ATFileNotification.h"

#include <QAction>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <csignal>
#include <string>
#include <string_view>
#include <sys/resource.h>

namespace {

const QByteArray kSquare = "G0 X1 Y1\nG1 X5\nY5\nX1\nY1\n";  // five segments
const QByteArray kTwoMoves = "G0 X2\nG1 Y3\n";               // two segments
const QByteArray kBadProgram = "G0 X1\nG1 X\n";              // "Number expected" on line 2

std::size_t SegmentCount(const TGLPlotter& window)
{
    return window.Panel().Segments().size();
}

class TPlotterDocumentTest : public TPlotterTest
{
protected:
    // Opens a file through the File > Open action, answering its dialog.
    void Open(const QString& path)
    {
        dialogs->openNames.push_back(path);
        ActionNamed("FileOpen1").trigger();
    }

    void Type(const QString& text) { window->Editor().insertAt(text, 0, 0); }

    bool SaveEnabled() { return ActionNamed("FileSave1").isEnabled(); }
};

TEST_F(TPlotterDocumentTest, StartsUntitledWithoutArgument)
{
    MakeWindow();
    EXPECT_EQ(window->windowTitle(), "Zorvit");
    EXPECT_TRUE(window->Editor().text().isEmpty());
    EXPECT_FALSE(window->HasInterpreter());
    EXPECT_FALSE(SaveEnabled());
    EXPECT_EQ(SegmentCount(*window), 0u);
    EXPECT_TRUE(window->Watcher().FileName().isEmpty());
    EXPECT_FALSE(window->Watcher().Running());
    EXPECT_TRUE(window->findChild<QTabWidget*>("pgcGCode")->tabBar()->isHidden());
    EXPECT_TRUE(dialogs->errors.isEmpty());
}

TEST_F(TPlotterDocumentTest, StartsWithTheFileOfTheFirstArgument)
{
    WriteFile("square.ngc", kSquare);
    QDir::setCurrent(folder.path());
    MakeWindow({"square.ngc", "ignored.ngc"});
    EXPECT_EQ(window->windowTitle(), "Zorvit - square.ngc");
    EXPECT_EQ(window->Editor().TextBytes(), kSquare);
    EXPECT_TRUE(window->HasInterpreter());
    EXPECT_EQ(SegmentCount(*window), 5u);
    EXPECT_EQ(window->Watcher().FileName(), "square.ngc");
    EXPECT_TRUE(window->Watcher().Running());
    EXPECT_FALSE(SaveEnabled());
    EXPECT_TRUE(window->findChild<QTabWidget*>("pgcGCode")->tabBar()->isHidden());
    EXPECT_TRUE(dialogs->errors.isEmpty());
}

TEST_F(TPlotterDocumentTest, StartsWithAMissingFileShowsTheErrorAndKeepsTheTab)
{
    QDir::setCurrent(folder.path());
    MakeWindow({"missing.ngc"});
    ASSERT_EQ(dialogs->errors.size(), 1);
    EXPECT_EQ(dialogs->errors[0], "Cannot open file \"" +
                                      QDir(folder.path()).absoluteFilePath("missing.ngc") +
                                      "\". No such file or directory.");
    EXPECT_EQ(window->windowTitle(), "Zorvit");
    EXPECT_FALSE(window->findChild<QTabWidget*>("pgcGCode")->tabBar()->isHidden());
    EXPECT_TRUE(window->Watcher().FileName().isEmpty());
}

TEST_F(TPlotterDocumentTest, OpenEditRefreshAndSave)
{
    const QString path = WriteFile("square.ngc", kSquare);
    MakeWindow();
    Open(path);
    EXPECT_EQ(window->windowTitle(), "Zorvit - " + path);
    EXPECT_EQ(SegmentCount(*window), 5u);
    EXPECT_FALSE(SaveEnabled());

    Type("G0 X9 Y9\n");
    EXPECT_TRUE(SaveEnabled());
    ActionNamed("PlotterRefresh").trigger();
    EXPECT_EQ(SegmentCount(*window), 6u);
    EXPECT_TRUE(SaveEnabled()) << "a refresh leaves the modified flag alone";

    ActionNamed("FileSave1").trigger();
    EXPECT_EQ(ReadFile(path), "G0 X9 Y9\n" + kSquare);
    EXPECT_FALSE(SaveEnabled());
    EXPECT_EQ(window->windowTitle(), "Zorvit - " + path);
    EXPECT_TRUE(window->Watcher().Running());
    EXPECT_TRUE(dialogs->questions.isEmpty());
}

TEST_F(TPlotterDocumentTest, RefreshReusesTheInterpreterAndKeepsFileAndTitle)
{
    const QString path = WriteFile("square.ngc", kSquare);
    MakeWindow({path});
    const auto table = window->LineTable();
    window->Editor().ClearAll();
    Type(QString::fromLatin1(kTwoMoves));
    ActionNamed("PlotterRefresh").trigger();
    EXPECT_EQ(window->LineTable(), table) << "the same interpreter fills the same table";
    EXPECT_EQ(SegmentCount(*window), 2u);
    EXPECT_EQ(window->Watcher().FileName(), path);
    EXPECT_EQ(window->windowTitle(), "Zorvit - " + path);
}

TEST_F(TPlotterDocumentTest, SaveOfAnUntitledTextOpensTheDialogAndCancelChangesNothing)
{
    MakeWindow();
    Type("G0 X1\n");
    dialogs->saveNames.push_back(QString());
    ActionNamed("FileSave1").trigger();
    EXPECT_EQ(dialogs->saveDialogs, 1);
    EXPECT_TRUE(SaveEnabled());
    EXPECT_TRUE(window->Watcher().FileName().isEmpty());
    EXPECT_EQ(window->windowTitle(), "Zorvit");
}

TEST_F(TPlotterDocumentTest, SaveAsWritesNamesTheDocumentAndClosesWithoutQuestion)
{
    MakeWindow();
    Type("G0 X1");
    const QString path = Path("new.ngc");
    dialogs->saveNames.push_back(path);
    ActionNamed("FileSaveAs1").trigger();
    EXPECT_EQ(ReadFile(path), "G0 X1");
    EXPECT_EQ(window->Watcher().FileName(), path);
    EXPECT_TRUE(window->Watcher().Running());
    EXPECT_EQ(window->windowTitle(), "Zorvit - " + path);
    EXPECT_FALSE(SaveEnabled());
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(dialogs->questions.isEmpty());
}

TEST_F(TPlotterDocumentTest, SaveAsAsksBeforeReplacingAFile)
{
    const QString path = WriteFile("old.ngc", "old text");
    MakeWindow();
    Type("new text");
    dialogs->saveNames.push_back(path);
    dialogs->answers.push_back(TAnswer::No);
    ActionNamed("FileSaveAs1").trigger();
    ASSERT_EQ(dialogs->questions.size(), 1);
    EXPECT_TRUE(dialogs->questions[0].startsWith(path + " already exists."));
    EXPECT_FALSE(dialogs->questionsHadCancel[0]);
    EXPECT_EQ(ReadFile(path), "old text");
    EXPECT_TRUE(SaveEnabled());

    dialogs->saveNames.push_back(path);
    dialogs->answers.push_back(TAnswer::Yes);
    ActionNamed("FileSaveAs1").trigger();
    EXPECT_EQ(ReadFile(path), "new text");
    EXPECT_FALSE(SaveEnabled());
}

// The close query, for each answer.
struct TCloseCase
{
    const char* name;
    TAnswer answer;
    std::optional<const char*> saveName;  // the Save As dialog's answer, for an untitled text
    bool titled;
    bool closes;
    bool written;
};

void PrintTo(const TCloseCase& c, std::ostream* out)
{
    *out << c.name;
}

class TCloseQueryTest : public TPlotterDocumentTest,
                        public ::testing::WithParamInterface<TCloseCase>
{};

TEST_P(TCloseQueryTest, ClosesOnlyWhenTheTextIsSafeOrGivenUp)
{
    const TCloseCase& c = GetParam();
    const QString path = WriteFile("doc.ngc", "G0 X1\n");
    MakeWindow(c.titled ? QStringList{path} : QStringList{});
    Type("G1 Y2\n");
    dialogs->answers.push_back(c.answer);
    if (c.answer == TAnswer::Yes && !c.titled)
        dialogs->saveNames.push_back(c.saveName ? Path(*c.saveName) : QString());

    EXPECT_EQ(window->close(), c.closes);
    ASSERT_EQ(dialogs->questions.size(), 1);
    EXPECT_EQ(dialogs->questions[0], "Save changes before closing?");
    EXPECT_TRUE(dialogs->questionsHadCancel[0]);
    const QString target = c.titled ? path : (c.saveName ? Path(*c.saveName) : QString());
    if (c.written) {
        // A text never loaded is written with CR LF.
        EXPECT_EQ(ReadFile(target), c.titled ? QByteArray("G1 Y2\nG0 X1\n") : "G1 Y2\r\n");
    } else if (c.titled) {
        EXPECT_EQ(ReadFile(path), "G0 X1\n");
    }
    if (!c.closes) {
        EXPECT_TRUE(window->Editor().text().startsWith("G1 Y2"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, TCloseQueryTest,
    ::testing::Values(TCloseCase{"Cancel", TAnswer::Cancel, {}, true, false, false},
                      TCloseCase{"No", TAnswer::No, {}, true, true, false},
                      TCloseCase{"YesTitled", TAnswer::Yes, {}, true, true, true},
                      TCloseCase{"YesUntitledSaved", TAnswer::Yes, "saved.ngc", false, true, true},
                      TCloseCase{
                          "YesUntitledDialogCancelled", TAnswer::Yes, {}, false, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TPlotterDocumentTest, ExitRunsTheCloseQuery)
{
    MakeWindow();
    window->show();
    Type("G0 X1");
    dialogs->answers.push_back(TAnswer::Cancel);
    ActionNamed("FileExit1").trigger();
    EXPECT_EQ(dialogs->questions.size(), 1);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(TPlotterDocumentTest, NewAsksAboutEditsThenEmptiesEverything)
{
    const QString path = WriteFile("square.ngc", kSquare);
    MakeWindow({path});
    Type("G0 X7\n");

    dialogs->answers.push_back(TAnswer::Cancel);
    ActionNamed("FileNew1").trigger();
    EXPECT_EQ(dialogs->questions.value(0), "Save changes before closing?");
    EXPECT_EQ(SegmentCount(*window), 5u);
    EXPECT_TRUE(window->Editor().text().startsWith("G0 X7"));

    dialogs->answers.push_back(TAnswer::No);
    ActionNamed("FileNew1").trigger();
    EXPECT_TRUE(window->Editor().text().isEmpty());
    EXPECT_FALSE(SaveEnabled());
    EXPECT_FALSE(window->Editor().CanUndo());
    EXPECT_EQ(SegmentCount(*window), 0u);
    EXPECT_EQ(window->windowTitle(), "Zorvit");
    EXPECT_TRUE(window->Watcher().FileName().isEmpty());
    EXPECT_FALSE(window->Watcher().Running());
    EXPECT_TRUE(window->HasInterpreter());
    EXPECT_EQ(ReadFile(path), kSquare);
}

TEST_F(TPlotterDocumentTest, OpenWithEditsSavesFirstWhenAskedTo)
{
    const QString first = WriteFile("first.ngc", kSquare);
    const QString second = WriteFile("second.ngc", kTwoMoves);
    MakeWindow({first});
    Type("G0 X7\n");
    dialogs->answers.push_back(TAnswer::Yes);
    Open(second);
    EXPECT_EQ(ReadFile(first), "G0 X7\n" + kSquare);
    EXPECT_EQ(window->Editor().TextBytes(), kTwoMoves);
    EXPECT_EQ(window->windowTitle(), "Zorvit - " + second);
    EXPECT_FALSE(SaveEnabled());
    EXPECT_FALSE(window->Editor().CanUndo());

    Type("G0 X8\n");
    dialogs->answers.push_back(TAnswer::Cancel);
    EXPECT_EQ(dialogs->openDialogs, 1);
    ActionNamed("FileOpen1").trigger();
    EXPECT_EQ(dialogs->openDialogs, 1) << "Cancel leaves before the dialog";
    EXPECT_TRUE(window->Editor().text().startsWith("G0 X8"));
}

// Files are written back with the line breaks they were read with.
class TLineBreakTest : public TPlotterDocumentTest,
                       public ::testing::WithParamInterface<const char*>
{};

TEST_P(TLineBreakTest, EditedFileIsWrittenWithItsOwnLineBreaks)
{
    const QByteArray br = GetParam();
    const QByteArray text = "G0 X1" + br + "G1 Y2" + br + "X3" + br;
    const QString path = WriteFile("breaks.ngc", text);
    MakeWindow({path});
    EXPECT_EQ(window->Editor().lines(), 4) << "a final line break gives an empty last line";
    EXPECT_EQ(SegmentCount(*window), 3u);
    window->Editor().insertAt("N5 ", 1, 0);
    ActionNamed("FileSave1").trigger();
    EXPECT_EQ(ReadFile(path), "G0 X1" + br + "N5 G1 Y2" + br + "X3" + br);
}

INSTANTIATE_TEST_SUITE_P(Styles, TLineBreakTest, ::testing::Values("\r\n", "\n", "\r"),
                         [](const auto& info) {
                             const std::string br = info.param;
                             return br == "\r\n" ? std::string("CrLf")
                                    : br == "\n" ? std::string("Lf")
                                                 : std::string("Cr");
                         });

TEST_F(TPlotterDocumentTest, BytesThatAreNotUtf8SurviveARoundTrip)
{
    const QByteArray text = "(angle 90\xB0 \xFF\xFE)\nG0 X1\n";
    const QString path = WriteFile("latin1.ngc", text);
    MakeWindow({path});
    window->Editor().insertAt("G1 Y2\n", 1, 0);
    ActionNamed("FileSave1").trigger();
    EXPECT_EQ(ReadFile(path), "(angle 90\xB0 \xFF\xFE)\nG1 Y2\nG0 X1\n");
}

// The text goes into the editor without passing through UTF-16 and the interpreter reads it in
// the editor's own buffer: every byte must come back as it was, and a second file must replace
// the first completely.
TEST_F(TPlotterDocumentTest, EveryByteSurvivesTheLoadTheRunAndTheSave)
{
    using namespace std::string_view_literals;
    // CR-only breaks, NUL bytes, a lone continuation byte, an overlong and a cut-off sequence.
    const QByteArray text = QByteArray::fromStdString(std::string(
        "(NUL \0 here)\rG0 X1 (\x80\xC0\xAF)\rG1 Y2 (\xE2\x82)\r\0\rX3 (\xFF\xFE\xED\xA0\x80)\r"sv));
    const QString path = WriteFile("bytes.ngc", text);
    const QString other = WriteFile("other.ngc", "G0 X7\nG1 Y8\n");
    MakeWindow({other});
    Open(path);
    EXPECT_EQ(window->Editor().TextBytes(), text);
    EXPECT_EQ(window->Editor().lines(), 6);
    EXPECT_EQ(window->Editor().LinesView().ToStrings(), window->Editor().Lines().ToStrings());
    EXPECT_EQ(SegmentCount(*window), 3u) << "the interpreter read the lines of the new text";

    // An edit and its undo leave the text as loaded and the document modified.
    Type("N1 ");
    window->Editor().undo();
    ASSERT_TRUE(SaveEnabled());
    ActionNamed("FileSave1").trigger();
    EXPECT_EQ(ReadFile(path), text);
    ActionNamed("PlotterRefresh").trigger();
    EXPECT_EQ(SegmentCount(*window), 3u);
    EXPECT_TRUE(dialogs->errors.isEmpty());
}

TEST_F(TPlotterDocumentTest, InterpreterErrorKeepsTheOldPlotAndNamesTheNewFile)
{
    const QString good = WriteFile("good.ngc", kSquare);
    const QString bad = WriteFile("bad.ngc", kBadProgram);
    MakeWindow({good});
    Open(bad);
    ASSERT_EQ(dialogs->errors.size(), 1);
    EXPECT_TRUE(dialogs->errors[0].contains("Number expected")) << dialogs->errors[0].toStdString();
    EXPECT_TRUE(dialogs->errors[0].endsWith('.'));
    EXPECT_EQ(window->Editor().TextBytes(), kBadProgram);
    EXPECT_EQ(window->windowTitle(), "Zorvit - " + bad);
    EXPECT_EQ(SegmentCount(*window), 5u);
    // Save must go to the file whose text the editor holds.
    EXPECT_EQ(window->Watcher().FileName(), bad);
    window->Editor().insertAt("G0 X9\n", 0, 0);
    ActionNamed("FileSave1").trigger();
    EXPECT_EQ(ReadFile(good), kSquare);
    EXPECT_EQ(ReadFile(bad), "G0 X9\n" + kBadProgram);
}

TEST_F(TPlotterDocumentTest, ALargeFileInterpretedWhileItLoadsPlotsAsARefreshDoes)
{
    // Long enough to be read in several parts while the interpreter follows on another thread.
    constexpr int kLines = 500000;
    QByteArray text;
    for (int i = 0; i < kLines; ++i)
        text +=
            "G1 X" + QByteArray::number(i % 997) + ".25 Y" + QByteArray::number(i / 997) + "\r\n";
    MakeWindow({WriteFile("large.ngc", text)});
    const TSegmentList& segments = window->Panel().Segments();
    ASSERT_EQ(segments.size(), static_cast<std::size_t>(kLines));
    const auto ends = [&segments] {
        std::vector<float> coordinates;
        for (std::size_t i = 0; i < segments.size(); ++i)
            coordinates.insert(coordinates.end(),
                               {segments.To(i).x, segments.To(i).y, segments.To(i).z});
        return coordinates;
    };
    const std::vector<float> opened = ends();
    ActionNamed("PlotterRefresh").trigger();
    EXPECT_TRUE(ends() == opened);

    Open(WriteFile("bad.ngc", text + "G1 X\r\n"));
    ASSERT_EQ(dialogs->errors.size(), 1);
    EXPECT_TRUE(dialogs->errors[0].contains(QStringLiteral("on line %1").arg(kLines + 1)))
        << dialogs->errors[0].toStdString();
}

TEST_F(TPlotterDocumentTest, InterpreterErrorOnRefreshKeepsThePlot)
{
    const QString good = WriteFile("good.ngc", kSquare);
    MakeWindow({good});
    Type("G1 X\n");
    ActionNamed("PlotterRefresh").trigger();
    ASSERT_EQ(dialogs->errors.size(), 1);
    EXPECT_EQ(SegmentCount(*window), 5u);
}

TEST_F(TPlotterDocumentTest, AFileThatCannotBeOpenedChangesNothing)
{
    const QString good = WriteFile("good.ngc", kSquare);
    MakeWindow({good});
    Type("G0 X7\n");
    dialogs->answers.push_back(TAnswer::No);
    Open(folder.path());  // a folder cannot be read as a file
    ASSERT_EQ(dialogs->errors.size(), 1);
    EXPECT_TRUE(dialogs->errors[0].startsWith("Cannot open file \"" + folder.path() + "\". "));
    EXPECT_TRUE(window->Editor().text().startsWith("G0 X7"));
    EXPECT_TRUE(SaveEnabled());
    EXPECT_TRUE(window->HasInterpreter());
    EXPECT_EQ(window->windowTitle(), "Zorvit - " + good);
    EXPECT_EQ(window->Watcher().FileName(), good);
    EXPECT_TRUE(window->Watcher().Running());
    EXPECT_EQ(SegmentCount(*window), 5u);
}

TEST_F(TPlotterDocumentTest, AWriteThatFailsLeavesTheOldFileWhole)
{
    const QString path = WriteFile("doc.ngc", "G0 X1\n");
    MakeWindow({path});
    Type(QString(QStringLiteral("(padding)\n")).repeated(2000));

    // A file size limit makes the write fail part way, as a full disk would.
    constexpr rlim_t kLimitBytes = 4096;
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = old;
    limited.rlim_cur = kLimitBytes;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    ActionNamed("FileSave1").trigger();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    ASSERT_EQ(dialogs->errors.size(), 1);
    EXPECT_TRUE(dialogs->errors[0].startsWith("Cannot create file \"" + path + "\". "));
    EXPECT_EQ(ReadFile(path), "G0 X1\n");
    EXPECT_TRUE(SaveEnabled());
    EXPECT_EQ(window->Watcher().FileName(), path);
    EXPECT_FALSE(window->Watcher().Running());
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 1) << "no temporary file left";
}

TEST_F(TPlotterDocumentTest, SaveAsIntoAMissingFolderKeepsTheDocument)
{
    MakeWindow();
    Type("G0 X1");
    const QString path = Path("no/such/folder/x.ngc");
    dialogs->saveNames.push_back(path);
    ActionNamed("FileSaveAs1").trigger();
    ASSERT_EQ(dialogs->errors.size(), 1);
    EXPECT_TRUE(dialogs->errors[0].startsWith("Cannot create file \"" + path + "\". "));
    EXPECT_TRUE(window->Watcher().FileName().isEmpty());
    EXPECT_EQ(window->windowTitle(), "Zorvit");
    EXPECT_TRUE(SaveEnabled());
}

TEST_F(TPlotterDocumentTest, SettingsAreReadAtStartAndWrittenAtShutDown)
{
    const QString settings = Path("config/Zorvit/Zorvit.ini");
    QDir().mkpath(QFileInfo(settings).path());
    WriteFile("config/Zorvit/Zorvit.ini", "[Colors]\nG0=clLime\nG3=clNavy\n[Axis]\nStyle=5\n");
    MakeWindow();
    EXPECT_EQ(window->MotionColors(), (std::array<TColor, 4>{clLime, clRed, clOlive, clNavy}));
    const THighlighter& highlighter = window->Highlighter();
    bool axisRead = false;
    for (int i = 0; i < highlighter.AttributeCount(); ++i) {
        if (highlighter.AttributeAt(i)->Name() == "Axis")
            axisRead = highlighter.AttributeAt(i)->Style() == 5;
    }
    EXPECT_TRUE(axisRead) << "the highlighter's attributes come from the file";

    dialogs->onExecute = [](QDialog& dialog) {
        dynamic_cast<TdlgColor&>(dialog).PutColors({clAqua, clRed, clOlive, clNavy});
        return true;
    };
    ActionNamed("DisplayColors1").trigger();
    EXPECT_EQ(ReadFile(settings), "[Colors]\nG0=clLime\nG3=clNavy\n[Axis]\nStyle=5\n")
        << "the settings are written only when the window goes";
    window.reset();
    const QByteArray written = ReadFile(settings);
    EXPECT_TRUE(written.startsWith("[Colors]\nG0=clAqua\nG3=clNavy\nG1=clRed\nG2=clOlive\n"))
        << written.toStdString();
    EXPECT_TRUE(
        written.contains("[Reserved Word]\nBackground=13434828\nForeground=536870911\nStyle=1\n"));
}

// Outside changes reach the reload question through the real watcher.
class TPlotterReloadTest : public TPlotterDocumentTest
{
protected:
    static constexpr int kQuietMs = 400;  // several notice intervals

    void ChangeOnDisk(const QString& path, const QByteArray& bytes)
    {
        QTest::qWait(20);  // a new modification time
        WriteFile(QFileInfo(path).fileName(), bytes);
    }
};

TEST_F(TPlotterReloadTest, YesReloadsAndDiscardsEdits)
{
    const QString path = WriteFile("watched.ngc", kSquare);
    MakeWindow({path});
    Type("G0 X7\n");
    dialogs->answers.push_back(TAnswer::Yes);
    ChangeOnDisk(path, kTwoMoves);
    EXPECT_SOON_WITHIN(dialogs->questions.size() == 1, 5000);
    EXPECT_EQ(dialogs->questions[0], "File " + path + " has changed. Reload?");
    EXPECT_FALSE(dialogs->questionsHadCancel[0]);
    EXPECT_EQ(window->Editor().TextBytes(), kTwoMoves);
    EXPECT_FALSE(SaveEnabled());
    EXPECT_EQ(SegmentCount(*window), 2u);
    EXPECT_TRUE(window->Watcher().Running());
}

TEST_F(TPlotterReloadTest, NoKeepsTheTextAndTheWatcherGoesOn)
{
    const QString path = WriteFile("watched.ngc", kSquare);
    MakeWindow({path});
    dialogs->answers.push_back(TAnswer::No);
    ChangeOnDisk(path, kTwoMoves);
    EXPECT_SOON_WITHIN(dialogs->questions.size() == 1, 5000);
    EXPECT_EQ(window->Editor().TextBytes(), kSquare);
    dialogs->answers.push_back(TAnswer::No);
    ChangeOnDisk(path, kSquare);
    EXPECT_SOON_WITHIN(dialogs->questions.size() == 2, 5000);
}

TEST_F(TPlotterReloadTest, OwnSavesAreNotReported)
{
    const QString path = WriteFile("watched.ngc", kSquare);
    MakeWindow({path});
    Type("G0 X7\n");
    ActionNamed("FileSave1").trigger();
    dialogs->saveNames.push_back(Path("other.ngc"));
    Type("G0 X8\n");
    ActionNamed("FileSaveAs1").trigger();
    QTest::qWait(kQuietMs);
    EXPECT_TRUE(dialogs->questions.isEmpty());
}

TEST_F(TPlotterReloadTest, OnlyTheLastOpenedFileIsWatched)
{
    const QString first = WriteFile("first.ngc", kSquare);
    const QString second = WriteFile("second.ngc", kTwoMoves);
    MakeWindow({first});
    Open(second);
    ChangeOnDisk(first, kTwoMoves);
    QTest::qWait(kQuietMs);
    EXPECT_TRUE(dialogs->questions.isEmpty());
    dialogs->answers.push_back(TAnswer::No);
    ChangeOnDisk(second, kSquare);
    EXPECT_SOON_WITHIN(dialogs->questions.size() == 1, 5000);
    EXPECT_EQ(dialogs->questions[0], "File " + second + " has changed. Reload?");
}

}  // namespace
