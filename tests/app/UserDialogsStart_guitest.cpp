// Where the real open and save dialogs start: the document's folder (and, saving, its name),
// else the folder chosen last, else the home folder; never with a filter or a default suffix.
#include "app/dialogs/UserDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr int kPollMs = 10;

class TUserDialogsStartTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        home = qgetenv("HOME");
        QDir(folder.path()).mkpath("home");
        QDir(folder.path()).mkpath("work");
        qputenv("HOME", Path("home").toLocal8Bit());
        dialogs.SetDocumentFile([this] { return document; });
    }
    void TearDown() override { qputenv("HOME", home); }

    QString Path(const QString& name) const { return QDir(folder.path()).filePath(name); }

    // Runs act on the file dialog as soon as it shows; act closes it.
    static void WhenShown(std::function<void(QFileDialog&)> act)
    {
        auto* poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
            if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                dialog && dialog->isVisible()) {
                poll->deleteLater();
                poll->stop();
                act(*dialog);
            }
        });
        poll->start(kPollMs);
    }

    // The folder the dialog shows and the name it offers, then Cancel.
    static void Record(QString& shownFolder, QString& offeredName)
    {
        WhenShown([&](QFileDialog& dialog) {
            shownFolder = dialog.directory().absolutePath();
            offeredName = dialog.findChild<QLineEdit*>("fileNameEdit")->text();
            EXPECT_TRUE(dialog.defaultSuffix().isEmpty());
            EXPECT_LE(dialog.nameFilters().size(), 1);
            dialog.reject();
        });
    }

    QTemporaryDir folder;
    QByteArray home;
    QString document;
    QWidget owner;
    TUserDialogs dialogs{&owner};
};

TEST_F(TUserDialogsStartTest, UntitledStartsAtHomeThenWhereTheLastFileWasChosen)
{
    QString shown;
    QString offered;
    Record(shown, offered);
    EXPECT_EQ(dialogs.OpenName(), std::nullopt);
    EXPECT_EQ(shown, Path("home"));

    const QString chosen = Path("work/part.ngc");
    QFile(chosen).open(QIODevice::WriteOnly);
    WhenShown([&](QFileDialog& dialog) {
        // Typed into the name field and confirmed with Enter, as the user would.
        QLineEdit* name = dialog.findChild<QLineEdit*>("fileNameEdit");
        name->setText(chosen);
        QTest::keyClick(name, Qt::Key_Return);
    });
    EXPECT_EQ(dialogs.OpenName(), chosen);

    Record(shown, offered);
    EXPECT_EQ(dialogs.SaveName(), std::nullopt);
    EXPECT_EQ(shown, Path("work"));
    EXPECT_EQ(offered, "");
}

TEST_F(TUserDialogsStartTest, TitledStartsInTheDocumentsFolderAndSaveOffersItsName)
{
    QDir(folder.path()).mkpath("doc");
    document = Path("doc/square.ngc");
    QString shown;
    QString offered;
    Record(shown, offered);
    EXPECT_EQ(dialogs.OpenName(), std::nullopt);
    EXPECT_EQ(shown, Path("doc"));
    Record(shown, offered);
    EXPECT_EQ(dialogs.SaveName(), std::nullopt);
    EXPECT_EQ(shown, Path("doc"));
    EXPECT_EQ(offered, "square.ngc");

    // The document's folder is gone: the home folder, as nothing was chosen yet.
    QDir(Path("doc")).removeRecursively();
    Record(shown, offered);
    EXPECT_EQ(dialogs.OpenName(), std::nullopt);
    EXPECT_EQ(shown, Path("home"));
}

}  // namespace
