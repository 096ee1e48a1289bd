#include "edit/NumberStyle.h"

#include <algorithm>
#include <cstdio>

namespace {

std::string_view Unsigned(std::string_view number)
{
    if (!number.empty() && (number.front() == '+' || number.front() == '-'))
        number.remove_prefix(1);
    return number;
}

}  // namespace

void TConventionCounter::Add(std::string_view number)
{
    const TNumberStyle style = StyleOf(number);
    if (style.LeadingZero)
        ++(*style.LeadingZero ? FWithZero : FWithoutZero);
    if (style.Whole) {
        const TWholeStyle whole = style.Decimals > 0    ? TWholeStyle::Decimals
                                  : style.TrailingPoint ? TWholeStyle::TrailingPoint
                                                        : TWholeStyle::Bare;
        ++FWhole[static_cast<int>(whole)];
    }
}

TNumberConventions TConventionCounter::Result() const
{
    TNumberConventions conventions;
    conventions.LeadingZero = FWithZero >= FWithoutZero;
    conventions.Whole = static_cast<TWholeStyle>(
        std::max_element(std::begin(FWhole), std::end(FWhole)) - std::begin(FWhole));
    return conventions;
}

TNumberStyle StyleOf(std::string_view number)
{
    TNumberStyle style;
    style.Plus = !number.empty() && number.front() == '+';
    number = Unsigned(number);
    const std::size_t point = number.find('.');
    style.Whole = point == std::string_view::npos ||
                  number.find_first_not_of('0', point + 1) == std::string_view::npos;
    if (point == std::string_view::npos)
        return style;
    if (number.find_first_not_of('0') >= point)
        style.LeadingZero = point > 0;
    style.Decimals = static_cast<int>(number.size() - point - 1);
    style.TrailingPoint = style.Decimals == 0;
    return style;
}

std::string FormatNumber(double value, const TNumberStyle& style, int precision,
                         const TNumberConventions& conventions)
{
    constexpr int kMaxDecimals = 12;
    const int decimals = std::clamp(std::max(precision, style.Decimals), 0, kMaxDecimals);
    // A huge value has hundreds of digits before the point.
    std::string text(
        static_cast<std::size_t>(std::max(std::snprintf(nullptr, 0, "%.*f", decimals, value), 0)),
        '\0');
    std::snprintf(text.data(), text.size() + 1, "%.*f", decimals, value);
    const bool negative = text.front() == '-';
    if (negative)
        text.erase(0, 1);
    const std::size_t point = text.find('.');
    const bool whole =
        point == std::string::npos || text.find_first_not_of('0', point + 1) == std::string::npos;
    int keepDecimals = style.Decimals;
    bool trailingPoint = style.TrailingPoint;
    if (whole && !style.Whole) {
        keepDecimals = conventions.Whole == TWholeStyle::Decimals ? style.Decimals : 0;
        trailingPoint = conventions.Whole == TWholeStyle::TrailingPoint;
    }
    if (point != std::string::npos) {
        const std::size_t keep = point + 1 + static_cast<std::size_t>(keepDecimals);
        while (text.size() > keep && text.back() == '0')
            text.pop_back();
        if (text.back() == '.' && !trailingPoint)
            text.pop_back();
    } else if (trailingPoint) {
        text += '.';
    }
    const bool zero = text.find_first_not_of("0.") == std::string::npos;
    if (!zero && text.size() > 1 && text[0] == '0' && text[1] == '.' &&
        !style.LeadingZero.value_or(conventions.LeadingZero))
        text.erase(0, 1);
    if (zero)
        return text;
    if (negative)
        return "-" + text;
    return style.Plus ? "+" + text : text;
}
