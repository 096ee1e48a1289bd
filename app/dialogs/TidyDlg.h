#pragma once
// Edit > Tidy...: the blanks between words, their case, comments and trailing blanks.

#include "edit/Tidy.h"

#include <QDialog>

class QCheckBox;
class QComboBox;

class TTidyDlg : public QDialog
{
    Q_OBJECT

public:
    explicit TTidyDlg(QWidget* parent = nullptr);
    TTidyOptions Options() const;

    QComboBox* cbxSpacing = nullptr;
    QCheckBox* chkUpperCase = nullptr;
    QComboBox* cbxComments = nullptr;
    QCheckBox* chkTrailing = nullptr;
};
