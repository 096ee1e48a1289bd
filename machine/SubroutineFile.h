#pragma once
// The file that "o<name> call" reads when the program defines no sub of that name: name.ngc in
// the program's folder, as LinuxCNC finds it on its subroutine path.

#include <filesystem>
#include <optional>
#include <string_view>

// Only labels of lower-case letters, digits, "-" and "_" name a file (o<name> or o123), so a
// label can never reach outside the folder. Gives nothing when there is no such regular file.
std::optional<std::filesystem::path> FindSubroutineFile(const std::filesystem::path& folder,
                                                        std::string_view label);
