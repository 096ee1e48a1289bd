// The file change watcher on real files in temporary folders, with the Qt event loop running.
// Waits are generous and only bound how long a test may take; nothing here measures time.
#include "watch/ATFileNotification.h"
#include "common/Error.h"
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

namespace
{
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
        previousHandler_ =
            TThreadErrorBox::SetHandler([](const QString& message) { errors_ << message; });
    }
    static void TearDownTestSuite()
    {
        QCoreApplication::processEvents();  // boxes still queued go to the recorder too
        TThreadErrorBox::SetHandler(previousHandler_);
    }

    void SetUp() override
    {
        errors_.clear();
        ASSERT_TRUE(folder_.isValid());
        watched_ = Path("a.nc");
        WriteOld(watched_, "G0 X1\n");
        watcher_.OnChanged = [this] { ++changes_; };
    }
    void TearDown() override
    {
        watcher_.Stop();
        QCoreApplication::processEvents();
    }

    QString Path(const QString& name) const { return folder_.filePath(name); }
    void WriteOld(const QString& path, const QByteArray& text)
    {
        Write(path, text);
        SetTimes(path, std::time(nullptr) - kHourSeconds);  // the next write surely changes it
    }
    void Watch(const QString& fileName)
    {
        watcher_.SetFileName(fileName);
        watcher_.Start();
        ASSERT_TRUE(watcher_.Running());
    }
    void WatchFolder()
    {
        watcher_.SetDirectory(folder_.path());
        watcher_.Start();
        ASSERT_TRUE(watcher_.Running());
    }
    bool WaitForChanges(int count)
    {
        return QTest::qWaitFor([&] { return changes_ >= count; }, kTimeoutMs);
    }
    static void Settle() { QTest::qWait(kSettleMs); }

    inline static TThreadErrorBox::THandler previousHandler_;
    inline static QStringList errors_;
    QTemporaryDir folder_;
    QString watched_;
    TATFileNotification watcher_;
    int changes_ = 0;
};

TEST_F(ATFileNotificationTest, PropertiesKeepAtMostOneOfDirectoryAndFileName)
{
    EXPECT_EQ(watcher_.Options(), kDefaultNotifyOptions);
    EXPECT_FALSE(watcher_.Subtree());
    EXPECT_TRUE(watcher_.Directory().isEmpty());
    EXPECT_TRUE(watcher_.FileName().isEmpty());
    EXPECT_FALSE(watcher_.Running());

    watcher_.SetDirectory("/d");
    watcher_.SetFileName("/d/a.nc");
    EXPECT_TRUE(watcher_.Directory().isEmpty());
    watcher_.SetDirectory("/d");
    EXPECT_TRUE(watcher_.FileName().isEmpty());

    watcher_.SetFileName("");  // its current value: Directory stays
    EXPECT_EQ(watcher_.Directory(), "/d");
    watcher_.SetFileName("/d/a.nc");
    watcher_.SetDirectory("");
    EXPECT_EQ(watcher_.FileName(), "/d/a.nc");
}

// Programs save in different ways; each save must give exactly one notice.
struct TSave
{
    const char* name;
    void (*save)(const QString& path);
};

class SaveTest : public ATFileNotificationTest, public ::testing::WithParamInterface<TSave>
{
};

TEST_P(SaveTest, ReportsOnce)
{
    Watch(watched_);
    GetParam().save(watched_);
    ASSERT_TRUE(WaitForChanges(1));
    Settle();
    EXPECT_EQ(changes_, 1);
    EXPECT_FALSE(watcher_.NoticePending());
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
    Watch(watched_);
    Write(Path("b.nc"), "G0 Y1\n");
    ASSERT_TRUE(QDir(folder_.path()).mkdir("sub"));
    ASSERT_TRUE(QFile::remove(Path("b.nc")));
    Settle();
    EXPECT_EQ(changes_, 0);

    Write(watched_, "G1 X2\n");  // the watcher is still listening
    EXPECT_TRUE(WaitForChanges(1));
}

TEST_F(ATFileNotificationTest, DeleteAndRecreateEachReport)
{
    Watch(watched_);
    ASSERT_TRUE(QFile::remove(watched_));
    ASSERT_TRUE(WaitForChanges(1));
    Write(watched_, "G0 X1\n");
    ASSERT_TRUE(WaitForChanges(2));
    Settle();
    EXPECT_EQ(changes_, 2);
}

TEST_F(ATFileNotificationTest, FileNamedWithoutFolderIsWatchedInTheCurrentFolder)
{
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder_.path()));
    Watch("a.nc");
    Write(watched_, "G1 X2\n");
    const bool reported = WaitForChanges(1);
    QDir::setCurrent(previous);
    EXPECT_TRUE(reported);
}

TEST_F(ATFileNotificationTest, StartWhileRunningKeepsTheFirstFile)
{
    const QString other = Path("b.nc");
    WriteOld(other, "G0 Y1\n");
    Watch(watched_);
    watcher_.SetFileName(other);
    watcher_.Start();
    Touch(other);
    Settle();
    EXPECT_EQ(changes_, 0);
    Touch(watched_);
    ASSERT_TRUE(WaitForChanges(1));

    watcher_.Stop();
    watcher_.Start();
    Touch(watched_);
    Touch(other);
    ASSERT_TRUE(WaitForChanges(2));
    Settle();
    EXPECT_EQ(changes_, 2);
}

TEST_F(ATFileNotificationTest, StopThenStartTakesAFreshSnapshot)
{
    Watch(watched_);
    watcher_.Stop();
    Write(watched_, "G1 X2\n");  // made while stopped: not reported
    watcher_.Start();
    Settle();
    EXPECT_EQ(changes_, 0);

    Touch(watched_);
    EXPECT_TRUE(WaitForChanges(1));
}

TEST_F(ATFileNotificationTest, NoticeArmedJustBeforeStopIsDelivered)
{
    Watch(watched_);
    Write(watched_, "G1 X2\n");
    // Wait without running the event loop, so the notice cannot be delivered before Stop.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kTimeoutMs);
    while (!watcher_.NoticePending() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_TRUE(watcher_.NoticePending());
    watcher_.Stop();
    EXPECT_FALSE(watcher_.Running());
    EXPECT_TRUE(WaitForChanges(1));
}

TEST_F(ATFileNotificationTest, DirectoryModeReportsEveryWakeUpOfTheChosenKinds)
{
    watcher_.SetOptions({Option::foNotifyFilename});
    WatchFolder();
    ASSERT_TRUE(QDir(folder_.path()).mkdir("one"));
    Touch(watched_);  // last write time: not chosen
    Settle();
    EXPECT_EQ(changes_, 0);
    Write(Path("x.nc"), "G0 X1\n");
    ASSERT_TRUE(WaitForChanges(1));
    ASSERT_TRUE(QFile::remove(Path("x.nc")));  // every wake-up counts, nothing is compared
    ASSERT_TRUE(WaitForChanges(2));

    watcher_.Stop();
    watcher_.SetOptions({Option::foNotifyDirname});
    watcher_.Start();
    Write(Path("y.nc"), "G0 X1\n");
    Settle();
    EXPECT_EQ(changes_, 2);
    ASSERT_TRUE(QDir(folder_.path()).mkdir("two"));
    EXPECT_TRUE(WaitForChanges(3));
}

TEST_F(ATFileNotificationTest, SubtreeWatchesEveryFolderBelow)
{
    ASSERT_TRUE(QDir(folder_.path()).mkpath("sub/deep"));
    WatchFolder();
    Write(Path("sub/deep/x.nc"), "G0 X1\n");
    Settle();
    EXPECT_EQ(changes_, 0);

    watcher_.Stop();
    watcher_.SetSubtree(true);
    watcher_.Start();
    Write(Path("sub/deep/y.nc"), "G0 X1\n");
    ASSERT_TRUE(WaitForChanges(1));
    ASSERT_TRUE(QDir(folder_.path()).mkdir("sub/new"));
    ASSERT_TRUE(WaitForChanges(2));
    Write(Path("sub/new/z.nc"), "G0 X1\n");  // a folder made while watching is watched too
    EXPECT_TRUE(WaitForChanges(3));
}

TEST_F(ATFileNotificationTest, DestroyingARunningWatcherEndsItsThread)
{
    const int before = ThreadCount();
    auto watcher = std::make_unique<TATFileNotification>();
    watcher->SetFileName(watched_);
    watcher->Start();
    EXPECT_EQ(ThreadCount(), before + 1);
    watcher.reset();
    EXPECT_TRUE(QTest::qWaitFor([&] { return ThreadCount() == before; }, kTimeoutMs));
}

TEST_F(ATFileNotificationTest, OnlyAFolderThatCannotBeWatchedGivesAMessage)
{
    watcher_.Start();  // neither a folder nor a file: nothing to watch, nothing to say
    Settle();
    EXPECT_TRUE(errors_.isEmpty());

    watcher_.Stop();
    watcher_.SetDirectory(Path("missing"));
    watcher_.Start();
    ASSERT_TRUE(QTest::qWaitFor([] { return errors_.size() == 1; }, kTimeoutMs));
    EXPECT_TRUE(errors_[0].startsWith("Cannot watch folder \"" + Path("missing") + "\"."))
        << errors_[0].toStdString();

    watcher_.Stop();
    watcher_.SetFileName(Path("gone/a.nc"));
    watcher_.Start();
    ASSERT_TRUE(QTest::qWaitFor([] { return errors_.size() == 2; }, kTimeoutMs));
    EXPECT_TRUE(errors_[1].contains(Path("gone"))) << errors_[1].toStdString();
}

TEST_F(ATFileNotificationTest, FailureToCreateTheWorkerLeavesTheWatcherStopped)
{
    watcher_.SetFileName(watched_);
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &limit), 0);
    const rlimit noFiles = {0, limit.rlim_max};  // no stop event can be made
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &noFiles), 0);
    watcher_.Start();
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &limit), 0);

    EXPECT_FALSE(watcher_.Running());
    ASSERT_TRUE(QTest::qWaitFor([] { return !errors_.isEmpty(); }, kTimeoutMs));
    EXPECT_EQ(errors_, QStringList{"Exception while creating thread"});
    watcher_.Start();  // works again once files can be opened
    EXPECT_TRUE(watcher_.Running());
}

TEST_F(ATFileNotificationTest, FailingHandlerIsReportedAndWatchingGoesOn)
{
    watcher_.OnChanged = [this] {
        ++changes_;
        throw EZorvitError("Reload failed");
    };
    Watch(watched_);
    Touch(watched_);
    ASSERT_TRUE(WaitForChanges(1));
    ASSERT_TRUE(QTest::qWaitFor([] { return !errors_.isEmpty(); }, kTimeoutMs));
    EXPECT_EQ(errors_, QStringList{"Reload failed"});
    Touch(watched_);
    EXPECT_TRUE(WaitForChanges(2));
}
}  // namespace
