// The settings readers over any bytes: the integer and colour identifier readers on the raw
// text, and the whole settings read on the text as a settings file. What reads as an integer
// or a colour writes back as the same.

#include "common/ColorTable.h"
#include "common/SameText.h"
#include "highlight/SynHighlighterRS274.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "tests/fuzz/FuzzFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (const auto value = ParseInteger(text))
        Check(ParseInteger(std::to_string(*value)) == value);
    if (const auto colour = IdentToColor(text)) {
        const auto identifier = ColorToIdent(*colour);
        Check(identifier && SameText(*identifier, text));
    }

    static const TFuzzFile file;
    file.Write(text);
    TMotionColors colours{};
    TSynRC274Syn highlighter;
    ReadSettings(TIniFile(file.Name()), colours, highlighter);
    for (const TColor colour : colours)
        Check(ColorToIdent(colour).has_value());
    return 0;
}
