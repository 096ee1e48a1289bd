#include "highlight/TokenAttribute.h"

#include <utility>

TTokenAttribute::TTokenAttribute(std::string name) : fName(std::move(name)) {}

void TTokenAttribute::SetBackground(TColor value)
{
    if (fBackground == value)
        return;
    fBackground = value;
    Changed();
}

void TTokenAttribute::SetForeground(TColor value)
{
    if (fForeground == value)
        return;
    fForeground = value;
    Changed();
}

void TTokenAttribute::SetStyle(TFontStyles value)
{
    if (fStyle == value)
        return;
    fStyle = value;
    Changed();
}

void TTokenAttribute::Assign(const TTokenAttribute& source)
{
    if (&source == this)
        return;
    fName = source.fName;
    const bool differs = fBackground != source.fBackground ||
                         fForeground != source.fForeground || fStyle != source.fStyle;
    fBackground = source.fBackground;
    fForeground = source.fForeground;
    fStyle = source.fStyle;
    if (differs)
        Changed();
}

void TTokenAttribute::SaveDefaults()
{
    fDefaultBackground = fBackground;
    fDefaultForeground = fForeground;
    fDefaultStyle = fStyle;
}

void TTokenAttribute::Changed()
{
    if (OnChange)
        OnChange(*this);
}
