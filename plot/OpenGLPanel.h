#pragma once
// The plot panel: a focusable OpenGL widget that shows a TPlotView. The widget only hosts the
// context, routes paints, sizes and pointer events to the view, and keeps the focus rule.

#include "common/Color.h"
#include "common/Point.h"
#include "plot/OpenGLCommands.h"
#include "plot/PlotView.h"

#include <QOpenGLWidget>
#include <QPoint>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QOpenGLFramebufferObject;

class TOpenGLPanel : public QOpenGLWidget
{
    Q_OBJECT

public:
    explicit TOpenGLPanel(QWidget* parent);
    ~TOpenGLPanel() override;

    // Whether this machine gives the panel a usable OpenGL 1.1 context. A window that holds an
    // OpenGL widget cannot be shown without one, so the caller asks before placing the panel.
    static bool OpenGLAvailable();

    // Receives the status texts of drags and zoom steps, with the panel as sender.
    std::function<void(TOpenGLPanel&, const std::string&)> OnStatusText;
    // Called after each paint sequence that reached OpenGL, for those who count paints.
    std::function<void()> OnPainted;

    // Appends a segment; it shows at the next paint.
    void AddSegment(const TPoint3f& from, const TPoint3f& to, TColor colour);
    // Makes room for that many more segments, so a large plot is appended without regrowing.
    void ReserveSegments(std::size_t count) { FView.ReserveSegments(count); }
    // Empties the segment list and resets the view, painting twice.
    void ClearSegments();
    // Zoom 1, no pan, no turns, spans equal to the extent; paints.
    void ResetView();
    // Sets the plot size in world units (spans and depth range); paints.
    void SetExtent(std::int32_t extent);
    // Subtracts step from the zoom factor (never below 0.01); raises the zoom text; paints.
    void ZoomBy(double step);
    // Zoom and pan that show the whole plot, turned as it is; paints.
    void FitToView();
    // Turns the view to a standard orientation and fits; paints.
    void SetStandardView(TStandardView view);
    // Draws segments first .. first + count - 1 again on top, highlighted; count 0 removes it.
    void SetHighlight(std::size_t first, std::size_t count) { FView.SetHighlight(first, count); }
    bool HasHighlight() const { return FView.HasHighlight(); }

    // A left click that does not move the pointer, on a drawn segment: receives the index of
    // the segment nearest to the pointer. Clicks beside every segment report nothing.
    std::function<void(std::size_t segment)> OnSegmentClicked;
    // A left click with Shift held (a press and release that do not move the pointer): receives
    // the move end or centre (of MeasureCentres) nearest to the pointer, none when no point is
    // near, instead of picking a segment. A drag with Shift held pans as any left drag does.
    std::function<void(std::optional<TPoint3f> point)> OnMeasureClicked;
    std::vector<TPoint3f> MeasureCentres;
    // Called inside the catch block when an exception reaches one of the panel's Qt callbacks
    // (paints, input); without it the message goes to Qt's log.
    std::function<void()> OnException;

    // While held, paint events show the framebuffer's last picture: for work that changes the
    // segment list for seconds. The operations that paint still draw. Releasing repaints.
    void SetPaintsHeld(bool held);

    // True from the first pointer move over the panel until the pointer leaves it.
    bool PointerInside() const { return FPointerInside; }

    // The view it shows: its operations paint through the panel.
    TPlotView& View() { return FView; }
    const TViewState& ViewState() const { return FView.State(); }
    TViewBounds ViewBounds() const { return FView.ViewBounds(); }
    const TSegmentList& Segments() const { return FView.Segments(); }
    // Paint sequences that reached OpenGL, from paint events and from the operations that paint.
    // A paint event whose picture the framebuffer already holds shows that picture again and
    // runs no sequence.
    int PaintCount() const { return FPaintCount; }
    // Paints of the overlays alone over the kept picture of the segments: a change of the
    // overlays alone (the highlight, the overlay path and layers) puts back the picture the last
    // paint sequence drew under them and draws them again, without the segments.
    int OverlayPaintCount() const { return FOverlayPaintCount; }
    // Segments drawn in their colours over the dimmed picture of playback's progress by paints of
    // the overlays: the panel keeps the passed segments drawn, so a step on draws the segments
    // passed in it alone; a step back draws the passed ones again over the dimmed picture.
    std::size_t ProgressSegmentCount() const { return FProgressSegmentCount; }
    // Colours the segments anew (see TPlotView::RecolourSegments) and shows them at the next frame.
    void RecolourSegments(const std::vector<TColor>& colours);

protected:
    void initializeGL() override;
    void paintGL() override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    // Runs a step of a Qt callback; an exception goes to OnException.
    template <typename TStep>
    void RunGuarded(const TStep& step);
    // Everything a paint sequence's picture depends on, and the framebuffer it went to.
    struct TPicture
    {
        std::uint64_t pictureVersion;  // of the view: the segments
        std::uint64_t overlayVersion;  // of the view: what is drawn over them
        TViewState view;
        int viewWidth;
        int viewHeight;
        QSize framebufferSize;
        unsigned framebuffer;
        // The same picture under the overlays.
        bool SameUnderOverlays(const TPicture& other) const;
        bool operator==(const TPicture& other) const;
    };
    // What the next paint must do: show the last picture when it is still right, draw whatever
    // changed, or run the paint sequence.
    enum class TPaintDemand { ShowOrDraw, Draw, Sequence };

    TPicture CurrentPicture() const;
    void PaintNow(TPaintDemand demand);
    void RunDemandedPaint(TPaintDemand demand);
    void RunPaint();
    void KeepPicture();
    void CopyPicture(unsigned from, unsigned to, QSize size);
    bool CanRestorePicture() const;
    void RunOverlayPaint();
    void KeepProgress();
    // The handle of the progress framebuffer, made anew when it has another size.
    unsigned ProgressBuffer(QSize size);
    void RestoreProgress();
    void StatusText(const std::string& text);
    bool TakeFocus();
    void InitializeContext();
    void ResizeView();
    void ClickAt(QPoint position);
    void MeasureAt(QPoint position);

    TOpenGLCommands FGL;
    QMetaObject::Connection FContextGone;
    int FPaintCount = 0;
    int FOverlayPaintCount = 0;
    bool FPointerInside = false;
    // A left press stays a click while the pointer keeps close to where it went down.
    bool FClicking = false;
    QPoint FPressPosition;
    // What the framebuffer holds; none before the first paint in this framebuffer.
    std::optional<TPicture> FDrawn;
    // The picture under the overlays of the last paint sequence, and a copy of it.
    std::optional<TPicture> FKept;
    std::unique_ptr<QOpenGLFramebufferObject> FKeptBuffer;
    // The kept picture with the segments playback passed drawn over it, and how many those are.
    std::unique_ptr<QOpenGLFramebufferObject> FProgressBuffer;
    std::optional<std::size_t> FProgressKept;
    std::size_t FProgressSegmentCount = 0;
    TPaintDemand FDemand = TPaintDemand::ShowOrDraw;
    bool FPaintsHeld = false;
    bool FResizingBase = false;  // inside the base class's resize, which paints the old view
    TPlotView FView;  // after FGL and FPaintCount: its constructor already paints through them
};
