#include "machine/SubroutineFile.h"

#include <algorithm>
#include <string>
#include <system_error>

namespace {

bool IsFileNameCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
}

}  // namespace

std::optional<std::filesystem::path> FindSubroutineFile(const std::filesystem::path& folder,
                                                        std::string_view label)
{
    if (label.empty() || !std::all_of(label.begin(), label.end(), IsFileNameCharacter))
        return std::nullopt;
    std::filesystem::path path = folder / (std::string(label) + ".ngc");
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return std::nullopt;
    return path;
}
