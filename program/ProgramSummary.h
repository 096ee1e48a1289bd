#pragma once
// TProgramSummary: what is in a program, as the plot reads it (TToolpathWalk): segments and
// path lengths per motion mode, the extent of the plotted points, the modes, tools and feeds
// the rows name, and an estimated time from the path lengths and the modal feed.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/Point.h"
#include "gcode/SkipReport.h"

class TGCodeEngine;
class TLineTable;

struct TMotionFigures
{
    std::size_t Segments = 0;
    double Length = 0;  // in the units of the text
};

struct TProgramSummary
{
    // Motion modes G0 to G3, then every other value.
    static constexpr std::size_t kMotionKinds = 5;
    static constexpr std::size_t kOtherMotion = 4;
    static constexpr std::array<std::string_view, kMotionKinds> kMotionNames{"G0", "G1", "G2", "G3",
                                                                             "other"};
    static constexpr double kDefaultRapidRate = 5000;  // units per minute

    std::size_t SourceLines = 0;
    std::size_t Rows = 0;
    std::array<TMotionFigures, kMotionKinds> Motion{};
    bool HasExtent = false;  // false without a segment
    TPoint3f Minimum{0, 0, 0};
    TPoint3f Maximum{0, 0, 0};
    std::vector<std::int32_t> Units;          // the G20/G21 values seen, ascending
    std::vector<std::int32_t> DistanceModes;  // the G90/G91 values seen, ascending
    std::vector<std::int32_t> Tools;          // T values in the order first called
    bool HasFeed = false;
    std::int32_t FeedMinimum = 0;
    std::int32_t FeedMaximum = 0;
    double RapidRate = kDefaultRapidRate;  // units per minute
    double FeedMinutes = 0;                // the feed moves, each at the modal F
    double UntimedLength = 0;  // feed moves made before any F > 0, which cannot be timed
    bool Lenient = false;
    TSkipReport Skipped;
    // The machine path's reading: true arcs, offsets and cycles, dwells timed, and what it
    // does not model named.
    bool Machine = false;
    double DwellMinutes = 0;
    bool Inches = false;  // the machine path's lengths are in inches, else millimetres
    std::vector<std::string> NotShown;
    // The machine path's comments that speak, "line 12, MSG: text", and how many more there
    // were than are listed.
    std::vector<std::string> Messages;
    std::size_t MessagesNotListed = 0;

    double RapidMinutes() const { return Motion[0].Length / RapidRate; }
    // Rapids at RapidRate plus the timed feed moves and the dwells.
    double EstimatedMinutes() const { return RapidMinutes() + FeedMinutes + DwellMinutes; }
};

// Walks the table from its first row.
TProgramSummary SummarizeTable(TLineTable& table);
// The summary of the engine's last run: its table, its lines and what it skipped.
TProgramSummary SummarizeRun(const TGCodeEngine& engine);
