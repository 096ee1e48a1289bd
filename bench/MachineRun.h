#pragma once
// One reading of a program by the machine path and the plan of its motions, as the window
// makes them: what the machine benchmarks time.

#include "gcode/LineList.h"
#include "machine/MachineReader.h"
#include "machine/Plan.h"

namespace bench {

struct TMachineRun
{
    TMachineReading Reading;
    TPathPlan Plan;
};

inline TMachineRun ReadAndPlanMachine(const TLineList& lines)
{
    TMachineReader reader;
    reader.Run(lines);
    TMachineRun run{reader.TakeResult(), {}};
    run.Plan = TPathPlanner::Plan(run.Reading.Motions, run.Reading.Facts.Units);
    return run;
}

}  // namespace bench
