#pragma once
// What the main window's GUI tests share: question answers given in advance, a temporary
// settings folder, and a window built for the test.

#include "app/dialogs/UserDialogs.h"
#include "app/window/Plotter.h"
#include "editor/GCodeEditor.h"
#include "tests/support/WaitFor.h"

#include <QByteArray>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

// Answers the window's questions and dialogs from queues filled by the test, and records what
// was asked. A question with no answer queued fails the test.
class TScriptedDialogs : public TUserDialogs
{
public:
    std::deque<TAnswer> answers;
    // File names the dialogs return, in order; an empty name cancels the dialog.
    std::deque<QString> openNames;
    std::deque<QString> saveNames;
    // Runs in place of a modal dialog: it may change the dialog and returns OK or Cancel.
    std::function<bool(QDialog&)> onExecute;
    // Line numbers the Go to Line question returns, in order; 0 cancels it.
    std::deque<int> lineNumbers;
    std::vector<std::pair<int, int>> lineQuestions;  // current line and line count asked with

    QStringList questions;
    std::deque<bool> questionsHadCancel;
    QStringList errors;
    int openDialogs = 0;
    int saveDialogs = 0;

    TAnswer Ask(const QString& question, bool withCancel) override
    {
        questions << question;
        questionsHadCancel.push_back(withCancel);
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << question.toStdString();
            return withCancel ? TAnswer::Cancel : TAnswer::No;
        }
        const TAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    void ShowError(const QString& message) override { errors << message; }

    std::optional<QString> OpenName() override
    {
        ++openDialogs;
        return Next(openNames, "open");
    }

    std::optional<QString> SaveName() override
    {
        ++saveDialogs;
        return Next(saveNames, "save");
    }

    std::optional<int> AskLineNumber(int current, int lineCount) override
    {
        lineQuestions.push_back({current, lineCount});
        if (lineNumbers.empty()) {
            ADD_FAILURE() << "unexpected line number question";
            return std::nullopt;
        }
        const int line = lineNumbers.front();
        lineNumbers.pop_front();
        if (line <= 0)
            return std::nullopt;
        return line;
    }

    bool Execute(QDialog& dialog) override
    {
        if (!onExecute) {
            ADD_FAILURE() << "unexpected dialog: " << dialog.objectName().toStdString();
            return false;
        }
        return onExecute(dialog);
    }

private:
    static std::optional<QString> Next(std::deque<QString>& names, const char* kind)
    {
        if (names.empty()) {
            ADD_FAILURE() << "unexpected " << kind << " dialog";
            return std::nullopt;
        }
        const QString name = names.front();
        names.pop_front();
        if (name.isEmpty())
            return std::nullopt;
        return name;
    }
};

// A fixture with a temporary folder for files and settings, and a window made on demand.
class TPlotterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        workingFolder = QDir::currentPath();
        qputenv("XDG_CONFIG_HOME", folder.filePath(QStringLiteral("config")).toLocal8Bit());
        QDir(folder.path()).mkdir(QStringLiteral("config"));
        // A window remembers its place and recent files in here, not in the user's own folder.
        qputenv("XDG_STATE_HOME", folder.filePath(QStringLiteral("state")).toLocal8Bit());
    }

    void TearDown() override
    {
        window.reset();
        QDir::setCurrent(workingFolder);
        qunsetenv("XDG_CONFIG_HOME");
        qunsetenv("XDG_STATE_HOME");
    }

    TGLPlotter& MakeWindow(const QStringList& arguments = {})
    {
        auto scripted = std::make_unique<TScriptedDialogs>();
        dialogs = scripted.get();
        window = std::make_unique<TGLPlotter>(arguments, std::move(scripted));
        return *window;
    }

    QString Path(const QString& name) const { return folder.filePath(name); }

    QString WriteFile(const QString& name, const QByteArray& bytes) const
    {
        const QString path = Path(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        return path;
    }

    static QByteArray ReadFile(const QString& path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return file.readAll();
    }

    // Shows the window, makes it the active one and gives the editor the keyboard focus.
    void ShowAndFocusEditor()
    {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        window->Editor().setFocus();
        EXPECT_SOON(window->Editor().hasFocus());
    }

    QAction& ActionNamed(const char* name) const
    {
        auto* action = window->findChild<QAction*>(QString::fromLatin1(name));
        EXPECT_NE(action, nullptr) << name;
        return *action;
    }

    void ShowWindow()
    {
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    // Opens the menu from the menu bar and clicks the item, as a user does.
    void ClickMenuItem(const char* menuName, const char* itemName)
    {
        auto* menu = window->findChild<QMenu*>(QString::fromLatin1(menuName));
        ASSERT_NE(menu, nullptr) << menuName;
        QAction* item = window->findChild<QAction*>(QString::fromLatin1(itemName));
        ASSERT_NE(item, nullptr) << itemName;
        window->menuBar()->setActiveAction(menu->menuAction());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
        EXPECT_SOON(!menu->isVisible());
    }

    QString SettingsText() const
    {
        return QString::fromUtf8(ReadFile(Path(QStringLiteral("config/Zorvit/Zorvit.ini"))));
    }

    QTemporaryDir folder;
    QString workingFolder;
    std::unique_ptr<TGLPlotter> window;
    TScriptedDialogs* dialogs = nullptr;
};
