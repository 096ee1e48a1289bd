// The machine path over any bytes: reading, planning and the summary. The project's own errors
// are results; anything else, or a motion from a line the program does not have, is a finding.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/Error.h"
#include "gcode/FloatEnvironment.h"
#include "gcode/LineList.h"
#include "machine/MachineReader.h"
#include "machine/MachineSummary.h"
#include "machine/Plan.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    InitFloatingPoint();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const TLineList lines = TLineList::View(text);
    // Short inputs with large repeat counts must not fill the memory of the fuzzing run, and
    // endless loops must stop within its time per input.
    constexpr std::size_t kFuzzMotionLimit = 100'000;
    constexpr std::int64_t kFuzzLoopLimit = 100'000;
    TMachineReader reader;
    reader.MotionLimit = kFuzzMotionLimit;
    reader.LoopLimit = kFuzzLoopLimit;
    try {
        reader.Run(lines);
    } catch (const EZorvitError&) {}
    const TMachineReading reading = reader.TakeResult();
    for (const TMotion& motion : reading.Motions.Motions) {
        if (motion.Line >= lines.size())
            std::abort();
    }
    const TPathPlan plan = TPathPlanner::Plan(reading.Motions, reading.Facts.Units);
    if (plan.Points.size() < reading.Motions.Motions.size() + 1)
        std::abort();
    SummarizeMachine(reading);
    return 0;
}
