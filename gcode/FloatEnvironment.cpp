#include "gcode/FloatEnvironment.h"

#include <cfenv>

void InitFloatingPoint()
{
    fedisableexcept(FE_ALL_EXCEPT);
    std::feclearexcept(FE_ALL_EXCEPT);
    std::fesetround(FE_TONEAREST);
}
