#include "app/window/SessionMemory.h"

#include "settings/IniFile.h"
#include "settings/RecentFiles.h"
#include "settings/StateFile.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QSplitter>

#include <algorithm>

namespace {

constexpr int kMinimumPaneWidthPx = 1;

}  // namespace

TWindowState CaptureWindow(const QMainWindow& window, const QSplitter& splitter)
{
    // While maximised, the geometry to come back to is the normal one.
    const QRect normal = window.isMaximized() ? window.normalGeometry() : window.geometry();
    const QList<int> sizes = splitter.sizes();
    return {normal.x(),      normal.y(),           normal.width(),
            normal.height(), window.isMaximized(), sizes.isEmpty() ? 0 : sizes.front()};
}

void RestoreWindow(QMainWindow& window, QSplitter& splitter, const TWindowState& state)
{
    const QRect place(state.left, state.top, state.width, state.height);
    if (QGuiApplication::screenAt(place.center()) != nullptr)
        window.setGeometry(place);
    else
        window.resize(place.size());
    splitter.setSizes(
        {state.editorWidth, std::max(kMinimumPaneWidthPx, state.width - state.editorWidth)});
    if (state.maximized)
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
}

void LoadSession(QMainWindow& window, QSplitter& splitter, TRecentFiles& recentFiles)
{
    const TIniFile file(StateFileName());
    recentFiles.Read(file);
    if (const auto state = ReadWindowState(file))
        RestoreWindow(window, splitter, *state);
}

void SaveSession(const QMainWindow& window, const QSplitter& splitter,
                 const TRecentFiles& recentFiles)
{
    TIniFile file(StateFileName());
    WriteWindowState(file, CaptureWindow(window, splitter));
    recentFiles.Write(file);
}
