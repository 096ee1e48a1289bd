#pragma once
// TProgramInfoWindow: a small window beside the main window that shows what is in the program
// last plotted (its summary as a table of figures, values and units), says whether the figures come
// from the plot's straight-segment transcription or the machine path, warns when lenient reading
// skipped part of the program, and lets the user set the rapid rate by which rapids are timed.

#include "program/ProgramSummary.h"

#include <QWidget>

#include <QString>

#include <functional>
#include <string>
#include <vector>

class QDoubleSpinBox;
class QLabel;
class QTableWidget;

// "Lenient reading skipped ... the plot is incomplete.", or empty when nothing was skipped.
QString IncompleteNotice(const TSkipReport& skipped);

// The status bar's note on a machine path: what it does not show ("not shown: cutter
// compensation, lines 12-40") and the chord error when it was raised; empty when neither.
QString MachinePathNotice(const std::vector<std::string>& notShown, bool chordErrorRaised,
                          double chordError, bool inches);

class TProgramInfoWindow : public QWidget
{
    Q_OBJECT

public:
    explicit TProgramInfoWindow(QWidget* parent);

    // Keeps and shows the summary, timing rapids at the rate the window shows.
    void ShowSummary(const TProgramSummary& summary);
    // Keeps how the summary of the program last plotted is made: at once while the window shows,
    // else when it is shown next. A large program's summary takes a walk over all its rows.
    void SetSummarySource(std::function<TProgramSummary()> source);
    const TProgramSummary& Summary() const { return FSummary; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void MakePendingSummary();
    void RapidRateChanged(double rate);
    void UpdateText();
    void CopyFigures() const;

    TProgramSummary FSummary;
    std::function<TProgramSummary()> FPendingSource;
    QLabel* lblReading = nullptr;
    QLabel* lblIncomplete = nullptr;
    QTableWidget* tblSummary = nullptr;
    QDoubleSpinBox* edtRapidRate = nullptr;
};
