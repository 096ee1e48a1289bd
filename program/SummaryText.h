#pragma once
// The program summary as plain text, one "key: value" per line in a fixed order, for the
// command line and the program info window. Reals use "." whatever the locale.

#include <string>

struct TProgramSummary;

std::string FormatSummary(const TProgramSummary& summary);
// A length or time with the summary's fixed four decimals.
std::string FixedDecimals(double value);
