#pragma once
// The refusal of an editing tool: the change is not made, and each line that stops it is named
// with the reason.

#include <cstddef>
#include <string>
#include <vector>

#include "common/Error.h"

struct TRefusedLine
{
    std::size_t Line = 0;  // 0-based
    std::string Reason;
};

class EEditRefused : public EZorvitError
{
public:
    explicit EEditRefused(std::vector<TRefusedLine> lines);
    const std::vector<TRefusedLine>& Lines() const { return FLines; }

private:
    std::vector<TRefusedLine> FLines;
};
