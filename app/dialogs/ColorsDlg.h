#pragma once
// "GCode Colors": the dialog in which the user chooses the plot colours of G0 to G3 moves.

#include "common/Color.h"

#include <QDialog>

#include <array>

class QPushButton;
class TColorPicker;

class TdlgColor : public QDialog
{
    Q_OBJECT

public:
    explicit TdlgColor(QWidget* parent = nullptr);

    // Sets cbxG0..cbxG3 to the colours of G0..G3.
    void PutColors(const std::array<TColor, 4>& colours);
    // The colours of cbxG0..cbxG3, in that order.
    std::array<TColor, 4> GetColors() const;

private:
    void CreateControls();
    void SetTabOrder();

    std::array<TColorPicker*, 4> FPickers{};
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
};
