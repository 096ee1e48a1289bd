#pragma once
// File > Compare With...: the editor's text and another file side by side, read only, with the
// lines that differ marked on both sides and buttons that step from difference to difference.

#include "edit/LineDiff.h"

#include <QString>
#include <QWidget>

#include <string>
#include <vector>

class QLabel;
class QPushButton;
class TGCodeEditor;

class TCompareWindow : public QWidget
{
    Q_OBJECT

public:
    // left: the editor's lines; right: the other file's bytes, named by otherName.
    TCompareWindow(const std::vector<std::string>& left, const QByteArray& right,
                   const QString& otherName, QWidget* parent = nullptr);

    const std::vector<TDiffHunk>& Hunks() const { return FHunks; }
    // Shows the next (or previous) difference from the left side's caret on both sides.
    void GoToDifference(bool forward);

    TGCodeEditor* memLeft = nullptr;
    TGCodeEditor* memRight = nullptr;
    QPushButton* btnPrevious = nullptr;
    QPushButton* btnNext = nullptr;
    QLabel* lblDifferences = nullptr;

    // The marker number of a changed line, in both editors.
    static constexpr int kChangedMarker = 1;

private:
    void MarkChanges();

    std::vector<TDiffHunk> FHunks;
};
