#pragma once
// What the main window remembers between runs, kept in the state file: its place and size,
// whether it was maximised, the editor's width beside the plot, and the recent files. Without
// a state file the window keeps the place and sizes it was made with.

#include "settings/WindowState.h"

class QMainWindow;
class QSplitter;
class TRecentFiles;

// The window's normal geometry, maximised state, and the width of the splitter's first pane.
TWindowState CaptureWindow(const QMainWindow& window, const QSplitter& splitter);
// Applies a remembered state before the window is shown. A place that no screen shows any more
// (a screen removed) keeps only the size, and the desktop places the window.
void RestoreWindow(QMainWindow& window, QSplitter& splitter, const TWindowState& state);

// Reads the state file into the window and the recent files; writes them back. Saving throws
// EIniFileError when the file cannot be written.
void LoadSession(QMainWindow& window, QSplitter& splitter, TRecentFiles& recentFiles);
void SaveSession(const QMainWindow& window, const QSplitter& splitter,
                 const TRecentFiles& recentFiles);
