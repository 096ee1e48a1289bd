#pragma once
// Menu items that stand for an action of the main window.

class QAction;
class QMenu;
class QString;

// Adds to menu an item of its own named itemName that runs the action: it may show its own
// caption, and it shows the action's icon, shortcut, hint, enabled and checked state.
QAction* AddMenuItem(QMenu& menu, const char* itemName, const QString& caption, QAction& action);
