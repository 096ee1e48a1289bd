#include "plot/PlotView.h"

#include "plot/MeasurePoint.h"
#include "plot/SegmentColouring.h"
#include "plot/SegmentPick.h"
#include "plot/ViewFit.h"
#include "plot/ViewProjection.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>
#include <utility>

namespace {

constexpr double kResetZoomFactor = 1.0;
constexpr int kWheelDeltaPerNotch = 120;
constexpr double kZoomStepPerNotch = 0.02;
constexpr int kZoomTextDigits = 15;   // significant digits of the zoom factor's text
constexpr float kAxisLength = 10.0f;  // gizmo half-axis, world units
constexpr int kAxisStippleFactor = 1;
constexpr std::uint16_t kAxisStipplePattern = 0x0101;  // one pixel on, seven off
constexpr float kDefaultLineWidthPx = 1.0f;            // OpenGL's own, which the plot is drawn with
constexpr float kDefaultPointSizePx = 1.0f;
constexpr float kHighlightWidthPx = 3.0f;
constexpr float kHighlightMarkerPx = 7.0f;
constexpr TColor kHighlightColour = 0x0000FFFF;  // yellow: reads on the black background

std::string GeneralNumber(double value, std::string_view decimalSeparator)
{
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, kZoomTextDigits);
    std::string text;
    for (const char* c = buffer.data(); c != result.ptr; ++c) {
        if (*c == '.')
            text += decimalSeparator;
        else
            text += *c;
    }
    return text;
}

}  // namespace

TPlotView::TPlotView(TGLCommands& gl, std::function<void()> paintNow)
    : FGL(gl), FPaintNow(std::move(paintNow))
{
    ResetView();
}

void TPlotView::AddSegment(const TPoint3f& from, const TPoint3f& to, TColor colour)
{
    FSegments.Add(from, to, colour);
    ++FPictureVersion;
}

void TPlotView::ClearSegments()
{
    // Releases the memory as well: a large plot replaced by a small one gives it back.
    FSegments.Clear();
    ++FPictureVersion;
    ResetView();
    PaintNow();
}

void TPlotView::ResetView()
{
    if (FHighlightCount != 0)
        ++FOverlayVersion;
    FHighlightCount = 0;
    FState.zoomFactor = kResetZoomFactor;
    FState.panX = 0;
    FState.panY = 0;
    FState.spanX = FState.extent;
    FState.spanY = FState.extent;
    FState.rotationX = 0.0;
    FState.rotationY = 0.0;
    FState.rotationZ = 0.0;
    FState.depthRange = 0.0;
    FFitted = false;
    ResizeStep();
}

void TPlotView::SetExtent(std::int32_t extent)
{
    FState.spanX = extent;
    FState.spanY = extent;
    FState.extent = extent;
    FState.depthRange = 0.0;
    FFitted = false;
    PaintNow();
}

void TPlotView::ZoomBy(double step)
{
    const double zoom = FState.zoomFactor - step;
    // Written so that a not-a-number result falls to the bound instead of sticking for good.
    FState.zoomFactor = zoom > kMinZoomFactor ? zoom : kMinZoomFactor;
    FFitted = false;
    StatusText("Zoom Factor: " + GeneralNumber(FState.zoomFactor, FDecimalSeparator));
    ResizeStep();
}

void TPlotView::FitToView()
{
    Fit();
    ResizeStep();
}

// The depth range too: a turned view of a path deeper than wide, or far from the origin, would
// clip it. The view stays fitted through resizes until the user moves it.
void TPlotView::Fit()
{
    if (const auto fit = FitZoomAndPan(FState, FWidth, FHeight, FSegments)) {
        FState.zoomFactor = fit->zoomFactor;
        FState.panX = fit->panX;
        FState.panY = fit->panY;
    }
    FState.depthRange = HoldingDepthRange(FState.extent, FSegments);
    FFitted = true;
}

void TPlotView::SetStandardView(TStandardView view)
{
    const TViewTurns turns = StandardViewTurns(view);
    FState.rotationX = turns.rotationX;
    FState.rotationY = turns.rotationY;
    FState.rotationZ = turns.rotationZ;
    FitToView();
}

void TPlotView::SetHighlight(std::size_t first, std::size_t count)
{
    if (first >= FSegments.size() || count == 0) {
        first = 0;
        count = 0;
    } else {
        count = std::min(count, FSegments.size() - first);
    }
    if (first == FHighlightFirst && count == FHighlightCount)
        return;
    FHighlightFirst = first;
    FHighlightCount = count;
    ++FOverlayVersion;
    OverlaysChanged();
}

void TPlotView::SetOverlay(std::vector<TSegment> segments)
{
    if (segments.empty() && FOverlay.empty())
        return;
    FOverlay = std::move(segments);
    ++FOverlayVersion;
    OverlaysChanged();
}

void TPlotView::SetOverlayLayer(int layer, std::vector<TOverlayShape> shapes)
{
    if (shapes.empty() && FLayers.erase(layer) == 0)
        return;
    if (!shapes.empty())
        FLayers[layer] = std::move(shapes);
    ++FOverlayVersion;
    OverlaysChanged();
}

void TPlotView::RecolourSegments(const std::vector<TColor>& colours)
{
    if (colours.size() != FSegments.size())
        return;
    for (std::size_t i = 0; i < colours.size(); ++i)
        FSegments.SetColour(i, colours[i]);
    ++FPictureVersion;
}

void TPlotView::SetProgress(std::size_t passed, const TPoint3f& at)
{
    passed = std::min(passed, FSegments.size());
    const bool wasOn = FProgress.has_value();
    if (wasOn && FProgress->passed == passed && FProgress->at.x == at.x &&
        FProgress->at.y == at.y && FProgress->at.z == at.z)
        return;
    FProgress = TProgress{passed, at};
    if (!wasOn) {
        ++FPictureVersion;
        PaintNow();
        return;
    }
    ++FOverlayVersion;
    OverlaysChanged();
}

void TPlotView::ClearProgress()
{
    if (!FProgress)
        return;
    FProgress.reset();
    ++FPictureVersion;
    PaintNow();
}

std::optional<std::size_t> TPlotView::SegmentAt(double x, double y, double maxDistance) const
{
    const TViewProjection projection(FState, ViewBounds(), FWidth, FHeight);
    return PickSegment(projection, FSegments, TPixelPoint{x, y}, maxDistance);
}

std::optional<TPoint3f> TPlotView::PointAt(double x, double y, const std::vector<TPoint3f>& centres,
                                           double maxDistance) const
{
    const TViewProjection projection(FState, ViewBounds(), FWidth, FHeight);
    return SnapPoint(projection, FSegments, centres, TPixelPoint{x, y}, maxDistance);
}

void TPlotView::Resize(int width, int height)
{
    FWidth = width;
    FHeight = height;
    if (FFitted) {
        SetAspectRatio();
        Fit();
    }
    ResizeStep();
}

void TPlotView::Press(TMouseButton button, std::int32_t x, std::int32_t y)
{
    FState.panFlag = FState.panFlag || button == TMouseButton::Left;
    FState.turnFlag = FState.turnFlag || button == TMouseButton::Middle;
    FState.lastPointerX = x;
    FState.lastPointerY = y;
}

void TPlotView::Release(TMouseButton button)
{
    if (button == TMouseButton::Left)
        FState.panFlag = false;
    else if (button == TMouseButton::Middle)
        FState.turnFlag = false;
}

void TPlotView::Move(std::int32_t x, std::int32_t y)
{
    if (FState.panFlag) {
        DragText(x, y);
        FState.panX += FState.lastPointerX - x;
        FState.panY += y - FState.lastPointerY;
    }
    if (FState.turnFlag) {
        DragText(x, y);
        FState.rotationY += x - FState.lastPointerX;
        FState.rotationX += y - FState.lastPointerY;
    }
    if (FState.panFlag || FState.turnFlag) {
        FFitted = false;
        FState.lastPointerX = x;
        FState.lastPointerY = y;
        ResizeStep();
    }
}

// Built from the last position before the move; the "to" part is the offset back to it.
void TPlotView::DragText(std::int32_t x, std::int32_t y) const
{
    StatusText("Moved mouse from " + std::to_string(FState.lastPointerX) + "," +
               std::to_string(FState.lastPointerY) + " to " +
               std::to_string(FState.lastPointerX - x) + "," +
               std::to_string(FState.lastPointerY - y));
}

void TPlotView::StatusText(const std::string& text) const
{
    if (OnStatusText)
        OnStatusText(text);
}

TViewBounds TPlotView::ViewBounds() const
{
    const bool landscape = FWidth > FHeight;
    const long double kx = landscape ? FState.aspectRatio * FState.zoomFactor : FState.zoomFactor;
    const long double ky = landscape ? FState.zoomFactor : FState.zoomFactor / FState.aspectRatio;
    const double panX = kPanWorldPerPixel * FState.panX;
    const double panY = kPanWorldPerPixel * FState.panY;
    return TViewBounds{
        static_cast<double>(panX * kx), static_cast<double>((panX + FState.spanX) * kx),
        static_cast<double>(panY * ky), static_cast<double>((panY + FState.spanY) * ky)};
}

double TPlotView::WheelZoomStep(int wheelDelta)
{
    return static_cast<double>(wheelDelta) / kWheelDeltaPerNotch * kZoomStepPerNotch;
}

void TPlotView::InitializeGL()
{
    if (!FGL.MakeCurrent())
        return;
    FGL.ClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    FGL.ShadeModel(TGLShadeModel::Flat);
    // Every line is drawn over what came before it, whatever its depth.
    FGL.Disable(TGLCapability::DepthTest);
}

void TPlotView::SetAspectRatio()
{
    FState.aspectRatio = static_cast<long double>(FWidth) / FHeight;
}

void TPlotView::ResizeStep()
{
    SetAspectRatio();
    if (FGL.MakeCurrent())
        FGL.Viewport(0, 0, FWidth, FHeight);
    PaintNow();
}

void TPlotView::PaintNow()
{
    if (FPaintNow)
        FPaintNow();
    else
        Paint();
}

void TPlotView::OverlaysChanged()
{
    if (OnOverlaysChanged)
        OnOverlaysChanged();
    else
        PaintNow();
}

void TPlotView::Paint(const std::function<void()>& pictureDrawn,
                      const std::function<void()>& progressDrawn)
{
    if (!FGL.MakeCurrent())
        return;
    FGL.ClearColorBuffer();

    // The turns and the gizmo go on the projection matrix; the modelview matrix stays the
    // identity, so axes and segments share one transformation.
    LoadTransformation();
    DrawAxes();

    FGL.MatrixMode(TGLMatrixMode::Modelview);
    FGL.LoadIdentity();
    DrawSegmentRange(0, FSegments.size(), FProgress.has_value());
    if (pictureDrawn)
        pictureDrawn();
    if (FProgress) {
        DrawSegmentRange(0, FProgress->passed, false);
        if (progressDrawn)
            progressDrawn();
    }
    DrawOverlays();
    FGL.Flush();
}

void TPlotView::PaintOverlays()
{
    if (!FGL.MakeCurrent())
        return;
    LoadTransformation();
    FGL.MatrixMode(TGLMatrixMode::Modelview);
    FGL.LoadIdentity();
    DrawOverlays();
    FGL.Flush();
}

void TPlotView::PaintSegments(std::size_t first, std::size_t last)
{
    LoadTransformation();
    FGL.MatrixMode(TGLMatrixMode::Modelview);
    FGL.LoadIdentity();
    DrawSegmentRange(first, last, false);
}

void TPlotView::LoadTransformation()
{
    FGL.MatrixMode(TGLMatrixMode::Projection);
    FGL.LoadIdentity();
    const TViewBounds bounds = ViewBounds();
    const double depth = DepthRange(FState);
    FGL.Ortho(bounds.left, bounds.right, bounds.bottom, bounds.top, depth, -depth);
    FGL.Rotatef(static_cast<float>(FState.rotationX), 1.0f, 0.0f, 0.0f);
    FGL.Rotatef(static_cast<float>(FState.rotationY), 0.0f, 1.0f, 0.0f);
    FGL.Rotatef(static_cast<float>(FState.rotationZ), 0.0f, 0.0f, 1.0f);
}

void TPlotView::DrawOverlays()
{
    DrawPassingSegment();
    DrawSegments(FOverlay);
    DrawHighlight();
    for (const auto& [layer, shapes] : FLayers)
        for (const TOverlayShape& shape : shapes)
            DrawShape(shape);
}

// Each shape at its own size, which goes back to OpenGL's default afterwards.
void TPlotView::DrawShape(const TOverlayShape& shape)
{
    FGL.Color3ub(ColorRed(shape.colour), ColorGreen(shape.colour), ColorBlue(shape.colour));
    const bool lines = shape.primitive == TGLPrimitive::Lines;
    if (lines)
        FGL.LineWidth(shape.sizePx);
    else
        FGL.PointSize(shape.sizePx);
    FGL.Begin(shape.primitive);
    for (const TPoint3f& vertex : shape.vertices)
        FGL.Vertex3f(vertex.x, vertex.y, vertex.z);
    FGL.End();
    if (lines)
        FGL.LineWidth(kDefaultLineWidthPx);
    else
        FGL.PointSize(kDefaultPointSizePx);
}

void TPlotView::DrawSegments(const std::vector<TSegment>& segments)
{
    for (const TSegment& segment : segments)
        DrawSegment(segment, segment.colour);
}

void TPlotView::DrawSegmentRange(std::size_t first, std::size_t last, bool dimmed)
{
    last = std::min(last, FSegments.size());
    for (std::size_t i = first; i < last; ++i) {
        const TSegment segment = FSegments[i];
        DrawSegment(segment, dimmed ? DimmedColour(segment.colour) : segment.colour);
    }
}

void TPlotView::DrawSegment(const TSegment& segment, TColor colour)
{
    FGL.Color3ub(ColorRed(colour), ColorGreen(colour), ColorBlue(colour));
    FGL.Begin(TGLPrimitive::Lines);
    FGL.Vertex3f(segment.from.x, segment.from.y, segment.from.z);
    FGL.Vertex3f(segment.to.x, segment.to.y, segment.to.z);
    FGL.End();
}

// The segment playback is on, in its colour as far as the marker.
void TPlotView::DrawPassingSegment()
{
    if (!FProgress || FProgress->passed >= FSegments.size())
        return;
    const TSegment segment = FSegments[FProgress->passed];
    DrawSegment(TSegment{segment.from, FProgress->at, segment.colour}, segment.colour);
}

// The highlighted move over everything else, then the line width back at OpenGL's default, which
// the rest of the plot is drawn with.
void TPlotView::DrawHighlight()
{
    if (FHighlightCount == 0)
        return;
    const TColor colour = kHighlightColour;
    FGL.Color3ub(ColorRed(colour), ColorGreen(colour), ColorBlue(colour));
    FGL.LineWidth(kHighlightWidthPx);
    FGL.Begin(TGLPrimitive::Lines);
    for (std::size_t i = FHighlightFirst; i < FHighlightFirst + FHighlightCount; ++i) {
        const TSegment segment = FSegments[i];
        FGL.Vertex3f(segment.from.x, segment.from.y, segment.from.z);
        FGL.Vertex3f(segment.to.x, segment.to.y, segment.to.z);
    }
    FGL.End();
    FGL.LineWidth(kDefaultLineWidthPx);
    const TPoint3f& end = FSegments.To(FHighlightFirst + FHighlightCount - 1);
    FGL.PointSize(kHighlightMarkerPx);
    FGL.Begin(TGLPrimitive::Points);
    FGL.Vertex3f(end.x, end.y, end.z);
    FGL.End();
    FGL.PointSize(kDefaultPointSizePx);
}

// X green, Y red, Z blue: solid towards positive, dotted towards negative.
void TPlotView::DrawAxes()
{
    FGL.Begin(TGLPrimitive::Lines);
    FGL.Color3f(0.0f, 1.0f, 0.0f);
    FGL.Vertex3f(0.0f, 0.0f, 0.0f);
    FGL.Vertex3f(kAxisLength, 0.0f, 0.0f);
    FGL.Color3f(1.0f, 0.0f, 0.0f);
    FGL.Vertex3f(0.0f, 0.0f, 0.0f);
    FGL.Vertex3f(0.0f, kAxisLength, 0.0f);
    FGL.Color3f(0.0f, 0.0f, 1.0f);
    FGL.Vertex3f(0.0f, 0.0f, 0.0f);
    FGL.Vertex3f(0.0f, 0.0f, kAxisLength);
    FGL.End();

    FGL.Enable(TGLCapability::LineStipple);
    FGL.LineStipple(kAxisStippleFactor, kAxisStipplePattern);
    FGL.Begin(TGLPrimitive::Lines);
    FGL.Color3f(0.0f, 1.0f, 0.0f);
    FGL.Vertex3f(-kAxisLength, 0.0f, 0.0f);
    FGL.Vertex3f(0.0f, 0.0f, 0.0f);
    FGL.Color3f(1.0f, 0.0f, 0.0f);
    FGL.Vertex3f(0.0f, 0.0f, 0.0f);
    FGL.Vertex3f(0.0f, -kAxisLength, 0.0f);
    FGL.Color3f(0.0f, 0.0f, 1.0f);
    FGL.Vertex3f(0.0f, 0.0f, 0.0f);
    FGL.Vertex3f(0.0f, 0.0f, -kAxisLength);
    FGL.End();
    FGL.Disable(TGLCapability::LineStipple);
}
