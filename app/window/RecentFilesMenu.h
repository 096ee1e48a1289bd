#pragma once
// File > Open Recent: one numbered item per recent file, newest first, and the list's Clear
// action below them. The items are made afresh each time the menu opens.

#include <QMenu>

class QAction;
class TRecentFiles;

class TRecentFilesMenu : public QMenu
{
    Q_OBJECT

public:
    TRecentFilesMenu(const TRecentFiles& files, QAction& clearAction, QWidget* parent = nullptr);

signals:
    void FileChosen(const QString& name);

private:
    void Rebuild();

    const TRecentFiles& FFiles;
    QAction& FClearAction;
};
