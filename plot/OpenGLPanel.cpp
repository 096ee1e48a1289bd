#include "plot/OpenGLPanel.h"

#include "common/Guard.h"

#include <QLocale>
#include <QMouseEvent>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions_1_1>
#include <QOpenGLVersionFunctionsFactory>
#include <QSurfaceFormat>
#include <QtDebug>

#include <exception>
#include <optional>

namespace {

constexpr int kColourBits = 8;  // per channel: 24-bit RGB
constexpr int kDepthBits = 16;
constexpr int kClickSlopPx = 3;      // a press and release this close are a click, not a drag
constexpr double kPickRadiusPx = 6;  // how far from a segment a click still picks it

QSurfaceFormat PanelFormat()
{
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setRedBufferSize(kColourBits);
    format.setGreenBufferSize(kColourBits);
    format.setBlueBufferSize(kColourBits);
    format.setDepthBufferSize(kDepthBits);
    return format;
}

bool WithinClickSlop(QPoint from, QPoint to)
{
    const QPoint offset = to - from;
    return QPoint::dotProduct(offset, offset) <= kClickSlopPx * kClickSlopPx;
}

std::optional<TMouseButton> ViewButton(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return TMouseButton::Left;
    case Qt::RightButton:
        return TMouseButton::Right;
    case Qt::MiddleButton:
        return TMouseButton::Middle;
    default:
        return std::nullopt;
    }
}

}  // namespace

template <typename TStep>
void TOpenGLPanel::RunGuarded(const TStep& step)
{
    Guarded(step, [this] {
        if (OnException)
            OnException();
        else
            qCritical("TOpenGLPanel: %s", CurrentExceptionMessage().c_str());
    });
}

TOpenGLPanel::TOpenGLPanel(QWidget* parent)
    : QOpenGLWidget(parent), FGL([this] { makeCurrent(); }),
      FView(FGL, [this] { PaintNow(TPaintDemand::Sequence); })
{
    // What is drawn over the kept picture waits for the next frame: a marker or a highlight
    // that changes many times before it shows is drawn once, and never from inside another
    // widget's event (a repaint there makes Qt paint the editor at that moment too).
    FView.OnOverlaysChanged = [this] { update(); };
    setFormat(PanelFormat());
    // The framebuffer keeps its picture between paints, so a paint event that would draw the
    // same picture again can leave it as it is: one paint of ten million segments takes seconds.
    setUpdateBehavior(QOpenGLWidget::PartialUpdate);
    setMouseTracking(true);  // moves without a button tell when the pointer is inside
    FView.SetDecimalSeparator(QLocale().decimalPoint().toStdString());
    FView.OnStatusText = [this](const std::string& text) { StatusText(text); };
}

bool TOpenGLPanel::OpenGLAvailable()
{
    QOpenGLContext context;
    context.setFormat(PanelFormat());
    if (!context.create())
        return false;
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!surface.isValid() || !context.makeCurrent(&surface))
        return false;
    const bool usable =
        QOpenGLVersionFunctionsFactory::get<QOpenGLFunctions_1_1>(&context) != nullptr;
    context.doneCurrent();
    return usable;
}

// The base class destroys the context after this part of the panel is gone.
TOpenGLPanel::~TOpenGLPanel()
{
    disconnect(FContextGone);
    if (FKeptBuffer || FProgressBuffer) {
        makeCurrent();
        FKeptBuffer.reset();
        FProgressBuffer.reset();
        doneCurrent();
    }
}

void TOpenGLPanel::AddSegment(const TPoint3f& from, const TPoint3f& to, TColor colour)
{
    FView.AddSegment(from, to, colour);
}

void TOpenGLPanel::RecolourSegments(const std::vector<TColor>& colours)
{
    FView.RecolourSegments(colours);
    update();
}

void TOpenGLPanel::ClearSegments()
{
    FView.ClearSegments();
}
void TOpenGLPanel::ResetView()
{
    FView.ResetView();
}
void TOpenGLPanel::SetExtent(std::int32_t extent)
{
    FView.SetExtent(extent);
}
void TOpenGLPanel::ZoomBy(double step)
{
    FView.ZoomBy(step);
}
void TOpenGLPanel::FitToView()
{
    FView.FitToView();
}
void TOpenGLPanel::SetStandardView(TStandardView view)
{
    FView.SetStandardView(view);
}

void TOpenGLPanel::StatusText(const std::string& text)
{
    if (OnStatusText)
        OnStatusText(*this, text);
}

void TOpenGLPanel::initializeGL()
{
    RunGuarded([this] { InitializeContext(); });
}

void TOpenGLPanel::InitializeContext()
{
    QOpenGLContext* glContext = context();
    QOpenGLFunctions_1_1* functions = nullptr;
    if (glContext && glContext->isValid()) {
        functions = QOpenGLVersionFunctionsFactory::get<QOpenGLFunctions_1_1>(glContext);
        if (functions && !functions->initializeOpenGLFunctions())
            functions = nullptr;
        // A new top-level parent gives the widget a new context; the old functions die with
        // the old one.
        disconnect(FContextGone);
        FContextGone = connect(glContext, &QOpenGLContext::aboutToBeDestroyed, this, [this] {
            FGL.SetFunctions(nullptr);
            FKeptBuffer.reset();
            FProgressBuffer.reset();
        });
    }
    FGL.SetFunctions(functions);
    FDrawn.reset();
    FKept.reset();
    FProgressKept.reset();
    FView.InitializeGL();
}

bool TOpenGLPanel::TPicture::operator==(const TPicture& other) const
{
    return overlayVersion == other.overlayVersion && SameUnderOverlays(other);
}

bool TOpenGLPanel::TPicture::SameUnderOverlays(const TPicture& other) const
{
    const TViewState& a = view;
    const TViewState& b = other.view;
    // The flags and the last pointer position draw nothing. A NaN aspect ratio never matches.
    return pictureVersion == other.pictureVersion && a.zoomFactor == b.zoomFactor &&
           a.spanX == b.spanX && a.spanY == b.spanY && a.aspectRatio == b.aspectRatio &&
           a.panX == b.panX && a.panY == b.panY && a.extent == b.extent &&
           a.rotationX == b.rotationX && a.rotationY == b.rotationY && a.rotationZ == b.rotationZ &&
           a.depthRange == b.depthRange && viewWidth == other.viewWidth &&
           viewHeight == other.viewHeight && framebufferSize == other.framebufferSize &&
           framebuffer == other.framebuffer;
}

TOpenGLPanel::TPicture TOpenGLPanel::CurrentPicture() const
{
    const qreal ratio = devicePixelRatio();
    return {FView.PictureVersion(),
            FView.OverlayVersion(),
            FView.State(),
            FView.Width(),
            FView.Height(),
            QSize(qRound(width() * ratio), qRound(height() * ratio)),
            defaultFramebufferObject()};
}

void TOpenGLPanel::paintGL()
{
    if (FResizingBase)
        return;
    if (FDemand == TPaintDemand::ShowOrDraw && FDrawn &&
        (FPaintsHeld || *FDrawn == CurrentPicture()))
        return;
    RunGuarded([this] { RunDemandedPaint(FDemand); });
}

void TOpenGLPanel::RunDemandedPaint(TPaintDemand demand)
{
    if (demand != TPaintDemand::Sequence && CanRestorePicture())
        RunOverlayPaint();
    else
        RunPaint();
}

void TOpenGLPanel::SetPaintsHeld(bool held)
{
    if (held == FPaintsHeld)
        return;
    FPaintsHeld = held;
    if (!held)
        update();
}

void TOpenGLPanel::RunPaint()
{
    if (!FGL.Usable())
        return;
    FView.Paint([this] { KeepPicture(); }, [this] { KeepProgress(); });
    ++FPaintCount;
    FDrawn = CurrentPicture();
    if (OnPainted)
        OnPainted();
}

// Copies the framebuffer once the segments are drawn. Without framebuffer blits (before OpenGL
// 3.0 and without the extension) nothing is kept and every change runs the paint sequence.
void TOpenGLPanel::KeepPicture()
{
    FKept.reset();
    FProgressKept.reset();
    if (!FView.HasProgress())
        FProgressBuffer.reset();  // its memory goes with the playback bar
    if (!QOpenGLFramebufferObject::hasOpenGLFramebufferBlit())
        return;
    const TPicture picture = CurrentPicture();
    if (!FKeptBuffer || FKeptBuffer->size() != picture.framebufferSize)
        FKeptBuffer = std::make_unique<QOpenGLFramebufferObject>(picture.framebufferSize);
    CopyPicture(defaultFramebufferObject(), FKeptBuffer->handle(), picture.framebufferSize);
    FKept = picture;
}

// Leaves the panel's own framebuffer bound, as the paint sequence and Qt expect.
void TOpenGLPanel::CopyPicture(unsigned from, unsigned to, QSize size)
{
    QOpenGLExtraFunctions* functions = context()->extraFunctions();
    functions->glBindFramebuffer(GL_READ_FRAMEBUFFER, from);
    functions->glBindFramebuffer(GL_DRAW_FRAMEBUFFER, to);
    functions->glBlitFramebuffer(0, 0, size.width(), size.height(), 0, 0, size.width(),
                                 size.height(), GL_COLOR_BUFFER_BIT, GL_NEAREST);
    functions->glBindFramebuffer(GL_FRAMEBUFFER, defaultFramebufferObject());
}

bool TOpenGLPanel::CanRestorePicture() const
{
    return FKept && FKeptBuffer && FKept->SameUnderOverlays(CurrentPicture());
}

// After the passed segments of a paint sequence, beside the picture kept under them.
void TOpenGLPanel::KeepProgress()
{
    if (!FKept)
        return;
    CopyPicture(defaultFramebufferObject(), ProgressBuffer(FKept->framebufferSize),
                FKept->framebufferSize);
    FProgressKept = FView.ProgressPassed();
}

unsigned TOpenGLPanel::ProgressBuffer(QSize size)
{
    if (!FProgressBuffer || FProgressBuffer->size() != size)
        FProgressBuffer = std::make_unique<QOpenGLFramebufferObject>(size);
    return FProgressBuffer->handle();
}

// Draws the segments passed since the kept progress into it, or after a step back the passed
// ones into a copy of the dimmed picture, and puts it back: one copy of the picture a frame, as
// without progress.
void TOpenGLPanel::RestoreProgress()
{
    const std::size_t passed = FView.ProgressPassed();
    const bool onwards = FProgressKept && FProgressBuffer && *FProgressKept <= passed;
    const std::size_t from = onwards ? *FProgressKept : 0;
    const QSize size = FKept->framebufferSize;
    if (!onwards)
        CopyPicture(FKeptBuffer->handle(), ProgressBuffer(size), size);
    if (from != passed) {
        context()->extraFunctions()->glBindFramebuffer(GL_FRAMEBUFFER, FProgressBuffer->handle());
        FView.PaintSegments(from, passed);
        FProgressSegmentCount += passed - from;
    }
    FProgressKept = passed;
    CopyPicture(FProgressBuffer->handle(), defaultFramebufferObject(), size);
}

void TOpenGLPanel::RunOverlayPaint()
{
    if (!FGL.MakeCurrent())
        return;
    if (FView.HasProgress())
        RestoreProgress();
    else
        CopyPicture(FKeptBuffer->handle(), defaultFramebufferObject(), FKept->framebufferSize);
    FView.PaintOverlays();
    ++FOverlayPaintCount;
    FDrawn = CurrentPicture();
}

// The operations that paint draw before they return. repaint() does that when Qt lets it, but
// Qt turns it into a deferred update() when the window was composed less than a frame ago. The
// paint then goes straight into the widget's framebuffer object, and the pending update shows it.
void TOpenGLPanel::PaintNow(TPaintDemand demand)
{
    if (!FGL.Usable())
        return;
    const int painted = FPaintCount + FOverlayPaintCount;
    FDemand = demand;
    repaint();
    FDemand = TPaintDemand::ShowOrDraw;
    if (FPaintCount + FOverlayPaintCount == painted) {
        RunDemandedPaint(demand);
        update();
    }
}

void TOpenGLPanel::resizeEvent(QResizeEvent* event)
{
    // The base class makes a framebuffer of the new size and paints it at once, with the view
    // still at the old size; the resize step that follows paints it again, so only that one runs.
    FDrawn.reset();
    FResizingBase = true;
    QOpenGLWidget::resizeEvent(event);
    FResizingBase = false;
    RunGuarded([this] { ResizeView(); });
}

// The view works in framebuffer pixels so that its viewport covers the widget on any screen.
void TOpenGLPanel::ResizeView()
{
    const qreal ratio = devicePixelRatio();
    FView.Resize(qRound(width() * ratio), qRound(height() * ratio));
}

bool TOpenGLPanel::TakeFocus()
{
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    return hasFocus();
}

void TOpenGLPanel::mousePressEvent(QMouseEvent* event)
{
    const std::optional<TMouseButton> button = ViewButton(event->button());
    if (!button)
        return QOpenGLWidget::mousePressEvent(event);
    // A left press that cannot take the focus is dropped.
    if (*button == TMouseButton::Left && !TakeFocus())
        return;
    const QPoint position = event->position().toPoint();
    if (*button == TMouseButton::Left) {
        FClicking = true;
        FPressPosition = position;
    }
    RunGuarded([this, button, position] { FView.Press(*button, position.x(), position.y()); });
}

// A double-click is one more press of the same button.
void TOpenGLPanel::mouseDoubleClickEvent(QMouseEvent* event)
{
    mousePressEvent(event);
}

void TOpenGLPanel::mouseReleaseEvent(QMouseEvent* event)
{
    const std::optional<TMouseButton> button = ViewButton(event->button());
    if (!button)
        return QOpenGLWidget::mouseReleaseEvent(event);
    RunGuarded([this, button] { FView.Release(*button); });
    if (*button == TMouseButton::Left && FClicking) {
        FClicking = false;
        const QPoint position = event->position().toPoint();
        const bool measure = (event->modifiers() & Qt::ShiftModifier) && OnMeasureClicked;
        if (WithinClickSlop(FPressPosition, position))
            RunGuarded([this, position, measure] {
                if (measure)
                    MeasureAt(position);
                else
                    ClickAt(position);
            });
    }
}

void TOpenGLPanel::MeasureAt(QPoint position)
{
    const double ratio = devicePixelRatio();
    OnMeasureClicked(FView.PointAt(position.x() * ratio, position.y() * ratio, MeasureCentres,
                                   kPickRadiusPx * ratio));
}

// The view measures in framebuffer pixels, the pointer in widget pixels.
void TOpenGLPanel::ClickAt(QPoint position)
{
    if (!OnSegmentClicked)
        return;
    const double ratio = devicePixelRatio();
    const auto segment =
        FView.SegmentAt(position.x() * ratio, position.y() * ratio, kPickRadiusPx * ratio);
    if (segment)
        OnSegmentClicked(*segment);
}

void TOpenGLPanel::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint position = event->position().toPoint();
    // While a button is held the moves keep coming after the pointer has left the panel.
    if (rect().contains(position))
        FPointerInside = true;
    if (FClicking && !WithinClickSlop(FPressPosition, position))
        FClicking = false;
    RunGuarded([this, position] { FView.Move(position.x(), position.y()); });
}

void TOpenGLPanel::leaveEvent(QEvent* event)
{
    FPointerInside = false;
    QOpenGLWidget::leaveEvent(event);
}
