#include "app/window/RecentFilesMenu.h"

#include "settings/RecentFiles.h"

#include <QDir>

TRecentFilesMenu::TRecentFilesMenu(const TRecentFiles& files, QAction& clearAction, QWidget* parent)
    : QMenu(QStringLiteral("Open &Recent"), parent), FFiles(files), FClearAction(clearAction)
{
    setObjectName(QStringLiteral("mnuFileOpenRecent"));
    connect(this, &QMenu::aboutToShow, this, &TRecentFilesMenu::Rebuild);
    Rebuild();
}

void TRecentFilesMenu::Rebuild()
{
    clear();
    int number = 0;
    for (const std::string& stored : FFiles.Names()) {
        const QString name = QString::fromStdString(stored);
        ++number;
        // Numbers 1 to 9 get an access key; "&&" keeps an ampersand in a name literal.
        const QString prefix =
            number < 10 ? QStringLiteral("&%1 ").arg(number) : QStringLiteral("1&0 ");
        QAction* item = addAction(prefix + QDir::toNativeSeparators(name).replace(
                                               QLatin1Char('&'), QStringLiteral("&&")));
        item->setObjectName(QStringLiteral("itmRecent%1").arg(number));
        item->setStatusTip(name);
        connect(item, &QAction::triggered, this, [this, name] { emit FileChosen(name); });
    }
    addSeparator();
    addAction(&FClearAction);
    FClearAction.setEnabled(!FFiles.Names().empty());
}
