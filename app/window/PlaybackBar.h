#pragma once
// TPlaybackBar: the bar under the plot that plays the program back. Play and pause, a step of
// one block back or on, a slider over the program's estimated time, the speed (1x to 1000x) and
// the elapsed and remaining time; beside them the machine's state at the marker. It works on
// either reading: the machine path's motions with the states kept while reading, or the
// transcription's segments with its state index. The host draws the marker where OnMarker says.

#include "common/Color.h"
#include "common/Point.h"
#include "machine/Motion.h"
#include "plot/OverlayShape.h"

#include <QElapsedTimer>
#include <QWidget>

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QSlider;
class QTimer;
class QToolButton;
class TMachineStateIndex;
class TTableStateIndex;
class TTimeline;

class TPlaybackBar : public QWidget
{
    Q_OBJECT

public:
    explicit TPlaybackBar(QWidget* parent);
    ~TPlaybackBar() override;

    // The machine path: motions in millimetres, drawn in the plot at plotScale (the factor to
    // the program's units); rapids at rapidRate millimetres per minute.
    void SetMachinePath(std::shared_ptr<const TMotionList> motions,
                        std::shared_ptr<const TMachineStateIndex> states, double plotScale,
                        double rapidRate);
    // The transcription: segments in the units of the text, rapids at rapidRate per minute.
    void SetTranscription(std::shared_ptr<const TMotionList> motions,
                          std::shared_ptr<const TTableStateIndex> states, double rapidRate);
    // Nothing to play: the marker goes.
    void Clear();

    void TogglePlay();
    bool Playing() const;
    void StepForward();
    void StepBack();
    // Puts the marker at the end of the line's last move or dwell; a line without either, or the
    // line the marker is on, changes nothing.
    void ShowLine(std::uint32_t line);
    double Seconds() const { return FSeconds; }
    double TotalSeconds() const;

    // Where the marker is: the move it is on (none without moves), how far along it (0 to 1)
    // and the point in the plot's units.
    struct TMarkerPlace
    {
        std::size_t move;
        double fraction;
        TPoint3f at;
    };
    std::optional<TMarkerPlace> MarkerPlace() const;

    // The figures of a measure on the plot, under the state; empty hides them.
    void SetMeasure(const QString& text);

    // The marker's colour, one that no motion colour is.
    void SetMotionColours(const std::array<TColor, 4>& colours);

    // Told after every change of the time: the marker's shapes in the plot's units (none
    // without moves), the line of its move, and whether the bar is playing.
    std::function<void(std::vector<TOverlayShape> marker, std::optional<std::uint32_t> line,
                       bool playing)>
        OnMarker;

private:
    void SetSeconds(double seconds);
    void Tick();
    void SliderMoved(int value);
    void Restart(std::shared_ptr<const TMotionList> motions, double rapidRate);

    std::shared_ptr<const TMotionList> FMotions;
    std::unique_ptr<TTimeline> FTimeline;
    std::shared_ptr<const TMachineStateIndex> FMachineStates;
    std::shared_ptr<const TTableStateIndex> FTableStates;
    double FPlotScale = 1;
    float FMarkerSize = 1;  // in the plot's units
    TColor FMarkerColour = clFuchsia;
    double FSeconds = 0;
    QElapsedTimer FClock;

    QToolButton* btnBack = nullptr;
    QToolButton* btnPlay = nullptr;
    QToolButton* btnForward = nullptr;
    QSlider* sldTime = nullptr;
    QComboBox* cmbSpeed = nullptr;
    QLabel* lblTime = nullptr;
    QPlainTextEdit* memState = nullptr;
    QLabel* lblMeasure = nullptr;
    QTimer* tmrPlay = nullptr;
};
