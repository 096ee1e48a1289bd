#include "gcode/SkipReport.h"

namespace {

constexpr unsigned char kLastBlank = 32;
constexpr std::string_view kShortened = "...";

bool IsBlank(char c)
{
    return static_cast<unsigned char>(c) <= kLastBlank;
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

}  // namespace

void TSkipReport::Clear()
{
    FWords = 0;
    FLines = 0;
    FPlaces.clear();
}

void TSkipReport::AddWord(std::int32_t line, std::string_view text)
{
    ++FWords;
    AddPlace(line, text);
}

void TSkipReport::AddLine(std::int32_t line, std::string_view text)
{
    ++FLines;
    AddPlace(line, text);
}

void TSkipReport::Append(const TSkipReport& later)
{
    FWords += later.FWords;
    FLines += later.FLines;
    for (const TSkippedPlace& place : later.FPlaces)
        if (FPlaces.size() < kPlaceCount)
            FPlaces.push_back(place);
}

void TSkipReport::AddPlace(std::int32_t line, std::string_view text)
{
    if (FPlaces.size() >= kPlaceCount)
        return;
    text = Trimmed(text);
    TSkippedPlace place{line, std::string(text.substr(0, kTextLimit))};
    if (text.size() > kTextLimit)
        place.Text += kShortened;
    FPlaces.push_back(std::move(place));
}
