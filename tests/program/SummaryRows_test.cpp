// Program Info's rows: each figure with its value and the unit of the reading it comes from,
// times as h:mm:ss, and the clipboard's text of them.

#include "program/ProgramSummary.h"
#include "program/SummaryRows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

TEST(SummaryRows, TimesReadHoursMinutesAndSeconds)
{
    const struct
    {
        double Seconds;
        const char* Text;
    } kCases[] = {
        {0, "0:00:00"},    {-3, "0:00:00"},     {0.4, "0:00:00"},    {59.5, "0:01:00"},
        {3725, "1:02:05"}, {36000, "10:00:00"}, {7199.6, "2:00:00"},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(HoursMinutesSeconds(c.Seconds), c.Text) << c.Seconds;
}

// A rapid of 1 unit, a feed of 2 at 10 a minute (12 s), a dwell of 6 s.
TProgramSummary Summary(bool machine, bool inches)
{
    TProgramSummary summary;
    summary.Machine = machine;
    summary.Inches = inches;
    summary.Rows = 2;
    summary.Motion[0] = {1, 1};
    summary.Motion[1] = {1, 2};
    summary.FeedMinutes = 0.2;
    summary.DwellMinutes = machine ? 0.1 : 0;
    summary.HasExtent = true;
    summary.Maximum = {1, 2, 0};
    return summary;
}

TEST(SummaryRows, LengthsRatesAndTimesCarryTheReadingsUnits)
{
    TProgramSummary nothing;
    nothing.Lenient = true;
    const struct
    {
        const char* Name;
        TProgramSummary Summary;
        std::vector<TSummaryRow> Present;
        std::vector<std::string> Absent;  // figures
    } kCases[] = {
        {"inches",
         Summary(true, true),
         {{"reading", "machine path", ""},
          {"motions", "2", ""},
          {"length G0", "1.0000", "in"},
          {"max Y", "2.0000", "in"},
          {"rapid rate", "5000.0000", "in/min"},
          {"feed time", "0:00:12", "h:mm:ss"},
          {"dwell time", "0:00:06", "h:mm:ss"},
          {"estimated time", "0:00:18", "h:mm:ss"},
          {"untimed length", "0.0000", "in"}},
         {"segments other", "rows", "skipped words"}},
        {"millimetres",
         Summary(true, false),
         {{"length G1", "2.0000", "mm"}, {"rapid rate", "5000.0000", "mm/min"}},
         {}},
        {"transcription",
         Summary(false, false),
         {{"reading", "transcription", ""},
          {"rows", "2", ""},
          {"segments G1", "1", ""},
          {"length G1", "2.0000", ""},
          {"rapid rate", "5000.0000", "per min"},
          {"estimated time", "0:00:12", "h:mm:ss"}},
         {"dwell time", "motions"}},
        {"nothing",
         nothing,
         {{"reading", "transcription, lenient", ""},
          {"min X", "none", ""},
          {"units", "none", ""},
          {"feed max", "none", ""},
          {"skipped words", "0", ""}},
         {}},
    };
    for (const auto& c : kCases) {
        const std::vector<TSummaryRow> rows = SummaryRows(c.Summary);
        for (const TSummaryRow& row : c.Present)
            EXPECT_NE(std::find(rows.begin(), rows.end(), row), rows.end())
                << c.Name << ": " << row.Figure << " " << row.Value << " " << row.Unit << "\n"
                << SummaryRowsText(rows);
        for (const std::string& figure : c.Absent)
            EXPECT_TRUE(std::none_of(rows.begin(), rows.end(),
                                     [&](const TSummaryRow& row) { return row.Figure == figure; }))
                << c.Name << ": " << figure;
    }
}

TEST(SummaryRows, TheClipboardHasOneFigureALineWithItsUnit)
{
    EXPECT_EQ(SummaryRowsText({{"segments G1", "3", ""}, {"length G1", "2.5000", "mm"}}),
              "segments G1: 3\nlength G1: 2.5000 mm\n");
    EXPECT_EQ(SummaryRowsText({}), "");
}

}  // namespace
