#pragma once
// A drop-down list of the colour table's 50 picker colours, each a swatch and its identifier.

#include "common/Color.h"

#include <QComboBox>

class TColorPicker : public QComboBox
{
    Q_OBJECT

public:
    explicit TColorPicker(QWidget* parent = nullptr);

    // The colour of the selected entry; while no entry is selected, the colour last given to
    // SetColor, so that a colour the list does not offer survives a round trip.
    TColor Color() const { return FColor; }

    // Selects the first entry with that colour, or no entry when the list has none. Raises no
    // ColorChanged: that signal reports the user's choices only.
    void SetColor(TColor colour);

signals:
    // The user selected an entry whose colour differs from the picker's colour until then.
    void ColorChanged(TColor colour);

protected:
    // System colour swatches follow the palette when it changes.
    void changeEvent(QEvent* event) override;

private:
    void AddEntries();
    void PaintSwatches();
    void EntryActivated(int index);

    TColor FColor;
};
