#pragma once
// TGCodeParser cuts G-code text into tokens: words, numbers, comments, "%", newlines and single
// bytes. It scans through a fixed window of kBufferSize bytes that is refilled from the text as
// scanning goes on, so a line can be at most kBufferSize - 1 bytes long.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "gcode/GCodeErrors.h"

class TGCodeParser
{
public:
    // Token codes. Any other code is a single byte standing for itself; code 2 never occurs.
    static constexpr int tkEnd = 0;
    static constexpr int tkWord = 1;
    static constexpr int tkInteger = 3;
    static constexpr int tkFloat = 4;
    static constexpr int tkComment = 5;
    static constexpr int tkPercent = 6;
    static constexpr int tkNewline = 7;

    static constexpr std::size_t kBufferSize = 4096;  // bytes in the scanning window

    // Error hook: may set the flag to absorb an error; the reporting operation then goes on.
    using TErrorHook =
        std::function<void(TGCodeParser& sender, const std::string& message, bool& handled)>;

    TGCodeParser();
    TGCodeParser(const TGCodeParser&) = delete;
    TGCodeParser& operator=(const TGCodeParser&) = delete;

    // In lenient reading ";" starts a comment that runs to the end of the line, and a number may
    // start with "." (".5" is one Float token). Off by default.
    void SetLenient(bool lenient) { FLenient = lenient; }

    // Starts a new text, dropping what is left of the previous one; returns the first token.
    int SetLine(std::string_view text);
    int NextToken();
    int Token() const { return FToken; }

    // The bytes of the current token; the view is valid until the next token is scanned.
    std::string_view TokenView() const
    {
        return {reinterpret_cast<const char*>(FTokenStart),
                static_cast<std::size_t>(FScanPos - FTokenStart)};
    }
    std::string TokenString() const;
    // Where the current token starts in the text given to SetLine.
    std::size_t TokenOffset() const
    {
        return FStreamPos - static_cast<std::size_t>(FFillEnd - FTokenStart);
    }
    // The next byte after the current token that is not a blank; zero at the end of the window.
    unsigned char PeekNonBlank() const;
    std::int64_t TokenInt() const;
    double TokenFloat() const;

    // Reports an error unless the current token fits the expected code (an Integer fits where a
    // Float is expected).
    void CheckToken(int expected)
    {
        if (FToken != expected)
            ReportUnexpectedToken(expected);
    }
    // Passes the message to OnError and, unless the hook absorbs it, raises EParserError.
    void Error(const std::string& message);

    std::int32_t SourceLine = 1;  // line number quoted in error messages
    TErrorHook OnError;

private:
    void ReportUnexpectedToken(int expected);
    void Reset();
    void Refill();
    // The lenient reading of a byte that strict reading takes as a single-byte token.
    unsigned char* ScanLenientByte(unsigned char* p, int& code) const;

    std::string FText;           // copy of the current text, read front to back by Refill
    std::size_t FStreamPos = 0;  // next byte of FText to read into the window
    std::array<unsigned char, kBufferSize> FBuffer{};
    unsigned char* FFillEnd;  // just after the last byte read from FText
    unsigned char* FScanPos;  // next byte to examine
    unsigned char* FTextEnd;  // end of the scannable text; holds a zero
    unsigned char* FTokenStart;
    unsigned char FSavedByte = 0;  // the byte that the zero at FTextEnd replaced
    int FToken = tkEnd;
    bool FLenient = false;
};
