#include "machine/Parameters.h"

#include "machine/MachineError.h"

namespace {

void CheckIndex(int index)
{
    if (index < 1 || index >= TParameters::kNumberedCount)
        throw EMachineError("Parameter number " + std::to_string(index) + " out of range");
}

}  // namespace

TParameters::TParameters() = default;

double TParameters::Numbered(int index) const
{
    if (index == 0)
        return 0;
    CheckIndex(index);
    return FNumbered[index];
}

void TParameters::SetNumbered(int index, double value)
{
    CheckIndex(index);
    FNumbered[index] = value;
}

double TParameters::Named(std::string_view name) const
{
    const auto found = FNamed.find(std::string(name));
    if (found == FNamed.end())
        throw EMachineError("Named parameter #<" + std::string(name) + "> not defined");
    return found->second;
}

void TParameters::SetNamed(std::string_view name, double value)
{
    FNamed[std::string(name)] = value;
}

bool TParameters::NamedExists(std::string_view name) const
{
    return FNamed.find(std::string(name)) != FNamed.end();
}
