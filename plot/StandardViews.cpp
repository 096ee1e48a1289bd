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
        return {0.0, 0.0};  // looking down -Z, X right and Y up: the reset view
    case TStandardView::Front:
        return {-kQuarterTurn, 0.0};  // looking along +Y, X right and Z up
    case TStandardView::Right:
        return {0.0, -kQuarterTurn};  // looking along -X, Y up and -Z to the right
    case TStandardView::Isometric:
        return {-kIsometricTilt, -kEighthTurn};  // looking along (-1, +1, -1)
    }
    return {0.0, 0.0};
}
