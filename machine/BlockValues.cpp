#include "machine/BlockValues.h"

#include <cmath>
#include <string>

#include "machine/MachineError.h"

namespace {

constexpr double kTenths = 10;
constexpr double kCodeTolerance = 1e-4;  // a code read from a real number, in tenths

int CodeInTenths(char letter, double value)
{
    const double tenths = value * kTenths;
    const double rounded = std::round(tenths);
    constexpr double kLargestTenths = 1e9;
    if (!(value >= 0 && rounded <= kLargestTenths) || std::fabs(tenths - rounded) > kCodeTolerance)
        throw EMachineError(std::string(1, static_cast<char>(letter - 'a' + 'A')) +
                            " code out of range");
    return static_cast<int>(rounded);
}

}  // namespace

void TBlockValues::Evaluate(const TBlock& block, const TParameters& parameters)
{
    FPresent = 0;
    FGCount = 0;
    FMCount = 0;
    for (const TBlockWord& word : block.Words) {
        const double value =
            word.Value.IsConstant() ? word.Value.Constant() : word.Value.Evaluate(parameters);
        if (word.Letter == 'g' || word.Letter == 'm') {
            int& count = word.Letter == 'g' ? FGCount : FMCount;
            if (count == kCodesPerBlock)
                throw EMachineError("Too many codes on one line");
            (word.Letter == 'g' ? FG : FM)[static_cast<std::size_t>(count++)] =
                CodeInTenths(word.Letter, value);
            continue;
        }
        if (Has(word.Letter)) {
            const char upper = word.Letter >= 'a' && word.Letter <= 'z'
                                   ? static_cast<char>(word.Letter - 'a' + 'A')
                                   : word.Letter;
            throw EMachineError(std::string("Multiple ") + upper + " words on one line");
        }
        FPresent |= Bit(word.Letter);
        FValues[static_cast<std::size_t>(Index(word.Letter))] = value;
    }
}
