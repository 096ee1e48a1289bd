#include "plot/ViewProjection.h"

#include <cmath>
#include <numbers>

namespace {

using TMatrix = std::array<std::array<double, 3>, 3>;

// The matrix glRotatef builds for a turn about one coordinate axis; the angle goes through a
// 32-bit float as it does on its way to OpenGL.
TMatrix AxisTurn(double degrees, int axis)
{
    const double radians = static_cast<float>(degrees) * std::numbers::pi / 180.0;
    const double c = std::cos(radians), s = std::sin(radians);
    const int a = (axis + 1) % 3, b = (axis + 2) % 3;
    TMatrix turn{};
    turn[axis][axis] = 1.0;
    turn[a][a] = c;
    turn[a][b] = -s;
    turn[b][a] = s;
    turn[b][b] = c;
    return turn;
}

TMatrix Product(const TMatrix& left, const TMatrix& right)
{
    TMatrix product{};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            for (int k = 0; k < 3; ++k)
                product[row][column] += left[row][k] * right[k][column];
    return product;
}

}  // namespace

TViewTurn::TViewTurn(const TViewState& state)
    : FMatrix(Product(Product(AxisTurn(state.rotationX, 0), AxisTurn(state.rotationY, 1)),
                      AxisTurn(state.rotationZ, 2)))
{}

TViewProjection::TViewProjection(const TViewState& state, const TViewBounds& bounds, int width,
                                 int height)
    : FTurn(state), FLeft(bounds.left), FTop(bounds.top),
      FPixelsPerUnitX(width / (bounds.right - bounds.left)),
      FPixelsPerUnitY(height / (bounds.top - bounds.bottom)),
      FDepthLimit(std::abs(DepthRange(state)))
{
    FUsable = width > 0 && height > 0 && std::isfinite(FLeft) && std::isfinite(FTop) &&
              std::isfinite(FPixelsPerUnitX) && std::isfinite(FPixelsPerUnitY) &&
              FPixelsPerUnitX > 0 && FPixelsPerUnitY > 0;
}
