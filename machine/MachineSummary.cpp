#include "machine/MachineSummary.h"

#include <algorithm>
#include <cmath>

#include "machine/ArcGeometry.h"
#include "machine/MachineReader.h"
#include "machine/Plan.h"

namespace {

constexpr double kSecondsPerMinute = 60;
}  // namespace

TProgramSummary SummarizeMachine(const TMachineReading& reading)
{
    TProgramSummary summary;
    summary.Machine = true;
    summary.SourceLines = reading.SourceLines;
    const TMotionList& motions = reading.Motions;
    summary.Rows = motions.Motions.size();
    const double scale = FromMillimetres(reading.Facts.Units);

    TVector3 from = motions.Start;
    TVector3 minimum = motions.Start;
    TVector3 maximum = motions.Start;
    for (const TMotion& motion : motions.Motions) {
        double length = 0;
        std::size_t mode = motion.Kind == TMotionKind::Rapid ? 0 : 1;
        if (motion.Kind == TMotionKind::Arc) {
            const TMotionArc& arc = motions.Arcs[static_cast<std::size_t>(motion.Arc)];
            const TArcSweep sweep = MeasureArc(from, motion.End, arc);
            length = ArcLength(sweep);
            WidenByArc(sweep, arc, minimum, maximum);
            mode = arc.Clockwise ? 2 : 3;
        } else {
            length = std::hypot(motion.End[0] - from[0], motion.End[1] - from[1],
                                motion.End[2] - from[2]);
        }
        TMotionFigures& figures = summary.Motion[mode];
        ++figures.Segments;
        figures.Length += length * scale;
        if (motion.Kind != TMotionKind::Rapid) {
            if (motion.Rate > 0)
                summary.FeedMinutes += length / motion.Rate;
            else
                summary.UntimedLength += length * scale;
        }
        for (int axis = 0; axis < 3; ++axis) {
            minimum[axis] = std::min(minimum[axis], motion.End[axis]);
            maximum[axis] = std::max(maximum[axis], motion.End[axis]);
        }
        from = motion.End;
    }
    summary.HasExtent = !motions.Motions.empty();
    if (summary.HasExtent) {
        summary.Minimum = PlotPoint(minimum, scale);
        summary.Maximum = PlotPoint(maximum, scale);
    }
    summary.DwellMinutes = motions.DwellSeconds() / kSecondsPerMinute;
    summary.Inches = reading.Facts.Units == TLengthUnits::Inches;
    const TProgramFacts& facts = reading.Facts;
    summary.Units = facts.UnitsSeen;
    summary.DistanceModes = facts.DistanceModesSeen;
    summary.Tools = facts.ToolsSeen;
    summary.HasFeed = facts.HasFeed;
    summary.FeedMinimum = static_cast<std::int32_t>(std::lround(facts.FeedMinimum));
    summary.FeedMaximum = static_cast<std::int32_t>(std::lround(facts.FeedMaximum));
    summary.NotShown = reading.Notices.Texts();
    for (const TProgramMessage& message : reading.Messages) {
        const char* kind = message.Kind == TMessageKind::Message ? "MSG"
                           : message.Kind == TMessageKind::Debug ? "DEBUG"
                                                                 : "PRINT";
        summary.Messages.push_back("line " + std::to_string(message.Line + 1) + ", " + kind + ":" +
                                   message.Text);
    }
    summary.MessagesNotListed = reading.MessagesDropped;
    return summary;
}
