#pragma once
// The main window's image list: fifteen 16 x 16 icon slots used by the actions. Each slot takes
// the desktop theme's icon when the theme has one, else a picture drawn here, so that menus and
// the tool bar show icons on a machine without an icon theme too.

#include <QIcon>

constexpr int kIconSlotCount = 15;
constexpr int kIconSizePx = 16;

// The icon of an image-list slot (0 to 14); an empty icon for a slot no action uses.
QIcon ActionIcon(int slot);
// The drawn picture alone, without asking the theme.
QIcon DrawnActionIcon(int slot);
