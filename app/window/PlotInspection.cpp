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
    if (colourBy != TColourBy::FeedRate)
        FMotions.reset();
    else if (!FMotions && FPlotted && OnReadAgain) {
        OnReadAgain();
        return;
    }
    Apply();
}

// The transcription applies no units: its numbers are the text's.
void TPlotInspection::TranscriptionPlotted(const TGCodeEngine& engine)
{
    FSegmentsOf = TMotionSegments();
    FScale = 1;
    FMotions.reset();
    if (FColourBy == TColourBy::FeedRate)
        FMotions = std::make_shared<const TMotionList>(TranscriptionMotions(engine));
    Plotted(tr("units"));
}

void TPlotInspection::MachinePlotted(const TMachineReading& reading, const TPathPlan& plan)
{
    FSegmentsOf = TMotionSegments(plan.MotionEnds);
    FScale = FromMillimetres(reading.Facts.Units);
    FMotions.reset();
    if (FColourBy == TColourBy::FeedRate)
        FMotions = std::make_shared<const TMotionList>(reading.Motions);
    Plotted(reading.Facts.Units == TLengthUnits::Inches ? tr("in") : tr("mm"));
}

void TPlotInspection::Plotted(const QString& units)
{
    FPlotted = true;
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
    const std::vector<TSegment>& segments = FPanel.Segments();
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
    const TSegmentColours colours = byFeed ? ColourByFeed(FMotions ? *FMotions : TMotionList(),
                                                          FSegmentsOf, FScale, segments.size())
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
