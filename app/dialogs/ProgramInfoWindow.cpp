#include "app/dialogs/ProgramInfoWindow.h"

#include "program/SummaryRows.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QStringList>
#include <QTableWidget>
#include <QVBoxLayout>

#include <utility>

namespace {

constexpr int kWidthPx = 540;
constexpr int kHeightPx = 520;
constexpr int kColumns = 3;  // figure, value, unit
constexpr double kLowestRapidRate = 1;
constexpr double kHighestRapidRate = 1e7;

const char* const kTranscriptionText =
    "Figures from the plot's straight-segment transcription, no units applied.";
const char* const kMachinePathText =
    "Figures from the machine path, in the program's units: true arcs, offsets and cycles.";
const char* const kIncompleteText = "Lenient reading skipped %1 and %2: the plot is incomplete.";

// "1 word", "2 words".
QString Counted(std::size_t count, const char* one, const char* many)
{
    return QStringLiteral("%1 %2").arg(count).arg(QObject::tr(count == 1 ? one : many));
}

}  // namespace

QString MachinePathNotice(const std::vector<std::string>& notShown, bool chordErrorRaised,
                          double chordError, bool inches)
{
    QStringList parts;
    for (const std::string& text : notShown)
        parts << QObject::tr("not shown: %1").arg(QString::fromStdString(text));
    if (chordErrorRaised)
        parts << QObject::tr("chord error %1 %2")
                     .arg(chordError, 0, 'g', 3)
                     .arg(inches ? QStringLiteral("in") : QStringLiteral("mm"));
    return parts.join(QStringLiteral("; "));
}

QString IncompleteNotice(const TSkipReport& skipped)
{
    if (skipped.Empty())
        return {};
    return QObject::tr(kIncompleteText)
        .arg(Counted(skipped.Words(), "word", "words"), Counted(skipped.Lines(), "line", "lines"));
}

TProgramInfoWindow::TProgramInfoWindow(QWidget* parent) : QWidget(parent, Qt::Tool)
{
    setWindowTitle(tr("Program Info"));
    resize(kWidthPx, kHeightPx);

    lblReading = new QLabel(tr(kTranscriptionText), this);
    lblReading->setObjectName(QStringLiteral("lblTranscription"));

    lblIncomplete = new QLabel(this);
    lblIncomplete->setObjectName(QStringLiteral("lblIncomplete"));
    lblIncomplete->setWordWrap(true);
    lblIncomplete->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold"));
    lblIncomplete->hide();

    tblSummary = new QTableWidget(0, kColumns, this);
    tblSummary->setObjectName(QStringLiteral("tblSummary"));
    tblSummary->setHorizontalHeaderLabels({tr("Figure"), tr("Value"), tr("Unit")});
    tblSummary->verticalHeader()->hide();
    tblSummary->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tblSummary->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tblSummary->horizontalHeader()->setStretchLastSection(true);
    tblSummary->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblSummary->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblSummary->setAlternatingRowColors(true);

    edtRapidRate = new QDoubleSpinBox(this);
    edtRapidRate->setObjectName(QStringLiteral("edtRapidRate"));
    edtRapidRate->setRange(kLowestRapidRate, kHighestRapidRate);
    edtRapidRate->setDecimals(0);
    edtRapidRate->setValue(TProgramSummary::kDefaultRapidRate);
    connect(edtRapidRate, &QDoubleSpinBox::valueChanged, this,
            &TProgramInfoWindow::RapidRateChanged);

    auto* rate = new QFormLayout;
    rate->addRow(tr("Rapid rate for the estimate:"), edtRapidRate);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblReading);
    layout->addWidget(lblIncomplete);
    layout->addWidget(tblSummary);
    layout->addLayout(rate);
    // Copy puts the figures on the clipboard; Close and Esc close the window.
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->setObjectName(QStringLiteral("btnsProgramInfo"));
    QPushButton* copy = buttons->addButton(tr("&Copy"), QDialogButtonBox::ActionRole);
    copy->setObjectName(QStringLiteral("btnCopy"));
    connect(copy, &QPushButton::clicked, this, &TProgramInfoWindow::CopyFigures);
    connect(buttons, &QDialogButtonBox::rejected, this, &QWidget::close);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    layout->addWidget(buttons);
    UpdateText();
}

void TProgramInfoWindow::ShowSummary(const TProgramSummary& summary)
{
    FSummary = summary;
    FSummary.RapidRate = edtRapidRate->value();
    UpdateText();
}

void TProgramInfoWindow::SetSummarySource(std::function<TProgramSummary()> source)
{
    FPendingSource = std::move(source);
    if (isVisible())
        MakePendingSummary();
}

void TProgramInfoWindow::showEvent(QShowEvent* event)
{
    MakePendingSummary();
    QWidget::showEvent(event);
}

void TProgramInfoWindow::MakePendingSummary()
{
    if (const auto source = std::exchange(FPendingSource, {}))
        ShowSummary(source());
}

void TProgramInfoWindow::RapidRateChanged(double rate)
{
    FSummary.RapidRate = rate;
    UpdateText();
}

void TProgramInfoWindow::UpdateText()
{
    lblReading->setText(tr(FSummary.Machine ? kMachinePathText : kTranscriptionText));
    const QString notice = IncompleteNotice(FSummary.Skipped);
    lblIncomplete->setText(notice);
    lblIncomplete->setVisible(!notice.isEmpty());
    edtRapidRate->setSuffix(QLatin1Char(' ') + QString::fromStdString(RateUnit(FSummary)));
    const std::vector<TSummaryRow> rows = SummaryRows(FSummary);
    tblSummary->setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < tblSummary->rowCount(); ++row) {
        const TSummaryRow& figures = rows[static_cast<std::size_t>(row)];
        const std::string* const cells[kColumns] = {&figures.Figure, &figures.Value, &figures.Unit};
        for (int column = 0; column < kColumns; ++column)
            tblSummary->setItem(row, column,
                                new QTableWidgetItem(QString::fromStdString(*cells[column])));
    }
}

void TProgramInfoWindow::CopyFigures() const
{
    QGuiApplication::clipboard()->setText(
        QString::fromStdString(SummaryRowsText(SummaryRows(FSummary))));
}
