#pragma once
// The state after a line as "key: value" lines, for a restart from that line: the machine
// path's with positions and offsets in the units in force there, the transcription's with its
// numbers as written.

#include <string>

struct TMachineStateAt;
struct TTableState;

std::string FormatMachineState(const TMachineStateAt& state);
std::string FormatTableState(const TTableState& state);
