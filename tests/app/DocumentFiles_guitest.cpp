// What saving and opening through the window do to the files themselves: links, modes, owners,
// hard links, locked folders and full disks; special files; names that are not UTF-8; and the
// reload question under a storm of outside changes, with the real watcher.

#include "tests/app/PlotterTestSupport.h"

#include "tests/settings/SettingsTestFolder.h"
#include "tests/support/FileSizeLimit.h"

#include "editor/GCodeEditor.h"
#include "tests/support/WaitFor.h"
#include "watch/ATFileNotification.h"
#include "watch/FileNameEncoding.h"

#include <QAction>
#include <QTest>

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

const QByteArray kOld = "G0 X1\nG1 Y2\n";
constexpr int kNoticeWaitMs = 5000;
constexpr int kQuietMs = 400;  // several notice intervals

struct stat StatusOf(const QString& path)
{
    struct stat status
    {};
    EXPECT_EQ(::stat(EncodeFileName(path).constData(), &status), 0) << path.toStdString();
    return status;
}

QByteArray ReadBytesNamed(const QByteArray& name)
{
    QByteArray bytes;
    if (std::FILE* file = std::fopen(name.constData(), "rb")) {
        char buffer[4096];
        for (std::size_t count; (count = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
            bytes.append(buffer, static_cast<qsizetype>(count));
        std::fclose(file);
    }
    return bytes;
}

// Asks like a modal box: while the question is open, the event loop runs (whileOpen), so the
// watcher's notices arrive as they would under a real box.
class THoldingDialogs : public TScriptedDialogs
{
public:
    std::function<void()> whileOpen;
    int open = 0;
    int mostOpenAtOnce = 0;

    TAnswer Ask(const QString& question, bool withCancel) override
    {
        mostOpenAtOnce = std::max(mostOpenAtOnce, ++open);
        if (whileOpen)
            whileOpen();
        --open;
        return TScriptedDialogs::Ask(question, withCancel);
    }
};

class TDocumentFilesTest : public TPlotterTest
{
protected:
    THoldingDialogs* holding = nullptr;

    void OpenWindow(const QString& path)
    {
        auto scripted = std::make_unique<THoldingDialogs>();
        holding = scripted.get();
        dialogs = scripted.get();
        window = std::make_unique<TGLPlotter>(QStringList{path}, std::move(scripted));
    }

    // Edits the text and saves it with File > Save.
    void EditAndSave(const QByteArray& line)
    {
        window->Editor().insertAt(QString::fromUtf8(line), 0, 0);
        ActionNamed("FileSave1").trigger();
    }

    bool Modified() const { return window->Editor().Modified(); }

    // A write from outside, a few milliseconds after the last one.
    static void WriteOutside(const QString& path, const QByteArray& bytes)
    {
        QTest::qWait(5);
        std::FILE* file = std::fopen(EncodeFileName(path).constData(), "wb");
        ASSERT_NE(file, nullptr);
        std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), file);
        std::fclose(file);
    }
};

TEST_F(TDocumentFilesTest, SavesKeepLinksModesOwnersAndOtherNames)
{
    const QString target = WriteFile("target.ngc", kOld);
    ::chmod(target.toLocal8Bit().constData(), 0640);
    if (::geteuid() == 0)
        TUnprivileged::Own(target.toStdString());
    const struct stat before = StatusOf(target);
    const QString link = Path("link.ngc");
    ASSERT_TRUE(QFile::link(target, link));

    OpenWindow(link);
    EditAndSave("G0 X9\n");
    ASSERT_TRUE(dialogs->errors.isEmpty()) << dialogs->errors.join(' ').toStdString();
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(ReadFile(target), "G0 X9\n" + kOld);
    const struct stat after = StatusOf(target);
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);
    EXPECT_FALSE(Modified());

    // Save As onto a file with a second name, then the close question's Yes: both names get
    // the text, since the file is written where it is.
    const QString shared = WriteFile("shared.ngc", kOld);
    const QString secondName = Path("second-name.ngc");
    ASSERT_EQ(::link(shared.toLocal8Bit().constData(), secondName.toLocal8Bit().constData()), 0);
    dialogs->saveNames.push_back(shared);
    dialogs->answers.push_back(TAnswer::Yes);  // replace it
    window->Editor().insertAt(QStringLiteral("G0 X8\n"), 0, 0);
    ActionNamed("FileSaveAs1").trigger();
    EXPECT_EQ(ReadFile(secondName), "G0 X8\nG0 X9\n" + kOld);
    window->Editor().insertAt(QStringLiteral("G0 X7\n"), 0, 0);
    dialogs->answers.push_back(TAnswer::Yes);  // save before closing
    ActionNamed("FileExit1").trigger();
    EXPECT_EQ(ReadFile(secondName), "G0 X7\nG0 X8\nG0 X9\n" + kOld);
    EXPECT_EQ(StatusOf(shared).st_ino, StatusOf(secondName).st_ino);
    EXPECT_TRUE(dialogs->errors.isEmpty()) << dialogs->errors.join(' ').toStdString();
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 4)
        << "no temporary file left";
}

TEST_F(TDocumentFilesTest, ALockedFolderIsSavedInPlaceAndAFullDiskLeavesTheFileWhole)
{
    const QString locked = Path("locked");
    ASSERT_TRUE(QDir(folder.path()).mkdir("locked"));
    const QString path = WriteFile("locked/doc.ngc", kOld);
    ::chmod(locked.toLocal8Bit().constData(), 0555);
    for (const QString& owned : {folder.path(), locked, path})
        TUnprivileged::Own(owned.toStdString());

    TUnprivileged unprivileged;
    ASSERT_TRUE(unprivileged.Active());
    OpenWindow(path);
    EditAndSave("G0 X9\n");
    ASSERT_TRUE(dialogs->errors.isEmpty()) << dialogs->errors.join(' ').toStdString();
    EXPECT_EQ(ReadFile(path), "G0 X9\n" + kOld);

    window->Editor().insertAt(QString(QStringLiteral("(padding)\n")).repeated(1000), 0, 0);
    {
        const TFileSizeLimit limit(4096);
        ActionNamed("FileSave1").trigger();
    }
    ASSERT_EQ(dialogs->errors.size(), 1);
    EXPECT_EQ(dialogs->errors[0], "Cannot create file \"" + path + "\". File too large.");
    EXPECT_EQ(ReadFile(path), "G0 X9\n" + kOld);
    EXPECT_TRUE(Modified());
    EXPECT_EQ(QDir(locked).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST_F(TDocumentFilesTest, OnlyRegularFilesOpen)
{
    const QString fifo = Path("fifo.ngc");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    OpenWindow(fifo);  // must not wait for a writer
    ASSERT_EQ(dialogs->errors.size(), 1);
    EXPECT_EQ(dialogs->errors[0], "Cannot open file \"" + fifo + "\". Not a regular file.");
    EXPECT_EQ(window->windowTitle(), "Zorvit");

    dialogs->openNames.push_back(QStringLiteral("/dev/zero"));  // would never end
    ActionNamed("FileOpen1").trigger();
    ASSERT_EQ(dialogs->errors.size(), 2);
    EXPECT_EQ(dialogs->errors[1], "Cannot open file \"/dev/zero\". Not a regular file.");
    EXPECT_TRUE(window->Editor().TextBytes().isEmpty());
}

TEST_F(TDocumentFilesTest, NamesThatAreNotUtf8OpenSaveAndAreWatched)
{
    const QByteArray bytesName = QFile::encodeName(folder.path()) + "/bad\xff\xfe.ngc";
    std::FILE* file = std::fopen(bytesName.constData(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(kOld.constData(), 1, static_cast<std::size_t>(kOld.size()), file);
    std::fclose(file);
    const QString name = DecodeFileName(bytesName);

    OpenWindow(name);
    ASSERT_TRUE(dialogs->errors.isEmpty()) << dialogs->errors.join(' ').toStdString();
    EXPECT_EQ(window->Editor().TextBytes(), kOld);
    EditAndSave("G0 X9\n");
    ASSERT_TRUE(dialogs->errors.isEmpty()) << dialogs->errors.join(' ').toStdString();
    EXPECT_EQ(ReadBytesNamed(bytesName), "G0 X9\n" + kOld);

    dialogs->answers.push_back(TAnswer::Yes);
    WriteOutside(name, "G0 X5\n");
    EXPECT_SOON_WITHIN(dialogs->questions.size() == 1, kNoticeWaitMs);
    EXPECT_EQ(window->Editor().TextBytes(), "G0 X5\n");
}

TEST_F(TDocumentFilesTest, AStormOfChangesRaisesOneQuestionAtATime)
{
    const QString path = WriteFile("watched.ngc", kOld);
    OpenWindow(path);
    // 200 writes while the first question is open, spread over many notice intervals.
    bool stormed = false;
    holding->whileOpen = [&] {
        if (std::exchange(stormed, true))
            return;
        for (int i = 0; i < 200; ++i)
            WriteOutside(path, "G0 X" + QByteArray::number(i) + "\n");
        QTest::qWait(kQuietMs);
    };
    dialogs->answers = {TAnswer::No, TAnswer::No};
    WriteOutside(path, "G0 X1\n");
    EXPECT_SOON_WITHIN(dialogs->questions.size() == 2, kNoticeWaitMs);
    QTest::qWait(kQuietMs);
    EXPECT_EQ(dialogs->questions.size(), 2)
        << "one question, and one more after No for the changes meanwhile";
    EXPECT_EQ(holding->mostOpenAtOnce, 1);
    EXPECT_EQ(window->Editor().TextBytes(), kOld);
}

TEST_F(TDocumentFilesTest, TheWatcherKeepsUpWithBurstsDeletesAndRenamingSaves)
{
    const QString path = WriteFile("watched.ngc", kOld);
    OpenWindow(path);
    int expected = 0;
    const auto expectOneQuestion = [&](const char* what) {
        ++expected;
        dialogs->answers.push_back(TAnswer::No);
        EXPECT_SOON_WITHIN(dialogs->questions.size() == expected, kNoticeWaitMs);
        QTest::qWait(kQuietMs);
        EXPECT_EQ(dialogs->questions.size(), expected) << what;
    };
    // Four bursts of 50 writes, each shorter than the notice delay.
    for (int burst = 0; burst < 4; ++burst) {
        for (int i = 0; i < 50; ++i) {
            std::FILE* file = std::fopen(path.toLocal8Bit().constData(), "wb");
            ASSERT_NE(file, nullptr);
            std::fprintf(file, "G0 X%d\n", burst * 50 + i);
            std::fclose(file);
        }
        expectOneQuestion("a burst of writes");
    }
    ASSERT_TRUE(QFile::remove(path));
    expectOneQuestion("the file deleted");
    WriteOutside(path, kOld);
    expectOneQuestion("the file made again");
    // An editor's save: a new file written beside it and renamed over it.
    const QString temporary = Path(".watched.ngc.swp");
    WriteOutside(temporary, "G0 X42\n");
    ASSERT_EQ(std::rename(temporary.toLocal8Bit().constData(), path.toLocal8Bit().constData()), 0);
    dialogs->answers.push_back(TAnswer::Yes);
    EXPECT_SOON_WITHIN(dialogs->questions.size() == expected + 1, kNoticeWaitMs);
    EXPECT_EQ(window->Editor().TextBytes(), "G0 X42\n");
    EXPECT_TRUE(window->Watcher().Running());
    EXPECT_EQ(holding->mostOpenAtOnce, 1);
}

}  // namespace
