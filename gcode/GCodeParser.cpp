#include "GCodeParser.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>
#include <system_error>

namespace {

constexpr unsigned char kZero = 0;
constexpr unsigned char kLineFeed = 10;
constexpr unsigned char kLastBlank = 32;  // bytes 1-9 and 11-32 are blanks
constexpr int kExponentCap = 100000;      // far beyond any double; stops the exponent overflowing

enum class TByteClass : std::uint8_t
{
    Zero, Blank, LineFeed, Letter, Digit, Sign, Percent, OpenParen, Other
};

constexpr std::array<TByteClass, 256> MakeByteClasses()
{
    std::array<TByteClass, 256> classes{};
    for (int b = 0; b < 256; ++b) {
        TByteClass c = TByteClass::Other;
        if (b == kZero)
            c = TByteClass::Zero;
        else if (b == kLineFeed)
            c = TByteClass::LineFeed;
        else if (b <= kLastBlank)
            c = TByteClass::Blank;
        else if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z'))
            c = TByteClass::Letter;
        else if (b >= '0' && b <= '9')
            c = TByteClass::Digit;
        else if (b == '+' || b == '-')
            c = TByteClass::Sign;
        else if (b == '%')
            c = TByteClass::Percent;
        else if (b == '(')
            c = TByteClass::OpenParen;
        classes[b] = c;
    }
    return classes;
}

constexpr std::array<TByteClass, 256> kByteClass = MakeByteClasses();

bool IsDigit(unsigned char b) { return kByteClass[b] == TByteClass::Digit; }
bool IsLetter(unsigned char b) { return kByteClass[b] == TByteClass::Letter; }

// Bytes that turn a number into a Float token once they follow its leading digits.
bool IsFloatTail(unsigned char b)
{
    return IsDigit(b) || b == '+' || b == '-' || b == '.' || b == 'E' || b == 'e';
}

bool IsDigitChar(char c) { return c >= '0' && c <= '9'; }

// Decimal 64-bit integer with an optional sign; false on anything else or on overflow.
bool ParseDecimalInteger(std::string_view text, std::int64_t& value)
{
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+'))
        ++i;
    if (i == text.size())
        return false;
    constexpr std::uint64_t kMaxPositive = std::numeric_limits<std::int64_t>::max();
    const std::uint64_t limit = negative ? kMaxPositive + 1 : kMaxPositive;
    std::uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        if (!IsDigitChar(text[i]))
            return false;
        const auto digit = static_cast<std::uint64_t>(text[i] - '0');
        if (magnitude > (limit - digit) / 10)
            return false;
        magnitude = magnitude * 10 + digit;
    }
    // Two's complement negation also covers the most negative value.
    value = static_cast<std::int64_t>(negative ? 0 - magnitude : magnitude);
    return true;
}

std::size_t SkipDigits(std::string_view text, std::size_t i)
{
    while (i < text.size() && IsDigitChar(text[i]))
        ++i;
    return i;
}

std::size_t SkipSpaces(std::string_view text, std::size_t i)
{
    while (i < text.size() && text[i] == ' ')
        ++i;
    return i;
}

// Decimal real: spaces, sign, digits, "." and digits, an exponent whose digits may be missing
// (exponent 0), spaces. Always "." as the decimal point, whatever the locale.
bool ParseDecimalReal(std::string_view text, double& value)
{
    std::size_t i = SkipSpaces(text, 0);
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
    const std::size_t mantissaStart = i;
    i = SkipDigits(text, i);
    const std::size_t integerEnd = i;
    std::size_t fractionStart = i;
    if (i < text.size() && text[i] == '.') {
        fractionStart = i + 1;
        i = SkipDigits(text, fractionStart);
    }
    if (integerEnd == mantissaStart && i == fractionStart)
        return false;  // no digit at all
    std::size_t numberEnd = i;
    int exponent = 0;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        const bool negativeExponent = i < text.size() && text[i] == '-';
        if (i < text.size() && (text[i] == '-' || text[i] == '+'))
            ++i;
        const std::size_t exponentDigits = i;
        for (; i < text.size() && IsDigitChar(text[i]); ++i)
            exponent = std::min(exponent * 10 + (text[i] - '0'), kExponentCap);
        if (negativeExponent)
            exponent = -exponent;
        if (i > exponentDigits)
            numberEnd = i;
    }
    if (SkipSpaces(text, i) != text.size())
        return false;

    const char* first = text.data() + mantissaStart;
    const char* last = text.data() + numberEnd;
    double magnitude = 0;
    const auto [end, error] = std::from_chars(first, last, magnitude);
    if (end != last)
        return false;
    if (error == std::errc::result_out_of_range) {
        // Decide between overflow and underflow from the position of the first significant digit.
        const std::string_view integer = text.substr(mantissaStart, integerEnd - mantissaStart);
        const std::size_t integerLead = integer.find_first_not_of('0');
        int scale = 0;
        if (integerLead != std::string_view::npos) {
            scale = static_cast<int>(integer.size() - integerLead);
        } else {
            const std::string_view fraction = text.substr(fractionStart, numberEnd - fractionStart);
            scale = -static_cast<int>(fraction.find_first_not_of('0'));
        }
        magnitude = scale + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (error != std::errc()) {
        return false;
    }
    value = negative ? -magnitude : magnitude;
    return true;
}

}  // namespace

TGCodeParser::TGCodeParser()
{
    Reset();
}

void TGCodeParser::Reset()
{
    FBuffer[0] = kZero;
    FFillEnd = FScanPos = FTextEnd = FTokenStart = FBuffer.data();
    FSavedByte = kZero;
}

int TGCodeParser::SetLine(std::string_view text)
{
    FText.assign(text);
    FStreamPos = 0;
    Reset();
    return NextToken();
}

void TGCodeParser::Refill()
{
    unsigned char* const bufferStart = FBuffer.data();
    unsigned char* const bufferEnd = bufferStart + kBufferSize;
    *FTextEnd = FSavedByte;
    const auto unscanned = static_cast<std::size_t>(FFillEnd - FScanPos);
    std::memmove(bufferStart, FScanPos, unscanned);
    FFillEnd = bufferStart + unscanned;
    const std::size_t count = std::min(static_cast<std::size_t>(bufferEnd - FFillEnd),
                                       FText.size() - FStreamPos);
    std::memcpy(FFillEnd, FText.data() + FStreamPos, count);
    FStreamPos += count;
    FFillEnd += count;
    FScanPos = FTokenStart = bufferStart;
    FTextEnd = FFillEnd;
    if (FTextEnd == bufferEnd) {
        // A full window ends after its last complete line, so a line is never cut in two.
        // The last byte cannot count: the end-of-text zero must fit inside the buffer.
        const std::reverse_iterator<unsigned char*> from(bufferEnd - 1);
        const std::reverse_iterator<unsigned char*> to(bufferStart + 1);
        const auto lineFeed = std::find(from, to, kLineFeed);
        if (lineFeed == to) {
            // Leave an empty, terminated window before reporting, so scanning stays inside the
            // buffer whether the error is absorbed or raised.
            FTextEnd = bufferStart;
            FSavedByte = *FTextEnd;
            *FTextEnd = kZero;
            Error("Line too long");
            return;
        }
        FTextEnd = lineFeed.base();
    }
    FSavedByte = *FTextEnd;
    *FTextEnd = kZero;
}

void TGCodeParser::SkipBlanks()
{
    for (;;) {
        switch (kByteClass[*FScanPos]) {
        case TByteClass::Blank:
            ++FScanPos;
            break;
        case TByteClass::Zero:
            Refill();
            if (*FScanPos == kZero)
                return;
            break;
        default:
            return;
        }
    }
}

int TGCodeParser::NextToken()
{
    SkipBlanks();
    FTokenStart = FScanPos;
    unsigned char* p = FScanPos;
    int code = *p;
    switch (kByteClass[*p]) {
    case TByteClass::Zero:
        code = tkEnd;
        break;
    case TByteClass::LineFeed:
        ++p;
        ++SourceLine;
        code = tkNewline;
        break;
    case TByteClass::Letter:
        while (IsLetter(*++p)) {
        }
        code = tkWord;
        break;
    case TByteClass::Digit:
    case TByteClass::Sign:
        while (IsDigit(*++p)) {
        }
        code = tkInteger;
        for (; IsFloatTail(*p); ++p)
            code = tkFloat;
        break;
    case TByteClass::Percent:
        ++p;
        code = tkPercent;
        break;
    case TByteClass::OpenParen:
        // A comment runs to the first ")" but never past the end of its line or text.
        while (*++p != ')' && *p != kLineFeed && *p != kZero) {
        }
        if (*p == ')')
            ++p;
        code = tkComment;
        break;
    case TByteClass::Blank:  // never here: blanks were skipped
    case TByteClass::Other:
        ++p;
        break;
    }
    FScanPos = p;
    FToken = code;
    return code;
}

std::string_view TGCodeParser::TokenView() const
{
    return {reinterpret_cast<const char*>(FTokenStart), static_cast<std::size_t>(FScanPos - FTokenStart)};
}

std::string TGCodeParser::TokenString() const
{
    return std::string(TokenView());
}

std::int64_t TGCodeParser::TokenInt() const
{
    std::string_view text = TokenView();
    const auto isControlOrSpace = [](char c) { return static_cast<unsigned char>(c) <= kLastBlank; };
    while (!text.empty() && isControlOrSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isControlOrSpace(text.back()))
        text.remove_suffix(1);
    std::int64_t value = 0;
    if (!ParseDecimalInteger(text, value))
        throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
    return value;
}

double TGCodeParser::TokenFloat() const
{
    const std::string_view text = TokenView();
    double value = 0;
    if (!ParseDecimalReal(text, value))
        throw EConvertError("'" + std::string(text) + "' is not a valid floating point value");
    return value;
}

void TGCodeParser::CheckToken(int expected)
{
    if (FToken == expected)
        return;
    if (expected == tkWord)
        Error("Identifier expected");
    else if (expected == tkInteger || expected == tkFloat) {
        if (!(expected == tkFloat && FToken == tkInteger))
            Error("Number expected");
    } else
        Error("''" + std::string(1, static_cast<char>(expected)) + "'' expected");
}

void TGCodeParser::Error(const std::string& message)
{
    bool handled = false;
    if (OnError)
        OnError(*this, message, handled);
    if (!handled)
        throw EParserError(message + " on line " + std::to_string(SourceLine));
}
