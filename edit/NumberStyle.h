#pragma once
// How a program writes its numbers ("X-.5", "F100.", "Y+2.0000"), so that a changed value is
// written the way the file writes its numbers.

#include <optional>
#include <string>
#include <string_view>

// How a whole number is written: "53", "53." or "53.000".
enum class TWholeStyle { Bare, TrailingPoint, Decimals };

// The file's habits, for what one number's own text cannot tell: whether "0.5" has its zero
// (a "12.5" does not say), and how a result that came out whole is written.
struct TNumberConventions
{
    bool LeadingZero = true;
    TWholeStyle Whole = TWholeStyle::Bare;
};

// Counts the habits over the numbers of a file; the more frequent way wins.
class TConventionCounter
{
public:
    void Add(std::string_view number);
    TNumberConventions Result() const;

private:
    int FWithZero = 0;
    int FWithoutZero = 0;
    int FWhole[3] = {0, 0, 0};
};

struct TNumberStyle
{
    bool Plus = false;                // "+2"
    std::optional<bool> LeadingZero;  // known only from a number below 1: "0.5" or ".5"
    bool TrailingPoint = false;       // "100."
    bool Whole = false;               // no digit after the point but zeros
    int Decimals = 0;                 // digits after the point
};

TNumberStyle StyleOf(std::string_view number);

// The value in the style, rounded to precision decimals (at least the style's own) with the
// trailing zeros beyond the style's decimals dropped, so a value that needs no more digits than
// the original is written with exactly as many. A result that came out whole from a number that
// was not is written as the file writes whole numbers. Zero is never written with a minus.
std::string FormatNumber(double value, const TNumberStyle& style, int precision,
                         const TNumberConventions& conventions);
