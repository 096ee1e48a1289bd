#pragma once
// The program summary of a machine path reading: the same figures and text as the
// transcription's, with the true lengths of arcs, lengths and extents in the program's units,
// feed moves timed in G93, G94 and G95, dwells, and what the path does not show.

#include "program/ProgramSummary.h"

struct TMachineReading;

TProgramSummary SummarizeMachine(const TMachineReading& reading);
