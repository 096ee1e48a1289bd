// What the machine's modal state shows to a program through parameters.

#include "machine/Machine.h"

namespace {

double Flag(bool value)
{
    return value ? 1 : 0;
}

}  // namespace

double TMachine::Predefined(TPredefined name) const
{
    const bool inches = FUnits == TLengthUnits::Inches;
    const TVector3& machine = FPosition;
    switch (name) {
    case TPredefined::Line:
        return static_cast<double>(FLine + 1);
    case TPredefined::MotionMode:
        return FMotionMode;
    case TPredefined::Plane:
        return FPlane == TArcPlane::XY ? 170 : FPlane == TArcPlane::ZX ? 180 : 190;
    case TPredefined::CutterComp:
        return 400;  // compensation is not modelled: the programmed path is drawn
    case TPredefined::Metric:
        return Flag(!inches);
    case TPredefined::Imperial:
        return Flag(inches);
    case TPredefined::Absolute:
        return Flag(!FIncremental);
    case TPredefined::Incremental:
        return Flag(FIncremental);
    case TPredefined::InverseTime:
        return Flag(FFeedMode == TFeedMode::InverseTime);
    case TPredefined::UnitsPerMinute:
        return Flag(FFeedMode == TFeedMode::PerMinute);
    case TPredefined::UnitsPerRev:
        return Flag(FFeedMode == TFeedMode::PerRevolution);
    case TPredefined::ToolOffset:
        return Flag(FToolOffset.X != 0 || FToolOffset.Z != 0);
    case TPredefined::RetractRPlane:
        return Flag(FRetractToR);
    case TPredefined::RetractOldZ:
        return Flag(!FRetractToR);
    case TPredefined::SpindleRpmMode:
    case TPredefined::SpeedOverride:
    case TPredefined::FeedOverride:
    case TPredefined::FeedHold:
        return 1;  // G97 and the overrides enabled, as LinuxCNC starts
    case TPredefined::IjkAbsoluteMode:
        return Flag(FArcAbsolute);
    case TPredefined::LatheDiameterMode:
        return Flag(FDiameterMode);
    case TPredefined::LatheRadiusMode:
        return Flag(!FDiameterMode);
    case TPredefined::Feed:
        return FFeed;
    case TPredefined::Rpm:
        return FSpindle;
    case TPredefined::AbsX:
    case TPredefined::AbsY:
    case TPredefined::AbsZ:
        return machine[static_cast<std::size_t>(name) -
                       static_cast<std::size_t>(TPredefined::AbsX)] /
               Scale();
    case TPredefined::SelectedTool:
        return FSelectedTool;
    default:
        return 0;  // spindle, coolant, adaptive feed, rotary axes, pockets: not modelled
    }
}

void TMachine::PublishParameters(TParameters& parameters, bool offsets) const
{
    const double scale = Scale();
    const TVector3 position = ToProgram(FPosition);
    for (int axis = 0; axis < 3; ++axis)
        parameters.SetNumbered(TParameters::kPosition + axis,
                               position[static_cast<std::size_t>(axis)] / scale);
    parameters.SetNumbered(TParameters::kToolNumber, FTool);
    if (!offsets)
        return;
    for (int axis = 0; axis < 3; ++axis) {
        const auto i = static_cast<std::size_t>(axis);
        parameters.SetNumbered(TParameters::kG92Offset + axis, FG92[i] / scale);
        parameters.SetNumbered(TParameters::kG28Home + axis, FG28Home[i] / scale);
        parameters.SetNumbered(TParameters::kG30Home + axis, FG30Home[i] / scale);
        for (std::size_t system = 0; system < kCoordinateSystems; ++system)
            parameters.SetCoordinateOffset(static_cast<int>(system) + 1, axis,
                                           FSystems[system].Offset[i] / scale);
    }
    for (std::size_t system = 0; system < kCoordinateSystems; ++system)
        parameters.SetCoordinateOffset(static_cast<int>(system) + 1, TParameters::kRotationSlot,
                                       FSystems[system].RotationDegrees);
    parameters.SetNumbered(TParameters::kG92Applied, Flag(FG92 != TVector3{}));
    parameters.SetNumbered(TParameters::kCoordinateSystem, static_cast<double>(FSystem + 1));
}

TMachineModes TMachine::Modes() const
{
    TMachineModes modes;
    modes.Units = FUnits;
    modes.Plane = FPlane;
    modes.Incremental = FIncremental;
    modes.ArcAbsolute = FArcAbsolute;
    modes.DiameterMode = FDiameterMode;
    modes.FeedMode = FFeedMode;
    modes.Feed = FFeed;
    modes.Spindle = FSpindle;
    modes.MotionMode = FMotionMode;
    modes.Tool = FTool;
    modes.SelectedTool = FSelectedTool;
    modes.System = FSystem;
    modes.SystemOffset = FSystems[FSystem].Offset;
    modes.RotationDegrees = FSystems[FSystem].RotationDegrees;
    modes.G92 = FG92;
    modes.ToolOffset = ToolOffset();
    modes.RetractToR = FRetractToR;
    modes.CycleR = FCycleR;
    modes.CycleBottom = FCycleBottom;
    modes.CycleQ = FCycleQ;
    modes.CycleP = FCycleP;
    modes.Ended = FEnded;
    return modes;
}
