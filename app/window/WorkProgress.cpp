#include "app/window/WorkProgress.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>

#include <cstring>

namespace {

constexpr int kBarSteps = 1000;
// Each repaint composes the whole window in software, so a few times a second is enough.
constexpr qint64 kRepaintEveryMs = 200;
constexpr int kBarWidthPx = 160;

// Paints and window-system notices go on; input, timers (the watcher's notice among them) and
// socket notices wait for the event loop.
constexpr QEventLoop::ProcessEventsFlags kRepaintOnly =
    QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers | QEventLoop::X11ExcludeTimers;

} // namespace

TWorkProgress::TWorkProgress(QStatusBar& statusBar, std::chrono::milliseconds showAfter)
    : QObject(&statusBar), FStatusBar(statusBar), FLabel(new QLabel(&statusBar)),
      FBar(new QProgressBar(&statusBar)), FShowAfter(showAfter)
{
    setObjectName(QStringLiteral("WorkProgress"));
    FLabel->setObjectName(QStringLiteral("lblWorkStage"));
    FBar->setObjectName(QStringLiteral("pbrWork"));
    FBar->setRange(0, kBarSteps);
    FBar->setFixedWidth(kBarWidthPx);
    statusBar.addPermanentWidget(FLabel);
    statusBar.addPermanentWidget(FBar);
    FLabel->hide();
    FBar->hide();
}

TWorkProgress::TScope::TScope(TWorkProgress& progress) : FProgress(progress)
{
    if (FProgress.FDepth++ == 0)
        FProgress.Begin();
}

TWorkProgress::TScope::~TScope()
{
    if (--FProgress.FDepth == 0)
        FProgress.End();
}

void TWorkProgress::Begin()
{
    FSinceBegin.start();
    FShowing = false;
}

void TWorkProgress::End()
{
    if (!FShowing)
        return;
    FShowing = false;
    FLabel->hide();
    FBar->hide();
    FLabel->clear();
    FStage = nullptr;
    if (FHoldPaints)
        FHoldPaints(false);
}

void TWorkProgress::Report(const char* stage, std::size_t done, std::size_t total)
{
    if (FDepth == 0)
        return;
    if (!FShowing) {
        if (FSinceBegin.elapsed() < FShowAfter.count())
            return;
        Show();
    }
    const bool newStage = FStage == nullptr || std::strcmp(FStage, stage) != 0;
    if (newStage) {
        FStage = stage;
        FLabel->setText(QString::fromLatin1(stage));
        emit StageShown(FLabel->text());
    }
    FBar->setValue(total == 0 ? 0 : static_cast<int>(static_cast<double>(done) / static_cast<double>(total) * kBarSteps));
    if (newStage || FSinceRepaint.elapsed() >= kRepaintEveryMs)
        Repaint();
}

void TWorkProgress::Show()
{
    FShowing = true;
    // A file opened at start-up is read before the window is shown; a long one shows it early.
    QWidget* window = FStatusBar.window();
    if (!window->isVisible())
        window->show();
    if (FHoldPaints)
        FHoldPaints(true);
    FLabel->show();
    FBar->show();
    FSinceRepaint.start();
}

void TWorkProgress::Repaint()
{
    QCoreApplication::processEvents(kRepaintOnly);
    FSinceRepaint.restart();
}
