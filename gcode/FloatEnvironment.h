#pragma once

// Masks every floating-point exception and selects rounding to nearest (ties to even) for the
// process, so that division by zero and invalid operations give infinities and NaNs instead
// of trapping. The program calls it once at start-up.
void InitFloatingPoint();
