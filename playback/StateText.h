#pragma once
// The state after a line as "key: value" lines, for a restart from that line: the machine
// path's with positions and offsets in the units in force there, the transcription's with its
// numbers as written.

#include "common/Point.h"
#include "machine/Motion.h"

#include <string>

struct TMachineStateAt;
struct TTableState;

std::string FormatMachineState(const TMachineStateAt& state);
std::string FormatTableState(const TTableState& state);
// The same while the tool is on its way: the modes after the line in progress, the position
// where the tool is (in the machine path, machine coordinates in millimetres).
std::string FormatMachineState(TMachineStateAt state, const TVector3& machinePosition);
std::string FormatTableState(TTableState state, const TVector3& position);

// The figures of a measure from a to b: "distance: D\ndX: X\ndY: Y\ndZ: Z".
std::string FormatMeasure(const TPoint3f& a, const TPoint3f& b);
