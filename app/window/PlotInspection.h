#pragma once
// TPlotInspection: what the plot shows beside the motion modes. View > Colour By colours the
// segments by the feed rate of their moves or by their depth, with a legend on the plot; while
// the playback bar is shown, the moves after its marker are dimmed. It keeps which segments each
// motion made and the feed rate of each motion of the machine path (8 bytes a motion); the
// transcription's rates come from its interpreter when they are asked for.

#include "app/window/PlaybackBar.h"
#include "common/Color.h"
#include "machine/Motion.h"
#include "plot/MotionSegments.h"
#include "settings/ViewSettings.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class TColourLegend;
class TGCodeEngine;
class TOpenGLPanel;
struct TMachineReading;
struct TPathPlan;

class TPlotInspection : public QObject
{
    Q_OBJECT

public:
    TPlotInspection(TOpenGLPanel& panel, QObject* parent);

    TColourBy ColourBy() const { return FColourBy; }
    // Colours the plot so from now on.
    void SetColourBy(TColourBy colourBy);
    // The interpreter whose run the transcription plotted.
    std::function<const TGCodeEngine*()> Interpreter;

    // A new plot, built in the motion colours, and what it was built from.
    void TranscriptionPlotted();
    void MachinePlotted(const TMachineReading& reading, const TPathPlan& plan);
    // The plot was built again from the same reading, in new motion colours.
    void Rebuilt();

    // Where the playback marker is; none removes the dimming.
    void ShowProgress(const std::optional<TPlaybackBar::TMarkerPlace>& place);

    const TColourLegend& Legend() const { return *FLegend; }

private:
    void Plotted(const QString& units);
    void Apply();
    void ReadTranscriptionRates();

    TOpenGLPanel& FPanel;
    TColourLegend* FLegend;
    TColourBy FColourBy = TColourBy::MotionMode;
    bool FTranscription = false;
    // The segments' motion colours while they show others.
    std::vector<TColor> FMotionColours;
    std::vector<float> FRates;  // of each motion; the transcription's while colouring by feed
    TMotionSegments FSegmentsOf;
    double FScale = 1;  // from the motions' units to the plot's
    QString FUnits;     // of the plot
};
