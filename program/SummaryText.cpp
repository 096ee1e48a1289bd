#include "program/SummaryText.h"

#include <charconv>
#include <iterator>
#include <string_view>
#include <type_traits>
#include <vector>

#include "program/ProgramSummary.h"

namespace {

constexpr int kDecimals = 4;  // lengths and times
constexpr std::string_view kNone = "none";

class TSummaryWriter
{
public:
    void Key(std::string_view key)
    {
        FText.append(key);
        FText.append(": ");
    }
    void Line(std::string_view key, std::string_view value)
    {
        Key(key);
        FText.append(value);
        FText += '\n';
    }
    template <class TNumber>
    requires std::is_arithmetic_v<TNumber>
    void Line(std::string_view key, TNumber value)
    {
        Key(key);
        Append(value);
        FText += '\n';
    }
    // Reals with a fixed number of decimals, so the text stays stable.
    void Fixed(std::string_view key, double value) { Line(key, FixedDecimals(value)); }
    // Values with a prefix such as "G", separated by blanks; "none" for no value.
    void List(std::string_view key, std::string_view prefix,
              const std::vector<std::int32_t>& values)
    {
        Key(key);
        if (values.empty())
            FText.append(kNone);
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (i > 0)
                FText += ' ';
            FText.append(prefix);
            Append(values[i]);
        }
        FText += '\n';
    }
    std::string Take() { return std::move(FText); }

private:
    // Integers, and floats in the shortest form that reads back as the same float.
    template <class TNumber>
    void Append(TNumber value)
    {
        char text[64];
        const auto result = std::to_chars(std::begin(text), std::end(text), value);
        FText.append(text, result.ptr);
    }

    std::string FText;
};

void WriteExtent(TSummaryWriter& out, const TProgramSummary& summary)
{
    const float TPoint3f::*const axes[] = {&TPoint3f::x, &TPoint3f::y, &TPoint3f::z};
    const std::string_view names[] = {"X", "Y", "Z"};
    for (std::size_t i = 0; i < std::size(axes); ++i) {
        const std::string minimum = "min " + std::string(names[i]);
        const std::string maximum = "max " + std::string(names[i]);
        if (!summary.HasExtent) {
            out.Line(minimum, kNone);
            out.Line(maximum, kNone);
            continue;
        }
        out.Line(minimum, summary.Minimum.*axes[i]);
        out.Line(maximum, summary.Maximum.*axes[i]);
    }
}

void WriteSkipped(TSummaryWriter& out, const TSkipReport& skipped)
{
    out.Line("skipped words", skipped.Words());
    out.Line("skipped lines", skipped.Lines());
    const std::vector<TSkippedPlace>& places = skipped.Places();
    for (std::size_t i = 0; i < places.size(); ++i)
        out.Line("skipped " + std::to_string(i + 1),
                 "line " + std::to_string(places[i].Line) + ": " + places[i].Text);
}

}  // namespace

std::string FixedDecimals(double value)
{
    char text[64];
    const auto result =
        std::to_chars(std::begin(text), std::end(text), value, std::chars_format::fixed, kDecimals);
    return std::string(text, result.ptr);
}

std::string FormatSummary(const TProgramSummary& summary)
{
    TSummaryWriter out;
    out.Line("reading", summary.Machine ? "machine" : summary.Lenient ? "lenient" : "strict");
    out.Line("source lines", summary.SourceLines);
    out.Line("rows", summary.Rows);
    for (std::size_t i = 0; i < TProgramSummary::kMotionKinds; ++i)
        out.Line("segments " + std::string(TProgramSummary::kMotionNames[i]),
                 summary.Motion[i].Segments);
    for (std::size_t i = 0; i < TProgramSummary::kMotionKinds; ++i)
        out.Fixed("length " + std::string(TProgramSummary::kMotionNames[i]),
                  summary.Motion[i].Length);
    WriteExtent(out, summary);
    out.List("units", "G", summary.Units);
    out.List("distance modes", "G", summary.DistanceModes);
    out.List("tools", "T", summary.Tools);
    if (summary.HasFeed) {
        out.Line("feed min", summary.FeedMinimum);
        out.Line("feed max", summary.FeedMaximum);
    } else {
        out.Line("feed min", kNone);
        out.Line("feed max", kNone);
    }
    out.Fixed("rapid rate", summary.RapidRate);
    out.Fixed("estimated minutes", summary.EstimatedMinutes());
    out.Fixed("untimed length", summary.UntimedLength);
    if (summary.Lenient)
        WriteSkipped(out, summary.Skipped);
    for (std::size_t i = 0; i < summary.NotShown.size(); ++i)
        out.Line("not shown " + std::to_string(i + 1), summary.NotShown[i]);
    for (std::size_t i = 0; i < summary.Messages.size(); ++i)
        out.Line("message " + std::to_string(i + 1), summary.Messages[i]);
    if (summary.MessagesNotListed > 0)
        out.Line("messages not listed", std::to_string(summary.MessagesNotListed));
    return out.Take();
}
