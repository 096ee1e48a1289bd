#include "plot/StandardViews.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double kQuarterTurn = 90.0;
constexpr double kEighthTurn = 45.0;
// The tilt that, after an eighth turn, makes the three axes equally foreshortened:
// atan(1 / sqrt 2), about 35.26 degrees.
const double kIsometricTilt = std::atan(1.0 / std::numbers::sqrt2) * 180.0 / std::numbers::pi;

}  // namespace

TViewTurns StandardViewTurns(TStandardView view)
{
    switch (view) {
    case TStandardView::Top:
        return {0.0, 0.0, 0.0};  // looking down -Z, X right and Y up: the reset view
    case TStandardView::Front:
        return {-kQuarterTurn, 0.0, 0.0};  // looking along +Y, X right and Z up
    case TStandardView::Right:
        return {-kQuarterTurn, 0.0, -kQuarterTurn};  // looking along -X, Y right and Z up
    case TStandardView::Isometric:
        // Looking along (-1, +1, -1), Z up: X runs down to the right and Y up to the right.
        return {kIsometricTilt - kQuarterTurn, 0.0, -kEighthTurn};
    }
    return {0.0, 0.0, 0.0};
}
