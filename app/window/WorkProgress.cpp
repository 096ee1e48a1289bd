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
    : QObject(&statusBar), fStatusBar(statusBar), fLabel(new QLabel(&statusBar)),
      fBar(new QProgressBar(&statusBar)), fShowAfter(showAfter)
{
    setObjectName(QStringLiteral("WorkProgress"));
    fLabel->setObjectName(QStringLiteral("lblWorkStage"));
    fBar->setObjectName(QStringLiteral("pbrWork"));
    fBar->setRange(0, kBarSteps);
    fBar->setFixedWidth(kBarWidthPx);
    statusBar.addPermanentWidget(fLabel);
    statusBar.addPermanentWidget(fBar);
    fLabel->hide();
    fBar->hide();
}

TWorkProgress::TScope::TScope(TWorkProgress& progress) : fProgress(progress)
{
    if (fProgress.fDepth++ == 0)
        fProgress.Begin();
}

TWorkProgress::TScope::~TScope()
{
    if (--fProgress.fDepth == 0)
        fProgress.End();
}

void TWorkProgress::Begin()
{
    fSinceBegin.start();
    fShowing = false;
}

void TWorkProgress::End()
{
    if (!fShowing)
        return;
    fShowing = false;
    fLabel->hide();
    fBar->hide();
    fLabel->clear();
    fStage = nullptr;
    if (fHoldPaints)
        fHoldPaints(false);
}

void TWorkProgress::Report(const char* stage, std::size_t done, std::size_t total)
{
    if (fDepth == 0)
        return;
    if (!fShowing) {
        if (fSinceBegin.elapsed() < fShowAfter.count())
            return;
        Show();
    }
    const bool newStage = fStage == nullptr || std::strcmp(fStage, stage) != 0;
    if (newStage) {
        fStage = stage;
        fLabel->setText(QString::fromLatin1(stage));
        emit StageShown(fLabel->text());
    }
    fBar->setValue(total == 0 ? 0 : static_cast<int>(static_cast<double>(done) / static_cast<double>(total) * kBarSteps));
    if (newStage || fSinceRepaint.elapsed() >= kRepaintEveryMs)
        Repaint();
}

void TWorkProgress::Show()
{
    fShowing = true;
    // A file opened at start-up is read before the window is shown; a long one shows it early.
    QWidget* window = fStatusBar.window();
    if (!window->isVisible())
        window->show();
    if (fHoldPaints)
        fHoldPaints(true);
    fLabel->show();
    fBar->show();
    fSinceRepaint.start();
}

void TWorkProgress::Repaint()
{
    QCoreApplication::processEvents(kRepaintOnly);
    fSinceRepaint.restart();
}
