// The RS274 highlighter over every line of any bytes, driven as the editor drives it (the first
// line from the reset state, each next one from the state the line above ended in), and each
// line once more from every state a line can start in. The tokens must tile the line exactly, up
// to its first zero byte, which ends a line for the scanner.

#include "common/Error.h"
#include "highlight/SynHighlighterRS274.h"
#include "tests/fuzz/FuzzLines.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

constexpr TLineState kStates[] = {rsPlain, rsParenComment, rsBlockComment, rsString};

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// Scans one line as the editor does; an empty token may stand only at the line end.
void ScanLine(TSynRC274Syn& highlighter, std::string_view line, int index)
{
    highlighter.StartLine(line, index);
    std::size_t end = 0;
    while (!highlighter.AtLineEnd()) {
        const std::string token = highlighter.TokenText();
        if (!token.empty()) {
            Check(highlighter.TokenStart() == static_cast<int>(end));
            Check(line.substr(end, token.size()) == token);
            Check(highlighter.TokenAttribute() != nullptr ||
                  highlighter.TokenKind() == tkEndOfLine);
            end += token.size();
        }
        highlighter.NextToken();
        if (token.empty() && !highlighter.AtLineEnd())
            Check(!highlighter.TokenText().empty());
    }
    Check(end == std::min(line.size(), line.find('\0')));
    const TLineState state = highlighter.LineState();
    Check(state == rsPlain || state == rsBlockComment);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto lines = SplitEditorLines(text);
    TSynRC274Syn highlighter;
    highlighter.ResetLineState();
    for (std::size_t i = 0; i < lines.size(); ++i)
        ScanLine(highlighter, lines[i], static_cast<int>(i));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        for (const TLineState state : kStates) {
            highlighter.SetLineState(state);
            ScanLine(highlighter, lines[i], static_cast<int>(i));
        }
    }
    return 0;
}
