#pragma once
// TWorkProgress: what a long synchronous piece of work (opening, refreshing, rebuilding the
// plot) is doing and how far it has come, as a label and a progress bar in the status bar.
// Nothing shows until the work has run for a while, so small files look as they always did.
// While it shows, the window is repainted now and then; user input, timers and socket
// notices wait until the work is over, so no other command can start in the middle of it.
// Work that can be cancelled shows a Cancel button beside the bar; Esc and that button cancel
// it, and other input is dropped while it runs.

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <chrono>
#include <cstddef>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;
class QStatusBar;

// The stages, as the label shows them.
inline constexpr char kStageReading[] = "Reading";
inline constexpr char kStageInterpreting[] = "Interpreting";
inline constexpr char kStagePlotting[] = "Plotting";

class TWorkProgress : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds kDefaultShowAfter{500};

    explicit TWorkProgress(QStatusBar& statusBar,
                           std::chrono::milliseconds showAfter = kDefaultShowAfter);

    // Marks one piece of work for its lifetime; the outermost scope starts the clock and hides
    // the progress again at its end, also when the work fails.
    class TScope
    {
    public:
        explicit TScope(TWorkProgress& progress);
        ~TScope();
        TScope(const TScope&) = delete;
        TScope& operator=(const TScope&) = delete;

    private:
        TWorkProgress& FProgress;
    };

    // The work is at done of total in the named stage. Cheap to call often: it only looks at
    // the clock until the progress shows, and repaints at most every few tens of milliseconds.
    void Report(const char* stage, std::size_t done, std::size_t total);

    // Holds the paints of a widget whose paint is too costly to repeat while the work changes
    // what it shows (the plot, as its segments are added): called with true when the progress
    // begins to show, with false when the work is over.
    void HoldPaintsWith(std::function<void(bool held)> hold) { FHoldPaints = std::move(hold); }

    // Makes the work from now on cancellable: cancel is called on Esc or the Cancel button.
    // An empty function ends that.
    void SetCanceller(std::function<void()> cancel);

    void SetShowAfter(std::chrono::milliseconds showAfter) { FShowAfter = showAfter; }
    bool Showing() const { return FShowing; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // The label has begun to show this stage.
    void StageShown(const QString& stage);

private:
    void Begin();
    void End();
    void Show();
    void Repaint();

    QStatusBar& FStatusBar;
    QLabel* FLabel;
    QProgressBar* FBar;
    QPushButton* FCancelButton;
    std::function<void(bool)> FHoldPaints;
    std::function<void()> FCancel;
    std::chrono::milliseconds FShowAfter;
    QElapsedTimer FSinceBegin;
    QElapsedTimer FSinceRepaint;
    const char* FStage = nullptr;
    int FDepth = 0;
    bool FShowing = false;
};
