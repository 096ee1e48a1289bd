#include "app/window/PlaybackBar.h"

#include "machine/Plan.h"
#include "playback/MachineStateIndex.h"
#include "playback/StateText.h"
#include "playback/TableStateIndex.h"
#include "playback/Timeline.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kSliderSteps = 10000;
constexpr int kFrameMs = 33;
constexpr int kSpeeds[] = {1, 10, 100, 1000};
// The marker's arms, as a part of the path's largest extent.
constexpr double kMarkerPart = 0.03;

QString Clock(double seconds)
{
    const int tenths = static_cast<int>(std::lround(std::max(seconds, 0.0) * 10));
    const int minutes = tenths / 600;
    return QStringLiteral("%1:%2.%3")
        .arg(minutes)
        .arg(tenths / 10 % 60, 2, 10, QLatin1Char('0'))
        .arg(tenths % 10);
}

QToolButton* Button(QWidget* parent, const char* name, const QString& text, const QString& tip)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(text);
    button->setToolTip(tip);
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

}  // namespace

TPlaybackBar::TPlaybackBar(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    auto* controls = new QVBoxLayout;
    auto* buttons = new QHBoxLayout;
    btnBack = Button(this, "btnPlaybackBack", QStringLiteral("|<"), tr("Back one block (,)"));
    btnPlay = Button(this, "btnPlaybackPlay", tr("Play"), tr("Play or pause (Space)"));
    btnForward = Button(this, "btnPlaybackForward", QStringLiteral(">|"), tr("On one block (.)"));
    cmbSpeed = new QComboBox(this);
    cmbSpeed->setObjectName(QStringLiteral("cmbPlaybackSpeed"));
    for (const int speed : kSpeeds)
        cmbSpeed->addItem(QStringLiteral("%1x").arg(speed), speed);
    lblTime = new QLabel(this);
    lblTime->setObjectName(QStringLiteral("lblPlaybackTime"));
    buttons->addWidget(btnBack);
    buttons->addWidget(btnPlay);
    buttons->addWidget(btnForward);
    buttons->addWidget(cmbSpeed);
    buttons->addWidget(lblTime, 1);
    sldTime = new QSlider(Qt::Horizontal, this);
    sldTime->setObjectName(QStringLiteral("sldPlaybackTime"));
    sldTime->setRange(0, kSliderSteps);
    controls->addLayout(buttons);
    controls->addWidget(sldTime);
    layout->addLayout(controls, 1);
    memState = new QPlainTextEdit(this);
    memState->setObjectName(QStringLiteral("memPlaybackState"));
    memState->setReadOnly(true);
    memState->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    memState->setFixedHeight(fontMetrics().height() * 5);
    memState->setMinimumWidth(fontMetrics().averageCharWidth() * 36);
    auto* readout = new QVBoxLayout;
    readout->addWidget(memState);
    lblMeasure = new QLabel(this);
    lblMeasure->setObjectName(QStringLiteral("lblPlaybackMeasure"));
    lblMeasure->setFont(memState->font());
    lblMeasure->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblMeasure->hide();
    readout->addWidget(lblMeasure);
    layout->addLayout(readout);
    tmrPlay = new QTimer(this);
    tmrPlay->setInterval(kFrameMs);
    // As tall as its controls: the plot above keeps the rest.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    connect(btnPlay, &QToolButton::clicked, this, &TPlaybackBar::TogglePlay);
    connect(btnBack, &QToolButton::clicked, this, &TPlaybackBar::StepBack);
    connect(btnForward, &QToolButton::clicked, this, &TPlaybackBar::StepForward);
    connect(sldTime, &QSlider::valueChanged, this, &TPlaybackBar::SliderMoved);
    connect(tmrPlay, &QTimer::timeout, this, &TPlaybackBar::Tick);
    Clear();
}

TPlaybackBar::~TPlaybackBar() = default;

void TPlaybackBar::SetMotionColours(const std::array<TColor, 4>& colours)
{
    for (const TColor candidate : {clFuchsia, clLime, clAqua, clYellow}) {
        if (std::find(colours.begin(), colours.end(), candidate) == colours.end()) {
            FMarkerColour = candidate;
            return;
        }
    }
}

void TPlaybackBar::Restart(std::shared_ptr<const TMotionList> motions, double rapidRate)
{
    tmrPlay->stop();
    btnPlay->setText(tr("Play"));
    FMotions = std::move(motions);
    FTimeline = std::make_unique<TTimeline>(*FMotions, rapidRate);
    TVector3 low = FMotions->Start;
    TVector3 high = low;
    for (const TMotion& motion : FMotions->Motions) {
        for (int axis = 0; axis < 3; ++axis) {
            low[axis] = std::min(low[axis], motion.End[axis]);
            high[axis] = std::max(high[axis], motion.End[axis]);
        }
    }
    const double extent = std::max({high[0] - low[0], high[1] - low[1], high[2] - low[2]});
    FMarkerSize = static_cast<float>(extent > 0 ? extent * FPlotScale * kMarkerPart : 1.0);
    SetSeconds(0);
}

void TPlaybackBar::SetMachinePath(std::shared_ptr<const TMotionList> motions,
                                  std::shared_ptr<const TMachineStateIndex> states,
                                  double plotScale, double rapidRate)
{
    FMachineStates = std::move(states);
    FTableStates.reset();
    FPlotScale = plotScale;
    Restart(std::move(motions), rapidRate);
}

void TPlaybackBar::SetTranscription(std::shared_ptr<const TMotionList> motions,
                                    std::shared_ptr<const TTableStateIndex> states,
                                    double rapidRate)
{
    FTableStates = std::move(states);
    FMachineStates.reset();
    FPlotScale = 1;
    Restart(std::move(motions), rapidRate);
}

void TPlaybackBar::Clear()
{
    FMachineStates.reset();
    FTableStates.reset();
    Restart(std::make_shared<const TMotionList>(), 1);
}

double TPlaybackBar::TotalSeconds() const
{
    return FTimeline->TotalSeconds();
}

bool TPlaybackBar::Playing() const
{
    return tmrPlay->isActive();
}

void TPlaybackBar::TogglePlay()
{
    if (Playing()) {
        tmrPlay->stop();
        btnPlay->setText(tr("Play"));
        SetSeconds(FSeconds);
        return;
    }
    if (FSeconds >= TotalSeconds())
        FSeconds = 0;  // played to the end: from the start again
    btnPlay->setText(tr("Pause"));
    FClock.start();
    tmrPlay->start();
}

void TPlaybackBar::Tick()
{
    const double speed = cmbSpeed->currentData().toDouble();
    const double elapsed = static_cast<double>(FClock.restart()) / 1000;
    const double seconds = std::min(FSeconds + elapsed * speed, TotalSeconds());
    if (seconds >= TotalSeconds()) {
        tmrPlay->stop();
        btnPlay->setText(tr("Play"));
    }
    SetSeconds(seconds);
}

void TPlaybackBar::StepForward()
{
    SetSeconds(FTimeline->NextBlock(FSeconds));
}

void TPlaybackBar::StepBack()
{
    SetSeconds(FTimeline->PreviousBlock(FSeconds));
}

void TPlaybackBar::ShowLine(std::uint32_t line)
{
    // The caret that follows the marker onto its line leaves the marker where it is, on its way.
    if (Playing() || FTimeline->LineAt(FSeconds) == line)
        return;
    const double seconds = FTimeline->EndOfLine(line);
    if (seconds >= 0)
        SetSeconds(seconds);
}

void TPlaybackBar::SliderMoved(int value)
{
    SetSeconds(TotalSeconds() * value / kSliderSteps);
}

void TPlaybackBar::SetSeconds(double seconds)
{
    FSeconds = std::clamp(seconds, 0.0, TotalSeconds());
    const double total = TotalSeconds();
    {
        const QSignalBlocker blocker(sldTime);
        sldTime->setValue(total > 0 ? static_cast<int>(std::lround(FSeconds / total * kSliderSteps))
                                    : 0);
    }
    lblTime->setText(tr("%1 elapsed, %2 left").arg(Clock(FSeconds), Clock(total - FSeconds)));
    const std::optional<std::uint32_t> line = FTimeline->LineAt(FSeconds);
    const TVector3 position = FTimeline->PositionAt(FSeconds);
    std::vector<TOverlayShape> marker;
    if (line) {
        const TPoint3f at = PlotPoint(position, FPlotScale);
        const float arm = FMarkerSize;
        marker.push_back({TGLPrimitive::Lines,
                          FMarkerColour,
                          2,
                          {{at.x - arm, at.y, at.z},
                           {at.x + arm, at.y, at.z},
                           {at.x, at.y - arm, at.z},
                           {at.x, at.y + arm, at.z},
                           {at.x, at.y, at.z},
                           {at.x, at.y, at.z + 3 * arm}}});
    }
    // The modes after the marker's line with the tool where it is on its way; before the first
    // move, the start state.
    std::string state;
    if (FMachineStates && line)
        state = FormatMachineState(FMachineStates->At(*line, *FMotions), position);
    else if (FTableStates && line)
        state = FormatTableState(FTableStates->At(*line), position);
    memState->setPlainText(QString::fromStdString(state));
    if (OnMarker)
        OnMarker(std::move(marker), line, Playing());
}

std::optional<TPlaybackBar::TMarkerPlace> TPlaybackBar::MarkerPlace() const
{
    const std::optional<TTimeline::TMoveAt> at = FTimeline->MoveAt(FSeconds);
    if (!at)
        return std::nullopt;
    return TMarkerPlace{at->Move, at->Fraction,
                        PlotPoint(FTimeline->PositionAt(FSeconds), FPlotScale)};
}

void TPlaybackBar::SetMeasure(const QString& text)
{
    lblMeasure->setText(text);
    lblMeasure->setVisible(!text.isEmpty());
}
