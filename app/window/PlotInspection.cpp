#include "app/window/PlotInspection.h"

#include "app/window/ColourLegend.h"
#include "machine/MachineReader.h"
#include "machine/Plan.h"
#include "playback/Timeline.h"
#include "plot/OpenGLPanel.h"
#include "plot/SegmentColouring.h"

TPlotInspection::TPlotInspection(TOpenGLPanel& panel, QObject* parent)
    : QObject(parent), FPanel(panel), FLegend(new TColourLegend(&panel))
{
    FLegend->setObjectName(QStringLiteral("lgdColourBy"));
}

void TPlotInspection::SetColourBy(TColourBy colourBy)
{
    if (colourBy == FColourBy)
        return;
    FColourBy = colourBy;
    if (FTranscription)
        ReadTranscriptionRates();
    Apply();
}

// Only while they colour the plot: they take a walk over the line table.
void TPlotInspection::ReadTranscriptionRates()
{
    const TGCodeEngine* engine = Interpreter ? Interpreter() : nullptr;
    FRates.clear();
    if (FColourBy == TColourBy::FeedRate && engine != nullptr)
        FRates = FeedRates(TranscriptionMotions(*engine));
    FRates.shrink_to_fit();
}

// The transcription applies no units: its numbers are the text's.
void TPlotInspection::TranscriptionPlotted()
{
    FTranscription = true;
    FSegmentsOf = TMotionSegments();
    FScale = 1;
    ReadTranscriptionRates();
    Plotted(tr("units"));
}

void TPlotInspection::MachinePlotted(const TMachineReading& reading, const TPathPlan& plan)
{
    FTranscription = false;
    FSegmentsOf = TMotionSegments(plan.MotionEnds);
    FScale = FromMillimetres(reading.Facts.Units);
    FRates = FeedRates(reading.Motions);
    Plotted(reading.Facts.Units == TLengthUnits::Inches ? tr("in") : tr("mm"));
}

void TPlotInspection::Plotted(const QString& units)
{
    FUnits = units;
    FMotionColours.clear();
    Apply();
}

void TPlotInspection::Rebuilt()
{
    FMotionColours.clear();
    Apply();
}

void TPlotInspection::Apply()
{
    const TSegmentList& segments = FPanel.Segments();
    if (FColourBy == TColourBy::MotionMode) {
        FLegend->hide();
        if (!FMotionColours.empty())
            FPanel.RecolourSegments(FMotionColours);
        FMotionColours.clear();
        return;
    }
    if (FMotionColours.empty()) {
        FMotionColours.reserve(segments.size());
        for (const TSegment& segment : segments)
            FMotionColours.push_back(segment.colour);
    }
    const bool byFeed = FColourBy == TColourBy::FeedRate;
    const TSegmentColours colours = byFeed
                                        ? ColourByFeed(FRates, FSegmentsOf, FScale, segments.size())
                                        : ColourByDepth(segments);
    FPanel.RecolourSegments(colours.Colours);
    if (!colours.Ranged) {
        FLegend->hide();
        return;
    }
    if (byFeed)
        FLegend->ShowRange(tr("Feed"), colours.Low, colours.High, FUnits + tr("/min"),
                           tr("rapids and moves without a feed"));
    else
        FLegend->ShowRange(tr("Z"), colours.Low, colours.High, FUnits, QString());
}

void TPlotInspection::ShowProgress(const std::optional<TPlaybackBar::TMarkerPlace>& place)
{
    if (!place) {
        FPanel.View().ClearProgress();
        return;
    }
    FPanel.View().SetProgress(FSegmentsOf.Passed(place->move, place->fraction), place->at);
}
