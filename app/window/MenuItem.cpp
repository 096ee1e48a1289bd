#include "app/window/MenuItem.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>

QAction* AddMenuItem(QMenu& menu, const char* itemName, const QString& caption, QAction& action)
{
    QString text = caption;
    if (!action.shortcut().isEmpty())
        text += QLatin1Char('\t') + action.shortcut().toString(QKeySequence::NativeText);
    auto* item = new QAction(text, &menu);
    item->setObjectName(QString::fromLatin1(itemName));
    item->setIcon(action.icon());
    item->setStatusTip(action.statusTip());
    item->setCheckable(action.isCheckable());
    const auto follow = [item, &action] {
        item->setEnabled(action.isEnabled());
        item->setChecked(action.isChecked());
    };
    follow();
    QObject::connect(&action, &QAction::changed, item, follow);
    QObject::connect(item, &QAction::triggered, &action, [&action] { action.trigger(); });
    menu.addAction(item);
    return item;
}
