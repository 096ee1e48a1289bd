#pragma once
// The program summary as the rows of Program Info's table: a figure, its value and its unit.
// The machine path's lengths are in the program's units (mm or in); the transcription applies
// no units, so its lengths and rates name none. Times read h:mm:ss.

#include <string>
#include <vector>

struct TProgramSummary;

struct TSummaryRow
{
    std::string Figure;
    std::string Value;
    std::string Unit;  // empty for counts, codes and texts

    bool operator==(const TSummaryRow&) const = default;
};

std::vector<TSummaryRow> SummaryRows(const TProgramSummary& summary);
// The rows as text for the clipboard: "figure: value unit", one a line.
std::string SummaryRowsText(const std::vector<TSummaryRow>& rows);
// The unit of the summary's rates: "mm/min", "in/min" or, without units, "per min".
std::string RateUnit(const TProgramSummary& summary);
// A time as h:mm:ss, rounded to the second.
std::string HoursMinutesSeconds(double seconds);
