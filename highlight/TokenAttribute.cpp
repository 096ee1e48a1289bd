#include "highlight/TokenAttribute.h"

#include <utility>

TTokenAttribute::TTokenAttribute(std::string name) : FName(std::move(name)) {}

void TTokenAttribute::SetBackground(TColor value)
{
    if (FBackground == value)
        return;
    FBackground = value;
    Changed();
}

void TTokenAttribute::SetForeground(TColor value)
{
    if (FForeground == value)
        return;
    FForeground = value;
    Changed();
}

void TTokenAttribute::SetStyle(TFontStyles value)
{
    if (FStyle == value)
        return;
    FStyle = value;
    Changed();
}

void TTokenAttribute::Assign(const TTokenAttribute& source)
{
    if (&source == this)
        return;
    FName = source.FName;
    const bool differs = FBackground != source.FBackground || FForeground != source.FForeground ||
                         FStyle != source.FStyle;
    FBackground = source.FBackground;
    FForeground = source.FForeground;
    FStyle = source.FStyle;
    if (differs)
        Changed();
}

void TTokenAttribute::Changed()
{
    if (OnChange)
        OnChange(*this);
}
