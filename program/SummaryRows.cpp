#include "program/SummaryRows.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "program/ProgramSummary.h"
#include "program/SummaryText.h"

namespace {

constexpr long long kSecondsPerMinute = 60;
constexpr long long kSecondsPerHour = 3600;
constexpr const char* kNone = "none";
constexpr const char* kTimeUnit = "h:mm:ss";

std::string Codes(const char* prefix, const std::vector<std::int32_t>& values)
{
    std::string text;
    for (const std::int32_t value : values)
        text += (text.empty() ? "" : " ") + std::string(prefix) + std::to_string(value);
    return text.empty() ? kNone : text;
}

}  // namespace

std::string HoursMinutesSeconds(double seconds)
{
    const long long whole = std::llround(std::max(seconds, 0.0));
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / kSecondsPerHour,
                  whole / kSecondsPerMinute % kSecondsPerMinute, whole % kSecondsPerMinute);
    return text;
}

std::string RateUnit(const TProgramSummary& summary)
{
    return !summary.Machine ? "per min" : summary.Inches ? "in/min" : "mm/min";
}

std::vector<TSummaryRow> SummaryRows(const TProgramSummary& summary)
{
    const std::string length = !summary.Machine ? "" : summary.Inches ? "in" : "mm";
    const auto time = [](double minutes) {
        return HoursMinutesSeconds(minutes * static_cast<double>(kSecondsPerMinute));
    };
    std::vector<TSummaryRow> rows;
    rows.push_back({"reading",
                    summary.Machine   ? "machine path"
                    : summary.Lenient ? "transcription, lenient"
                                      : "transcription",
                    ""});
    rows.push_back({"source lines", std::to_string(summary.SourceLines), ""});
    rows.push_back({summary.Machine ? "motions" : "rows", std::to_string(summary.Rows), ""});
    for (std::size_t i = 0; i < TProgramSummary::kMotionKinds; ++i) {
        const TMotionFigures& figures = summary.Motion[i];
        // Only the transcription has other motion modes.
        if (i == TProgramSummary::kOtherMotion && figures.Segments == 0)
            continue;
        const std::string name(TProgramSummary::kMotionNames[i]);
        rows.push_back({"segments " + name, std::to_string(figures.Segments), ""});
        rows.push_back({"length " + name, FixedDecimals(figures.Length), length});
    }
    const float TPoint3f::*const axes[] = {&TPoint3f::x, &TPoint3f::y, &TPoint3f::z};
    const char* const names[] = {"X", "Y", "Z"};
    for (std::size_t i = 0; i < std::size(axes); ++i) {
        const auto extent = [&](const char* end, const TPoint3f& point) {
            rows.push_back({std::string(end) + " " + names[i],
                            summary.HasExtent ? FixedDecimals(point.*axes[i]) : kNone,
                            summary.HasExtent ? length : ""});
        };
        extent("min", summary.Minimum);
        extent("max", summary.Maximum);
    }
    rows.push_back({"units", Codes("G", summary.Units), ""});
    rows.push_back({"distance modes", Codes("G", summary.DistanceModes), ""});
    rows.push_back({"tools", Codes("T", summary.Tools), ""});
    // F words as the program writes them: per minute, per revolution or inverse time.
    rows.push_back({"feed min", summary.HasFeed ? std::to_string(summary.FeedMinimum) : kNone, ""});
    rows.push_back({"feed max", summary.HasFeed ? std::to_string(summary.FeedMaximum) : kNone, ""});
    rows.push_back({"rapid rate", FixedDecimals(summary.RapidRate), RateUnit(summary)});
    rows.push_back({"rapid time", time(summary.RapidMinutes()), kTimeUnit});
    rows.push_back({"feed time", time(summary.FeedMinutes), kTimeUnit});
    if (summary.Machine)
        rows.push_back({"dwell time", time(summary.DwellMinutes), kTimeUnit});
    rows.push_back({"estimated time", time(summary.EstimatedMinutes()), kTimeUnit});
    rows.push_back({"untimed length", FixedDecimals(summary.UntimedLength), length});
    if (summary.Lenient) {
        rows.push_back({"skipped words", std::to_string(summary.Skipped.Words()), ""});
        rows.push_back({"skipped lines", std::to_string(summary.Skipped.Lines()), ""});
        const std::vector<TSkippedPlace>& places = summary.Skipped.Places();
        for (std::size_t i = 0; i < places.size(); ++i)
            rows.push_back({"skipped " + std::to_string(i + 1),
                            "line " + std::to_string(places[i].Line) + ": " + places[i].Text, ""});
    }
    for (std::size_t i = 0; i < summary.NotShown.size(); ++i)
        rows.push_back({"not shown " + std::to_string(i + 1), summary.NotShown[i], ""});
    for (std::size_t i = 0; i < summary.Messages.size(); ++i)
        rows.push_back({"message " + std::to_string(i + 1), summary.Messages[i], ""});
    if (summary.MessagesNotListed > 0)
        rows.push_back({"messages not listed", std::to_string(summary.MessagesNotListed), ""});
    return rows;
}

std::string SummaryRowsText(const std::vector<TSummaryRow>& rows)
{
    std::string text;
    for (const TSummaryRow& row : rows) {
        text += row.Figure + ": " + row.Value;
        if (!row.Unit.empty())
            text += " " + row.Unit;
        text += '\n';
    }
    return text;
}
