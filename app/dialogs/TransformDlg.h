#pragma once
// Edit > Transform...: move, turn, mirror or scale the whole program or the selected lines.
// Every change of a field asks for a preview, which tells whether the program can be
// transformed: the reason it cannot is shown and OK is disabled.

#include "edit/Transform.h"

#include <QDialog>
#include <QString>

#include <functional>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QDoubleSpinBox;
class QLabel;

class TTransformDlg : public QDialog
{
    Q_OBJECT

public:
    // The operations, in the order of the operation box.
    enum class TOperation { Translate, Rotate, Mirror, Scale };

    // selection: whether the editor has selected lines to offer.
    explicit TTransformDlg(bool selection, QWidget* parent = nullptr);

    TPlaneTransform Transform() const;
    bool SelectionOnly() const;

    // Shows the transform; returns the reason it cannot be made, empty when it can.
    std::function<QString(const TPlaneTransform& transform, bool selectionOnly)> OnPreview;
    // Asks for the preview of the fields as they are.
    void Preview();

    QComboBox* cbxOperation = nullptr;
    QDoubleSpinBox* edtFirst = nullptr;   // DX, the angle, the factor
    QDoubleSpinBox* edtSecond = nullptr;  // DY, the centre's X
    QDoubleSpinBox* edtThird = nullptr;   // DZ, the centre's Y
    QComboBox* cbxMirror = nullptr;
    QCheckBox* chkSelection = nullptr;
    QLabel* lblStatus = nullptr;

private:
    void ShowFields();

    QLabel* FFirstLabel = nullptr;
    QLabel* FSecondLabel = nullptr;
    QLabel* FThirdLabel = nullptr;
    QLabel* FMirrorLabel = nullptr;
    QDialogButtonBox* FButtons = nullptr;
};
