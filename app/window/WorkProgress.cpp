#include "app/window/WorkProgress.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

#include <cstring>

namespace {

constexpr int kBarSteps = 1000;
// Each repaint composes the whole window in software, so a few times a second is enough.
constexpr qint64 kRepaintEveryMs = 200;
constexpr int kBarWidthPx = 160;

// Paints and window-system notices go on; input, timers (the watcher's notice among them) and
// socket notices wait for the event loop.
constexpr QEventLoop::ProcessEventsFlags kRepaintOnly = QEventLoop::ExcludeUserInputEvents |
                                                        QEventLoop::ExcludeSocketNotifiers |
                                                        QEventLoop::X11ExcludeTimers;
// Cancellable work lets input through to the event filter, which keeps only the cancelling.
constexpr QEventLoop::ProcessEventsFlags kRepaintAndCancel =
    QEventLoop::ExcludeSocketNotifiers | QEventLoop::X11ExcludeTimers;

bool IsUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

}  // namespace

TWorkProgress::TWorkProgress(QStatusBar& statusBar, std::chrono::milliseconds showAfter)
    : QObject(&statusBar), FStatusBar(statusBar), FLabel(new QLabel(&statusBar)),
      FBar(new QProgressBar(&statusBar)),
      FCancelButton(new QPushButton(QStringLiteral("Cancel"), &statusBar)), FShowAfter(showAfter)
{
    setObjectName(QStringLiteral("WorkProgress"));
    FLabel->setObjectName(QStringLiteral("lblWorkStage"));
    FBar->setObjectName(QStringLiteral("pbrWork"));
    FBar->setRange(0, kBarSteps);
    FBar->setFixedWidth(kBarWidthPx);
    statusBar.addPermanentWidget(FLabel);
    statusBar.addPermanentWidget(FBar);
    FCancelButton->setObjectName(QStringLiteral("btnCancelWork"));
    FCancelButton->setFocusPolicy(Qt::NoFocus);
    statusBar.addPermanentWidget(FCancelButton);
    connect(FCancelButton, &QPushButton::clicked, this, [this] {
        if (FCancel)
            FCancel();
    });
    FLabel->hide();
    FBar->hide();
    FCancelButton->hide();
}

void TWorkProgress::SetCanceller(std::function<void()> cancel)
{
    FCancel = std::move(cancel);
    FCancelButton->setVisible(FShowing && FCancel);
}

bool TWorkProgress::eventFilter(QObject* watched, QEvent* event)
{
    if (!FShowing || !FCancel || !IsUserInput(event->type()))
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        FCancel();
        return true;
    }
    // Input reaches a window first and then its widget: of the widgets, only the Cancel button
    // takes it.
    return watched->isWidgetType() && watched != FCancelButton;
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
    qApp->removeEventFilter(this);
    FLabel->hide();
    FBar->hide();
    FCancelButton->hide();
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
    if (!newStage && FSinceRepaint.elapsed() < kRepaintEveryMs)
        return;
    // Set only before a repaint: the bar repaints itself, and so composes the whole window,
    // whenever its value moves it by a pixel.
    FBar->setValue(total == 0 ? 0
                              : static_cast<int>(static_cast<double>(done) /
                                                 static_cast<double>(total) * kBarSteps));
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
    FCancelButton->setVisible(static_cast<bool>(FCancel));
    // Input reaches the filter first, so no command starts while cancellable work runs.
    qApp->installEventFilter(this);
    FSinceRepaint.start();
}

void TWorkProgress::Repaint()
{
    QCoreApplication::processEvents(FCancel ? kRepaintAndCancel : kRepaintOnly);
    FSinceRepaint.restart();
}
