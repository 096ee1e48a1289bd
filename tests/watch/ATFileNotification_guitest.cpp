// The file change watcher on real files in temporary folders, with the Qt event loop running.
// Waits are generous and only bound how long a test may take; nothing here measures time.
#include "common/Error.h"
#include "watch/ATFileNotification.h"
#include "watch/ThreadErrorBox.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>

namespace {
using Option = TATFileNotifyOption;

constexpr int kTimeoutMs = 5000;
// Three notice delays: long enough for a notice that should not come to show up.
constexpr int kSettleMs = 300;
constexpr std::time_t kHourSeconds = 3600;
constexpr std::time_t kTouchBaseTime = 1'600'000'000;  // seconds since the epoch

void SetTimes(const QString& path, std::time_t time)
{
    const timespec times[2] = {{time, 0}, {time, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

// Gives path a last write time it has not had before: a change without writing.
void Touch(const QString& path)
{
    static std::time_t touches = 0;
    SetTimes(path, kTouchBaseTime + ++touches);
}

void Write(const QString& path, const QByteArray& text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(text), text.size());
}

int ThreadCount()
{
    const std::filesystem::directory_iterator tasks("/proc/self/task");
    return static_cast<int>(std::distance(begin(tasks), end(tasks)));
}

class ATFileNotificationTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        FPreviousHandler =
            TThreadErrorBox::SetHandler([](const QString& message) { FErrors << message; });
    }
    static void TearDownTestSuite()
    {
        QCoreApplication::processEvents();  // boxes still queued go to the recorder too
        TThreadErrorBox::SetHandler(FPreviousHandler);
    }

    void SetUp() override
    {
        FErrors.clear();
        ASSERT_TRUE(FFolder.isValid());
        FWatched = Path("a.nc");
        WriteOld(FWatched, "G0 X1\n");
        FWatcher.OnChanged = [this] { ++FChanges; };
    }
    void TearDown() override
    {
        FWatcher.Stop();
        QCoreApplication::processEvents();
    }

    QString Path(const QString& name) const { return FFolder.filePath(name); }
    void WriteOld(const QString& path, const QByteArray& text)
    {
        Write(path, text);
        SetTimes(path, std::time(nullptr) - kHourSeconds);  // the next write surely changes it
    }
    void Watch(const QString& fileName)
    {
        FWatcher.SetFileName(fileName);
        FWatcher.Start();
        ASSERT_TRUE(FWatcher.Running());
    }
    void WatchFolder()
    {
        FWatcher.SetDirectory(FFolder.path());
        FWatcher.Start();
        ASSERT_TRUE(FWatcher.Running());
    }
    bool WaitForChanges(int count)
    {
        return QTest::qWaitFor([&] { return FChanges >= count; }, kTimeoutMs);
    }
    static void Settle() { QTest::qWait(kSettleMs); }

    inline static TThreadErrorBox::THandler FPreviousHandler;
    inline static QStringList FErrors;
    QTemporaryDir FFolder;
    QString FWatched;
    TATFileNotification FWatcher;
    int FChanges = 0;
};

TEST_F(ATFileNotificationTest, PropertiesKeepAtMostOneOfDirectoryAndFileName)
{
    EXPECT_EQ(FWatcher.Options(), kDefaultNotifyOptions);
    EXPECT_FALSE(FWatcher.Subtree());
    EXPECT_TRUE(FWatcher.Directory().isEmpty());
    EXPECT_TRUE(FWatcher.FileName().isEmpty());
    EXPECT_FALSE(FWatcher.Running());

    FWatcher.SetDirectory("/d");
    FWatcher.SetFileName("/d/a.nc");
    EXPECT_TRUE(FWatcher.Directory().isEmpty());
    FWatcher.SetDirectory("/d");
    EXPECT_TRUE(FWatcher.FileName().isEmpty());

    FWatcher.SetFileName("");  // its current value: Directory stays
    EXPECT_EQ(FWatcher.Directory(), "/d");
    FWatcher.SetFileName("/d/a.nc");
    FWatcher.SetDirectory("");
    EXPECT_EQ(FWatcher.FileName(), "/d/a.nc");
}

// Programs save in different ways; each save must give exactly one notice.
struct TSave
{
    const char* name;
    void (*save)(const QString& path);
};

class SaveTest : public ATFileNotificationTest, public ::testing::WithParamInterface<TSave>
{};

TEST_P(SaveTest, ReportsOnce)
{
    Watch(FWatched);
    GetParam().save(FWatched);
    ASSERT_TRUE(WaitForChanges(1));
    Settle();
    EXPECT_EQ(FChanges, 1);
    EXPECT_FALSE(FWatcher.NoticePending());
}

INSTANTIATE_TEST_SUITE_P(
    Styles, SaveTest,
    ::testing::Values(
        TSave{"Overwrite", [](const QString& path) { Write(path, "G1 X2\n"); }},
        TSave{"TruncateAndWriteInPieces",
              [](const QString& path) {
                  QFile file(path);
                  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
                  for (const char* piece : {"G0 X0\n", "G1 X1\n", "G1 Y1\n", "G2 X2 Y2\n"}) {
                      file.write(piece);
                      ASSERT_TRUE(file.flush());
                  }
              }},
        TSave{"WriteTemporaryAndRename",
              [](const QString& path) {
                  QSaveFile file(path);
                  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
                  file.write("G1 X3\n");
                  ASSERT_TRUE(file.commit());
              }}),
    [](const ::testing::TestParamInfo<TSave>& info) { return info.param.name; });

TEST_F(ATFileNotificationTest, OtherEntriesInTheFolderReportNothing)
{
    Watch(FWatched);
    Write(Path("b.nc"), "G0 Y1\n");
    ASSERT_TRUE(QDir(FFolder.path()).mkdir("sub"));
    ASSERT_TRUE(QFile::remove(Path("b.nc")));
    Settle();
    EXPECT_EQ(FChanges, 0);

    Write(FWatched, "G1 X2\n");  // the watcher is still listening
    EXPECT_TRUE(WaitForChanges(1));
}

TEST_F(ATFileNotificationTest, DeleteAndRecreateEachReport)
{
    Watch(FWatched);
    ASSERT_TRUE(QFile::remove(FWatched));
    ASSERT_TRUE(WaitForChanges(1));
    Write(FWatched, "G0 X1\n");
    ASSERT_TRUE(WaitForChanges(2));
    Settle();
    EXPECT_EQ(FChanges, 2);
}

TEST_F(ATFileNotificationTest, FileNamedWithoutFolderIsWatchedInTheCurrentFolder)
{
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(FFolder.path()));
    Watch("a.nc");
    Write(FWatched, "G1 X2\n");
    const bool reported = WaitForChanges(1);
    QDir::setCurrent(previous);
    EXPECT_TRUE(reported);
}

TEST_F(ATFileNotificationTest, StartWhileRunningKeepsTheFirstFile)
{
    const QString other = Path("b.nc");
    WriteOld(other, "G0 Y1\n");
    Watch(FWatched);
    FWatcher.SetFileName(other);
    FWatcher.Start();
    Touch(other);
    Settle();
    EXPECT_EQ(FChanges, 0);
    Touch(FWatched);
    ASSERT_TRUE(WaitForChanges(1));

    FWatcher.Stop();
    FWatcher.Start();
    Touch(FWatched);
    Touch(other);
    ASSERT_TRUE(WaitForChanges(2));
    Settle();
    EXPECT_EQ(FChanges, 2);
}

TEST_F(ATFileNotificationTest, StopThenStartTakesAFreshSnapshot)
{
    Watch(FWatched);
    FWatcher.Stop();
    Write(FWatched, "G1 X2\n");  // made while stopped: not reported
    FWatcher.Start();
    Settle();
    EXPECT_EQ(FChanges, 0);

    Touch(FWatched);
    EXPECT_TRUE(WaitForChanges(1));
}

TEST_F(ATFileNotificationTest, NoticeArmedJustBeforeStopIsDelivered)
{
    Watch(FWatched);
    Write(FWatched, "G1 X2\n");
    // Wait without running the event loop, so the notice cannot be delivered before Stop.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kTimeoutMs);
    while (!FWatcher.NoticePending() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_TRUE(FWatcher.NoticePending());
    FWatcher.Stop();
    EXPECT_FALSE(FWatcher.Running());
    EXPECT_TRUE(WaitForChanges(1));
}

TEST_F(ATFileNotificationTest, DirectoryModeReportsEveryWakeUpOfTheChosenKinds)
{
    FWatcher.SetOptions({Option::foNotifyFilename});
    WatchFolder();
    ASSERT_TRUE(QDir(FFolder.path()).mkdir("one"));
    Touch(FWatched);  // last write time: not chosen
    Settle();
    EXPECT_EQ(FChanges, 0);
    Write(Path("x.nc"), "G0 X1\n");
    ASSERT_TRUE(WaitForChanges(1));
    ASSERT_TRUE(QFile::remove(Path("x.nc")));  // every wake-up counts, nothing is compared
    ASSERT_TRUE(WaitForChanges(2));

    FWatcher.Stop();
    FWatcher.SetOptions({Option::foNotifyDirname});
    FWatcher.Start();
    Write(Path("y.nc"), "G0 X1\n");
    Settle();
    EXPECT_EQ(FChanges, 2);
    ASSERT_TRUE(QDir(FFolder.path()).mkdir("two"));
    EXPECT_TRUE(WaitForChanges(3));
}

TEST_F(ATFileNotificationTest, SubtreeWatchesEveryFolderBelow)
{
    ASSERT_TRUE(QDir(FFolder.path()).mkpath("sub/deep"));
    WatchFolder();
    Write(Path("sub/deep/x.nc"), "G0 X1\n");
    Settle();
    EXPECT_EQ(FChanges, 0);

    FWatcher.Stop();
    FWatcher.SetSubtree(true);
    FWatcher.Start();
    Write(Path("sub/deep/y.nc"), "G0 X1\n");
    ASSERT_TRUE(WaitForChanges(1));
    ASSERT_TRUE(QDir(FFolder.path()).mkdir("sub/new"));
    ASSERT_TRUE(WaitForChanges(2));
    Write(Path("sub/new/z.nc"), "G0 X1\n");  // a folder made while watching is watched too
    EXPECT_TRUE(WaitForChanges(3));
}

TEST_F(ATFileNotificationTest, DestroyingARunningWatcherEndsItsThread)
{
    const int before = ThreadCount();
    auto watcher = std::make_unique<TATFileNotification>();
    watcher->SetFileName(FWatched);
    watcher->Start();
    EXPECT_EQ(ThreadCount(), before + 1);
    watcher.reset();
    EXPECT_TRUE(QTest::qWaitFor([&] { return ThreadCount() == before; }, kTimeoutMs));
}

TEST_F(ATFileNotificationTest, OnlyAFolderThatCannotBeWatchedGivesAMessage)
{
    FWatcher.Start();  // neither a folder nor a file: nothing to watch, nothing to say
    Settle();
    EXPECT_TRUE(FErrors.isEmpty());

    FWatcher.Stop();
    FWatcher.SetDirectory(Path("missing"));
    FWatcher.Start();
    ASSERT_TRUE(QTest::qWaitFor([] { return FErrors.size() == 1; }, kTimeoutMs));
    EXPECT_TRUE(FErrors[0].startsWith("Cannot watch folder \"" + Path("missing") + "\"."))
        << FErrors[0].toStdString();

    FWatcher.Stop();
    FWatcher.SetFileName(Path("gone/a.nc"));
    FWatcher.Start();
    ASSERT_TRUE(QTest::qWaitFor([] { return FErrors.size() == 2; }, kTimeoutMs));
    EXPECT_TRUE(FErrors[1].contains(Path("gone"))) << FErrors[1].toStdString();
}

TEST_F(ATFileNotificationTest, FailureToCreateTheWorkerLeavesTheWatcherStopped)
{
    FWatcher.SetFileName(FWatched);
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &limit), 0);
    const rlimit noFiles = {0, limit.rlim_max};  // no stop event can be made
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &noFiles), 0);
    FWatcher.Start();
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &limit), 0);

    EXPECT_FALSE(FWatcher.Running());
    ASSERT_TRUE(QTest::qWaitFor([] { return !FErrors.isEmpty(); }, kTimeoutMs));
    EXPECT_EQ(FErrors, QStringList{"Exception while creating thread"});
    FWatcher.Start();  // works again once files can be opened
    EXPECT_TRUE(FWatcher.Running());
}

TEST_F(ATFileNotificationTest, FailingHandlerIsReportedAndWatchingGoesOn)
{
    FWatcher.OnChanged = [this] {
        ++FChanges;
        throw EZorvitError("Reload failed");
    };
    Watch(FWatched);
    Touch(FWatched);
    ASSERT_TRUE(WaitForChanges(1));
    ASSERT_TRUE(QTest::qWaitFor([] { return !FErrors.isEmpty(); }, kTimeoutMs));
    EXPECT_EQ(FErrors, QStringList{"Reload failed"});
    Touch(FWatched);
    EXPECT_TRUE(WaitForChanges(2));
}
}  // namespace
