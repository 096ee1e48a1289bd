#pragma once
// The plot's view logic without any window: the segment list, the view state, what each
// operation and pointer gesture does to them, the view window and the paint sequence. Drawing
// goes through a TGLCommands; the panel that shows the view supplies it and routes paints.

#include "common/Color.h"
#include "common/Point.h"
#include "plot/GLCommands.h"
#include "plot/OverlayShape.h"
#include "plot/Segment.h"
#include "plot/StandardViews.h"
#include "plot/ViewBounds.h"
#include "plot/ViewState.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

enum class TMouseButton { Left, Right, Middle };

class TPlotView
{
public:
    // paintNow paints before it returns; a panel routes it through its own paint event, which
    // calls Paint. Left empty, the view paints on gl directly.
    explicit TPlotView(TGLCommands& gl, std::function<void()> paintNow = {});
    TPlotView(const TPlotView&) = delete;
    TPlotView& operator=(const TPlotView&) = delete;

    // Receives the status texts of drags and zoom steps; unbound, they go nowhere.
    std::function<void(const std::string&)> OnStatusText;
    // The separator of the zoom factor's text, the user's decimal separator.
    void SetDecimalSeparator(std::string separator) { FDecimalSeparator = std::move(separator); }

    void AddSegment(const TPoint3f& from, const TPoint3f& to, TColor colour);
    // Makes room for that many more segments, so a large plot is appended without regrowing.
    void ReserveSegments(std::size_t count) { FSegments.Reserve(FSegments.size() + count); }
    // Empties the list and resets the view; paints twice, both times the axes alone.
    void ClearSegments();
    const TSegmentList& Segments() const { return FSegments; }
    // Changes with every change of the segment list, which with the view state makes the picture
    // under the overlays. A panel compares it to know whether a picture it kept is still right.
    std::uint64_t PictureVersion() const { return FPictureVersion; }
    // Changes with every change of what is drawn over that picture: the overlay path, the
    // highlight and the overlay layers.
    std::uint64_t OverlayVersion() const { return FOverlayVersion; }
    // Called instead of a paint when only the overlays changed: a host that kept the picture under
    // them puts it back and calls PaintOverlays, any other runs the paint sequence. Left empty,
    // the view paints as for any other change.
    std::function<void()> OnOverlaysChanged;

    void ResetView();
    void SetExtent(std::int32_t extent);
    void ZoomBy(double step);
    // Zoom and pan so that every segment (the axes gizmo when there is none), turned as now,
    // fits with a margin, and a depth range that holds them at any turn; the turns stay. The
    // view fits again at each resize until a zoom, pan, turn, reset or new extent. Paints.
    void FitToView();
    // The view's turns for a standard orientation, then FitToView.
    void SetStandardView(TStandardView view);
    // The panel's size changed (in pixels): runs the resize step.
    void Resize(int width, int height);

    void Press(TMouseButton button, std::int32_t x, std::int32_t y);
    void Release(TMouseButton button);
    void Move(std::int32_t x, std::int32_t y);

    // Draws these segments once more over all the others, wide and in the highlight colour,
    // with a marker at the last one's end; count 0 removes it. Reset and clear remove it too.
    // Paints when it changes.
    void SetHighlight(std::size_t first, std::size_t count);
    // Another path drawn over the plot in the segments' own colours (a preview of a change, a
    // program compared with this one); empty removes it. Clear keeps it. Paints.
    void SetOverlay(std::vector<TSegment> segments);
    const std::vector<TSegment>& Overlay() const { return FOverlay; }
    // Shapes drawn over everything else, the lower layers first; empty shapes remove the layer.
    // Reset and clear keep them. Paints the overlays when they change.
    void SetOverlayLayer(int layer, std::vector<TOverlayShape> shapes);
    // Gives the segments these colours, one per segment in list order (colouring them by other
    // than their motion mode); a list of another length changes nothing. Paints nothing: the host
    // repaints.
    void RecolourSegments(const std::vector<TColor>& colours);
    // Playback's progress: the first passed segments in their colours, the next one from its
    // start to at, and the rest dimmed. Turning it on or off changes the picture and paints; a
    // new position changes what is drawn over the dimmed picture. Reset and clear keep it.
    void SetProgress(std::size_t passed, const TPoint3f& at);
    void ClearProgress();
    bool HasProgress() const { return FProgress.has_value(); }
    std::size_t ProgressPassed() const { return FProgress ? FProgress->passed : 0; }
    // The segment drawn nearest to the pixel (x, y), within maxDistance pixels.
    std::optional<std::size_t> SegmentAt(double x, double y, double maxDistance) const;
    // The move end or one of the centres drawn nearest to the pixel (x, y), within maxDistance.
    std::optional<TPoint3f> PointAt(double x, double y, const std::vector<TPoint3f>& centres,
                                    double maxDistance) const;
    bool HasHighlight() const { return FHighlightCount != 0; }

    const TViewState& State() const { return FState; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    TViewBounds ViewBounds() const;

    // The initial GL state, once the context exists.
    void InitializeGL();
    // The paint sequence: axes gizmo, then every segment in list order, then the overlays.
    // pictureDrawn is called once the segments are drawn and before the overlays, for a host
    // that keeps that picture. With progress the segments are drawn dimmed, then the passed ones
    // again in their colours, after which progressDrawn is called.
    void Paint(const std::function<void()>& pictureDrawn = {},
               const std::function<void()>& progressDrawn = {});
    // Segments first to last - 1 in their colours over what the framebuffer holds: the ones
    // playback passed since a host last drew its progress. The host has made the context current
    // and bound the framebuffer to draw in, which may be one of its own.
    void PaintSegments(std::size_t first, std::size_t last);
    // The overlays alone, over a picture the host put back: the transformation, the overlay path,
    // the highlight and the layers.
    void PaintOverlays();

    // The zoom step of a wheel turn: 0.02 per notch of 120, negative towards the user.
    static double WheelZoomStep(int wheelDelta);

private:
    void ResizeStep();
    void SetAspectRatio();
    void Fit();
    void PaintNow();
    void OverlaysChanged();
    void LoadTransformation();
    void DrawOverlays();
    void DrawAxes();
    void DrawHighlight();
    void DrawShape(const TOverlayShape& shape);
    void DrawSegments(const std::vector<TSegment>& segments);
    void DrawSegmentRange(std::size_t first, std::size_t last, bool dimmed);
    void DrawSegment(const TSegment& segment, TColor colour);
    void DrawPassingSegment();
    void StatusText(const std::string& text) const;
    void DragText(std::int32_t x, std::int32_t y) const;

    TGLCommands& FGL;
    std::function<void()> FPaintNow;
    std::string FDecimalSeparator = ".";
    TViewState FState;
    TSegmentList FSegments;
    std::vector<TSegment> FOverlay;
    std::size_t FHighlightFirst = 0;
    std::size_t FHighlightCount = 0;
    std::map<int, std::vector<TOverlayShape>> FLayers;
    struct TProgress
    {
        std::size_t passed;
        TPoint3f at;
    };
    std::optional<TProgress> FProgress;
    std::uint64_t FPictureVersion = 0;
    std::uint64_t FOverlayVersion = 0;
    bool FFitted = false;  // by Fit to View or a standard view, until the user moves the view
    int FWidth = 0;
    int FHeight = 0;
};
