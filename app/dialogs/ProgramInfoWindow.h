#pragma once
// TProgramInfoWindow: a small window beside the main window that shows what is in the program
// last plotted (its summary as "key: value" lines), says that the figures come from the plot's
// straight-segment transcription, warns when lenient reading skipped part of the program, and
// lets the user set the rapid rate by which rapids are timed.

#include "program/ProgramSummary.h"

#include <QWidget>

#include <QString>

class QDoubleSpinBox;
class QLabel;
class QPlainTextEdit;

// "Lenient reading skipped ... the plot is incomplete.", or empty when nothing was skipped.
QString IncompleteNotice(const TSkipReport& skipped);

class TProgramInfoWindow : public QWidget
{
    Q_OBJECT

public:
    explicit TProgramInfoWindow(QWidget* parent);

    // Keeps and shows the summary, timing rapids at the rate the window shows.
    void ShowSummary(const TProgramSummary& summary);
    const TProgramSummary& Summary() const { return FSummary; }

private:
    void RapidRateChanged(double rate);
    void UpdateText();

    TProgramSummary FSummary;
    QLabel* lblIncomplete = nullptr;
    QPlainTextEdit* memSummary = nullptr;
    QDoubleSpinBox* edtRapidRate = nullptr;
};
