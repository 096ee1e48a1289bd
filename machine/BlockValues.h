#pragma once
// TBlockValues: the evaluated words of one block, ready for the machine: the value of each
// letter (a letter may stand once, except G and M), and the G and M codes in the order written.
// Codes are kept in tenths, so G91.1 is 911 and M6 is 60.

#include <array>
#include <cstdint>
#include <optional>

#include "machine/Block.h"

class TParameters;

class TBlockValues
{
public:
    static constexpr int kLetterCount = 28;  // a to z, '@', '^'
    static constexpr int kCodesPerBlock = 16;

    // Evaluates the words of block. Throws EMachineError for a letter given twice or a G or M
    // number with more than one decimal.
    void Evaluate(const TBlock& block, const TParameters& parameters);

    bool Has(char letter) const { return (FPresent & Bit(letter)) != 0; }
    double Value(char letter) const { return FValues[Index(letter)]; }
    std::optional<double> Find(char letter) const
    {
        return Has(letter) ? std::optional<double>(Value(letter)) : std::nullopt;
    }

    int GCount() const { return FGCount; }
    int G(int i) const { return FG[static_cast<std::size_t>(i)]; }
    int MCount() const { return FMCount; }
    int M(int i) const { return FM[static_cast<std::size_t>(i)]; }

private:
    static int Index(char letter) { return letter == '@' ? 26 : letter == '^' ? 27 : letter - 'a'; }
    static std::uint32_t Bit(char letter) { return std::uint32_t{1} << Index(letter); }

    std::array<double, kLetterCount> FValues{};
    std::uint32_t FPresent = 0;
    std::array<int, kCodesPerBlock> FG{};
    std::array<int, kCodesPerBlock> FM{};
    int FGCount = 0;
    int FMCount = 0;
};
