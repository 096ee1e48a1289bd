#include "edit/EditRefusal.h"

#include <utility>

namespace {

std::string Describe(const std::vector<TRefusedLine>& lines)
{
    std::string text;
    for (const TRefusedLine& line : lines) {
        if (!text.empty())
            text += '\n';
        text += "line " + std::to_string(line.Line + 1) + ": " + line.Reason;
    }
    return text;
}

}  // namespace

EEditRefused::EEditRefused(std::vector<TRefusedLine> lines)
    : EZorvitError(Describe(lines)), FLines(std::move(lines))
{}
