#pragma once
// One highlighting role: its display name, colours and font style. The highlighter that registers
// an attribute owns it and receives its change notices; the editor draws tokens with it.

#include "common/Color.h"

#include <cstdint>
#include <functional>
#include <string>

// Font style bit set: the values are stored as they are in the settings file.
using TFontStyles = std::uint8_t;
constexpr TFontStyles fsBold = 0x01;
constexpr TFontStyles fsItalic = 0x02;
constexpr TFontStyles fsUnderline = 0x04;
constexpr TFontStyles fsStrikeOut = 0x08;

class TTokenAttribute
{
public:
    // A new attribute has no colours of its own (clNone) and no style.
    explicit TTokenAttribute(std::string name);
    TTokenAttribute(const TTokenAttribute&) = delete;
    TTokenAttribute& operator=(const TTokenAttribute&) = delete;

    const std::string& Name() const { return FName; }
    TColor Background() const { return FBackground; }
    TColor Foreground() const { return FForeground; }
    TFontStyles Style() const { return FStyle; }

    // Each setter stores a differing value and raises one change notice; the same value again
    // raises nothing.
    void SetBackground(TColor value);
    void SetForeground(TColor value);
    void SetStyle(TFontStyles value);

    // Copies name, background, foreground and style; one change notice when a value differed.
    void Assign(const TTokenAttribute& source);

    // The values at the time the owning highlighter registered the attribute.
    void SaveDefaults();
    TColor DefaultBackground() const { return FDefaultBackground; }
    TColor DefaultForeground() const { return FDefaultForeground; }
    TFontStyles DefaultStyle() const { return FDefaultStyle; }

    // Receiver of the change notice, set by the owning highlighter.
    std::function<void(TTokenAttribute&)> OnChange;

private:
    void Changed();

    std::string FName;
    TColor FBackground = clNone;
    TColor FForeground = clNone;
    TFontStyles FStyle = 0;
    TColor FDefaultBackground = clNone;
    TColor FDefaultForeground = clNone;
    TFontStyles FDefaultStyle = 0;
};
