#include "machine/MessageComment.h"

#include <array>
#include <cctype>
#include <charconv>

#include "machine/Parameters.h"

namespace {

struct TMessageKeyword
{
    const char* Text;  // lower case, with its comma
    TMessageKind Kind;
};

constexpr TMessageKeyword kKeywords[] = {
    {"msg,", TMessageKind::Message},
    {"debug,", TMessageKind::Debug},
    {"print,", TMessageKind::Print},
    {"abort,", TMessageKind::Abort},
};

constexpr std::string_view kUnknownValue = "######";
constexpr int kMessageDecimals = 6;  // C's "%f"

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i])
            return false;
    return true;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

void AppendValue(std::string& out, std::optional<double> value)
{
    if (!value) {
        out += kUnknownValue;
        return;
    }
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), *value,
                                      std::chars_format::fixed, kMessageDecimals);
    out.append(buffer.data(), result.ptr);
}

std::optional<double> NumberedValue(std::string_view digits, const TParameters& parameters)
{
    // "#0" reads as 0 in a message, though an expression refuses it
    int index = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
    if (error != std::errc() || index > TParameters::kLastNumbered)
        return std::nullopt;
    return index == 0 ? 0 : parameters.Numbered(index);
}

std::optional<double> NamedValue(std::string_view written, const TParameters& parameters)
{
    std::string name;
    for (const char c : written)
        if (!std::isspace(static_cast<unsigned char>(c)))
            name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (!parameters.NamedExists(name))
        return std::nullopt;
    return parameters.Named(name);
}

}  // namespace

std::string SubstituteParameters(std::string_view text, const TParameters& parameters)
{
    std::string out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char c = text[pos++];
        if (c != '#') {
            out += c;
            continue;
        }
        if (pos == text.size())
            break;  // a "#" that ends the text is dropped
        if (text[pos] == '<') {
            const std::size_t close = text.find('>', pos);
            if (close == std::string_view::npos) {
                out += '#';
                continue;
            }
            AppendValue(out, NamedValue(text.substr(pos + 1, close - pos - 1), parameters));
            pos = close + 1;
        } else if (IsDigit(text[pos])) {
            const std::size_t start = pos;
            while (pos < text.size() && IsDigit(text[pos]))
                ++pos;
            AppendValue(out, NumberedValue(text.substr(start, pos - start), parameters));
        } else {
            out += '#';
        }
    }
    return out;
}

std::optional<TMessageComment> ReadMessageComment(std::string_view comment,
                                                  const TParameters& parameters)
{
    std::size_t start = 0;
    while (start < comment.size() && std::isspace(static_cast<unsigned char>(comment[start])))
        ++start;
    const std::string_view rest = comment.substr(start);
    for (const TMessageKeyword& keyword : kKeywords) {
        const std::string_view prefix = keyword.Text;
        if (!StartsWithNoCase(rest, prefix))
            continue;
        const std::string_view text = rest.substr(prefix.size());
        if (keyword.Kind == TMessageKind::Message)
            return TMessageComment{keyword.Kind, std::string(text)};
        if (keyword.Kind == TMessageKind::Debug &&
            parameters.Numbered(TParameters::kDebugOutput) == 0)
            return std::nullopt;
        return TMessageComment{keyword.Kind, SubstituteParameters(text, parameters)};
    }
    return std::nullopt;
}
