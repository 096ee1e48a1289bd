#include "gcode/GCodeParser.h"

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
constexpr std::size_t kByteValues = 256;
constexpr int kDecimalBase = 10;

// Decimal reals with at most this many digits fit a 64-bit mantissa exactly.
constexpr int kExactDecimalDigits = 19;
// Integers up to 2^53 and powers of ten up to 1e22 are exact doubles.
constexpr std::uint64_t kExactMantissaLimit = std::uint64_t{1}
                                              << std::numeric_limits<double>::digits;
constexpr int kExactPowerOfTen = 22;
constexpr std::array<double, kExactPowerOfTen + 1> kPowersOfTen = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

enum class TByteClass : std::uint8_t {
    Zero,
    Blank,
    LineFeed,
    Letter,
    Digit,
    Sign,
    Percent,
    OpenParen,
    Other
};

constexpr std::array<TByteClass, kByteValues> MakeByteClasses()
{
    std::array<TByteClass, kByteValues> classes{};
    for (std::size_t b = 0; b < kByteValues; ++b) {
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

constexpr std::array<TByteClass, kByteValues> kByteClass = MakeByteClasses();

// Bytes that turn a number into a Float token once they follow its leading digits.
constexpr std::array<bool, kByteValues> MakeFloatTail()
{
    std::array<bool, kByteValues> tail{};
    for (const unsigned char b : std::string_view("0123456789+-.Ee"))
        tail[b] = true;
    return tail;
}

constexpr std::array<bool, kByteValues> kFloatTail = MakeFloatTail();

bool IsDigit(unsigned char b)
{
    return kByteClass[b] == TByteClass::Digit;
}
bool IsLetter(unsigned char b)
{
    return kByteClass[b] == TByteClass::Letter;
}
bool IsFloatTail(unsigned char b)
{
    return kFloatTail[b];
}

bool IsDigitChar(char c)
{
    return static_cast<unsigned char>(c - '0') < kDecimalBase;
}

// Reads a run of digits, accumulating their value; past kExactDecimalDigits digits the value
// wraps and is not used.
const char* ScanDigits(const char* p, const char* end, std::uint64_t& value)
{
    for (; p != end && IsDigitChar(*p); ++p)
        value = value * kDecimalBase + static_cast<std::uint64_t>(*p - '0');
    return p;
}

const char* ScanSign(const char* p, const char* end, bool& negative)
{
    negative = p != end && *p == '-';
    return p != end && (*p == '-' || *p == '+') ? p + 1 : p;
}

// Decimal 64-bit integer with an optional sign; false on anything else or on overflow.
bool ParseDecimalInteger(std::string_view text, std::int64_t& value)
{
    const char* const end = text.data() + text.size();
    bool negative = false;
    const char* const digits = ScanSign(text.data(), end, negative);
    std::uint64_t magnitude = 0;
    if (digits == end || ScanDigits(digits, end, magnitude) != end)
        return false;
    constexpr auto kSafeDigits =
        static_cast<std::ptrdiff_t>(std::numeric_limits<std::int64_t>::digits10);
    if (end - digits > kSafeDigits) {
        // Long numbers are checked again digit by digit against the limit.
        constexpr std::uint64_t kMaxPositive = std::numeric_limits<std::int64_t>::max();
        const std::uint64_t limit = negative ? kMaxPositive + 1 : kMaxPositive;
        magnitude = 0;
        for (const char* p = digits; p != end; ++p) {
            const auto digit = static_cast<std::uint64_t>(*p - '0');
            if (magnitude > (limit - digit) / kDecimalBase)
                return false;
            magnitude = magnitude * kDecimalBase + digit;
        }
    }
    // Two's complement negation also covers the most negative value.
    value = static_cast<std::int64_t>(negative ? 0 - magnitude : magnitude);
    return true;
}

const char* SkipSpaces(const char* p, const char* end)
{
    while (p != end && *p == ' ')
        ++p;
    return p;
}

// Overflow or underflow, decided by the position of the first significant digit.
double OutOfRangeMagnitude(std::string_view integer, std::string_view fraction, int exponent)
{
    const std::size_t integerLead = integer.find_first_not_of('0');
    const int scale = integerLead != std::string_view::npos
                          ? static_cast<int>(integer.size() - integerLead)
                          : -static_cast<int>(fraction.find_first_not_of('0'));
    return scale + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
}

// Decimal real: spaces, sign, digits, "." and digits, an exponent whose digits may be missing
// (exponent 0), spaces. Always "." as the decimal point, whatever the locale.
bool ParseDecimalReal(std::string_view text, double& value)
{
    const char* const end = text.data() + text.size();
    bool negative = false;
    const char* const integer = ScanSign(SkipSpaces(text.data(), end), end, negative);
    std::uint64_t mantissa = 0;
    const char* p = ScanDigits(integer, end, mantissa);
    const char* const integerEnd = p;
    const char* fraction = p;
    if (p != end && *p == '.') {
        fraction = p + 1;
        p = ScanDigits(fraction, end, mantissa);
    }
    const char* const fractionEnd = p;
    const auto digitCount = (integerEnd - integer) + (fractionEnd - fraction);
    if (digitCount == 0)
        return false;
    const char* numberEnd = p;
    int exponent = 0;
    if (p != end && (*p == 'E' || *p == 'e')) {
        bool negativeExponent = false;
        const char* const exponentDigits = ScanSign(p + 1, end, negativeExponent);
        for (p = exponentDigits; p != end && IsDigitChar(*p); ++p)
            exponent = std::min(exponent * kDecimalBase + (*p - '0'), kExponentCap);
        if (negativeExponent)
            exponent = -exponent;
        if (p != exponentDigits)
            numberEnd = p;
    }
    if (SkipSpaces(p, end) != end)
        return false;

    double magnitude = 0;
    const auto scale = exponent - (fractionEnd - fraction);
    if (digitCount <= kExactDecimalDigits && mantissa <= kExactMantissaLimit &&
        scale >= -kExactPowerOfTen && scale <= kExactPowerOfTen) {
        // Mantissa and power of ten are both exact doubles, so one rounding gives the
        // correctly rounded result.
        const auto exact = static_cast<double>(mantissa);
        magnitude = scale < 0 ? exact / kPowersOfTen[-scale] : exact * kPowersOfTen[scale];
    } else {
        const auto [last, error] = std::from_chars(integer, numberEnd, magnitude);
        if (last != numberEnd)
            return false;
        if (error == std::errc::result_out_of_range)
            magnitude =
                OutOfRangeMagnitude({integer, integerEnd}, {fraction, fractionEnd}, exponent);
        else if (error != std::errc())
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
    if (unscanned > 0)
        std::memmove(bufferStart, FScanPos, unscanned);
    FFillEnd = bufferStart + unscanned;
    const std::size_t count =
        std::min(static_cast<std::size_t>(bufferEnd - FFillEnd), FText.size() - FStreamPos);
    if (count > 0)
        std::memcpy(FFillEnd, FText.data() + FStreamPos, count);
    FStreamPos += count;
    FFillEnd += count;
    // The old token's bytes may have moved; an empty token keeps TokenView inside the buffer.
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

int TGCodeParser::NextToken()
{
    // Skip blanks; the zero at the text end asks for a refill, and ends the text if the refill
    // brings nothing new.
    unsigned char* p = FScanPos;
    for (;;) {
        const TByteClass byteClass = kByteClass[*p];
        if (byteClass == TByteClass::Blank) {
            ++p;
        } else if (byteClass == TByteClass::Zero) {
            FScanPos = p;
            Refill();
            p = FScanPos;
            if (*p == kZero)
                break;
        } else {
            break;
        }
    }
    FTokenStart = p;
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
        while (IsLetter(*++p)) {}
        code = tkWord;
        break;
    case TByteClass::Digit:
    case TByteClass::Sign:
        while (IsDigit(*++p)) {}
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
        while (*++p != ')' && *p != kLineFeed && *p != kZero) {}
        if (*p == ')')
            ++p;
        code = tkComment;
        break;
    case TByteClass::Blank:  // never here: blanks were skipped
    case TByteClass::Other:
        p = FLenient ? ScanLenientByte(p, code) : p + 1;
        break;
    }
    FScanPos = p;
    FToken = code;
    return code;
}

unsigned char* TGCodeParser::ScanLenientByte(unsigned char* p, int& code) const
{
    if (*p == ';') {
        while (*++p != kLineFeed && *p != kZero) {}
        code = tkComment;
    } else if (*p == '.' && IsDigit(p[1])) {
        for (++p; IsFloatTail(*p); ++p) {}
        code = tkFloat;
    } else {
        ++p;
    }
    return p;
}

unsigned char TGCodeParser::PeekNonBlank() const
{
    const unsigned char* p = FScanPos;
    while (kByteClass[*p] == TByteClass::Blank)
        ++p;
    return *p;
}

std::string TGCodeParser::TokenString() const
{
    return std::string(TokenView());
}

std::int64_t TGCodeParser::TokenInt() const
{
    std::string_view text = TokenView();
    const auto isControlOrSpace = [](char c) {
        return static_cast<unsigned char>(c) <= kLastBlank;
    };
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

void TGCodeParser::ReportUnexpectedToken(int expected)
{
    if (expected == tkWord) {
        Error("Identifier expected");
    } else if (expected == tkInteger || expected == tkFloat) {
        if (!(expected == tkFloat && FToken == tkInteger))  // an Integer passes for a Float
            Error("Number expected");
    } else {
        Error("''" + std::string(1, static_cast<char>(expected)) + "'' expected");
    }
}

void TGCodeParser::Error(const std::string& message)
{
    bool handled = false;
    if (OnError)
        OnError(*this, message, handled);
    if (!handled)
        throw EParserError(message + " on line " + std::to_string(SourceLine));
}
