#pragma once
// Splits text into lines the way the editor does: a line ends at CR LF, LF or CR, and a text
// that ends in a line break has an empty last line (so an empty text is one empty line).

#include <string>
#include <string_view>
#include <vector>

std::vector<std::string> SplitLines(std::string_view text);
