#pragma once
// TParameters: the values that expressions read. Numbered parameters #1 to #5602, named
// parameters local to the running subroutine ("#<depth>") and global ones ("#<_depth>").

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

class TParameters
{
public:
    static constexpr int kNumberedCount = 5603;  // #0 to #5602; #0 always reads 0

    TParameters();

    // Throws EMachineError when the index is outside #1 to #5602 (reading #0 gives 0).
    double Numbered(int index) const;
    void SetNumbered(int index, double value);

    // Names are given as the block holds them: lower case, without blanks or the angle brackets.
    // A name that starts with "_" is global. Reading a name never set throws EMachineError.
    double Named(std::string_view name) const;
    void SetNamed(std::string_view name, double value);
    bool NamedExists(std::string_view name) const;

private:
    std::array<double, kNumberedCount> FNumbered{};
    std::unordered_map<std::string, double> FNamed;
};
