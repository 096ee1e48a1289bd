#pragma once
// Edit > Renumber...: which blocks get N words, from which number, in which steps.

#include "edit/Renumber.h"

#include <QDialog>

class QComboBox;
class QSpinBox;

class TRenumberDlg : public QDialog
{
    Q_OBJECT

public:
    explicit TRenumberDlg(QWidget* parent = nullptr);
    TRenumberOptions Options() const;

    QComboBox* cbxMode = nullptr;
    QSpinBox* edtStart = nullptr;
    QSpinBox* edtStep = nullptr;
};
