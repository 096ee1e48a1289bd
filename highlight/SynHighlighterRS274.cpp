#include "highlight/SynHighlighterRS274.h"

#include <cstring>
#include <memory>
#include <utility>

namespace {

constexpr std::string_view kDefaultFilter =
    "RS274/NGC files (*.cnc,*.ngc,*.gcode)|*.cnc;*.ngc;*.gcode";
constexpr std::string_view kLanguageTitle = "RS274";

// Background of reserved words: a light green that has no colour identifier of its own.
constexpr TColor kReservedWordBackground = 0xCCFFCC;

constexpr std::array<std::string_view, 12> kSampleLines = {
    "%",
    "(File: model1.skp)",
    "G90 G20 G49",
    "M3 S8000",
    "(Group: bottom number)",
    "G0 Z   0.050",
    " X  1.220489 Y  0.700108",
    "G1 Z  -0.350 F 100",
    " X  2.171951",
    " Y  2.821507",
    "G17 G3 X  2.652558 Y  3.187273 Z -0.350000 R  1.245539",
    "(Group complete: bottom number)",
};
constexpr std::string_view kSampleLineBreak = "\r\n";

constexpr int kByteValues = 256;

constexpr bool IsUpper(int c)
{
    return c >= 'A' && c <= 'Z';
}
constexpr bool IsLower(int c)
{
    return c >= 'a' && c <= 'z';
}
constexpr bool IsDigit(int c)
{
    return c >= '0' && c <= '9';
}

// The bytes of an identifier run: ".", digits and ASCII letters. Bytes 128 to 255 never count.
constexpr std::array<bool, kByteValues> MakeRunSet()
{
    std::array<bool, kByteValues> table{};
    for (int c = 0; c < kByteValues; ++c)
        table[c] = c == '.' || IsDigit(c) || IsUpper(c) || IsLower(c);
    return table;
}

// Keyword hash of one byte: a letter's place in the alphabet, case ignored; 0 for the rest.
constexpr std::array<std::uint8_t, kByteValues> MakeHashTable()
{
    std::array<std::uint8_t, kByteValues> table{};
    for (int c = 0; c < kByteValues; ++c) {
        if (IsUpper(c))
            table[c] = static_cast<std::uint8_t>(c - 'A' + 1);
        else if (IsLower(c))
            table[c] = static_cast<std::uint8_t>(c - 'a' + 1);
    }
    return table;
}

constexpr std::array<bool, kByteValues> kRunSet = MakeRunSet();
constexpr std::array<std::uint8_t, kByteValues> kHashTable = MakeHashTable();

constexpr bool IsNumberTail(unsigned char c)
{
    return c == '.' || IsDigit(c);
}

constexpr unsigned char kUtf8ContinuationMask = 0xC0;
constexpr unsigned char kUtf8Continuation = 0x80;

// Length of the UTF-8 sequence that a byte starts; 1 for ASCII and for bytes that start none.
constexpr int Utf8SequenceLength(unsigned char lead)
{
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 1;
}

std::unique_ptr<TTokenAttribute> MakeAttribute(std::string name, TColor foreground,
                                               TColor background, TFontStyles style)
{
    auto attribute = std::make_unique<TTokenAttribute>(std::move(name));
    attribute->SetStyle(style);
    attribute->SetForeground(foreground);
    attribute->SetBackground(background);
    return attribute;
}

}  // namespace

TSynRC274Syn::TSynRC274Syn()
    : ArcAttri(RegisterAttribute(MakeAttribute("Arc", clRed, clWindow, 0))),
      AxisAttri(RegisterAttribute(MakeAttribute("Axis", clTeal, clWindow, 0))),
      CommentAttri(RegisterAttribute(MakeAttribute("Comment", clNavy, clWindow, fsItalic))),
      GeneralAttri(RegisterAttribute(MakeAttribute("General", clWindowText, clSilver, fsItalic))),
      IdentifierAttri(RegisterAttribute(MakeAttribute("Identifier", clNavy, clWindow, fsBold))),
      KeyAttri(RegisterAttribute(
          MakeAttribute("Reserved Word", clNone, kReservedWordBackground, fsBold))),
      MiscAttri(RegisterAttribute(MakeAttribute("Misc", clBlue, clWindow, 0))),
      NumberAttri(RegisterAttribute(MakeAttribute("Number", clWindowText, clCream, 0))),
      SpeedAttri(RegisterAttribute(MakeAttribute("Speed", clFuchsia, clWindow, 0))),
      StringAttri(RegisterAttribute(MakeAttribute("String", clRed, clWindow, 0)))
{
    InitKeywordTable();
    InitDispatchTable();
    SetDefaultFilter(std::string(kDefaultFilter));
    FRange = rsPlain;
}

void TSynRC274Syn::InitKeywordTable()
{
    // Each keyword sits at its hash; entries without one give Identifier.
    for (const std::string_view key : {"D", "N", "P", "Q", "T"})
        FKeywords[kHashTable[static_cast<unsigned char>(key.front())]] = key;
}

void TSynRC274Syn::InitDispatchTable()
{
    FProcTable.fill(&TSynRC274Syn::OtherProc);
    const auto both = [this](char upper, TScanProc proc) {
        FProcTable[static_cast<unsigned char>(upper)] = proc;
        FProcTable[static_cast<unsigned char>(upper - 'A' + 'a')] = proc;
    };
    FProcTable['\0'] = &TSynRC274Syn::EndOfLineProc;
    FProcTable['\n'] = &TSynRC274Syn::LineFeedProc;
    FProcTable['\r'] = &TSynRC274Syn::CarriageReturnProc;
    FProcTable['"'] = &TSynRC274Syn::StringProc;
    FProcTable['('] = &TSynRC274Syn::ParenCommentProc;
    for (const char c : {'+', '-', '.', '0', '1', '2', '3', '4', '5', '6', '7', '8', '9'})
        FProcTable[static_cast<unsigned char>(c)] = &TSynRC274Syn::NumberProc;
    FProcTable['/'] = &TSynRC274Syn::SlashProc;
    for (const char c : {'A', 'B', 'C', 'X', 'Y', 'Z'})
        both(c, &TSynRC274Syn::AxisProc);
    for (const char c : {'F', 'S'})
        both(c, &TSynRC274Syn::SpeedProc);
    both('G', &TSynRC274Syn::GeneralProc);
    for (const char c : {'I', 'J', 'K', 'R'})
        both(c, &TSynRC274Syn::ArcProc);
    both('M', &TSynRC274Syn::MiscProc);
    for (const char c : {'D', 'E', 'H', 'L', 'N', 'O', 'P', 'Q', 'T', 'V', 'W'})
        both(c, &TSynRC274Syn::IdentifierProc);
    FProcTable['_'] = &TSynRC274Syn::IdentifierProc;
}

TTokenAttribute* TSynRC274Syn::DefaultAttribute(int role) const
{
    switch (role) {
    case kRoleComment:
        return &CommentAttri;
    case kRoleIdentifier:
        return &IdentifierAttri;
    case kRoleKeyword:
        return &KeyAttri;
    case kRoleString:
        return &StringAttri;
    default:
        return nullptr;
    }
}

bool TSynRC274Syn::IsFilterStored() const
{
    return DefaultFilter() != kDefaultFilter;
}

const TCharSet& TSynRC274Syn::IdentifierChars() const
{
    static const TCharSet chars = [] {
        TCharSet set;
        for (int c = 0; c < kByteValues; ++c)
            set[static_cast<std::size_t>(c)] = kRunSet[c];
        return set;
    }();
    return chars;
}

std::string TSynRC274Syn::SampleText() const
{
    std::string text;
    for (const std::string_view line : kSampleLines) {
        if (!text.empty())
            text += kSampleLineBreak;
        text += line;
    }
    return text;
}

std::string TSynRC274Syn::LanguageTitle() const
{
    return std::string(kLanguageTitle);
}

void TSynRC274Syn::StartLine(std::string_view text, int lineIndex)
{
    FLine.assign(text);
    FLineIndex = lineIndex;
    FRun = 0;
    NextToken();
}

void TSynRC274Syn::NextToken()
{
    FTokenPos = FRun;
    if (FRange == rsBlockComment) {
        BlockCommentBody();
        return;
    }
    // A parenthesised comment or string still open here ended with its token.
    FRange = rsPlain;
    (this->*FProcTable[Current()])();
}

bool TSynRC274Syn::AtLineEnd() const
{
    return FTokenID == tkEndOfLine;
}

std::string TSynRC274Syn::TokenText() const
{
    return FLine.substr(static_cast<std::size_t>(FTokenPos),
                        static_cast<std::size_t>(FRun - FTokenPos));
}

int TSynRC274Syn::TokenStart() const
{
    return FTokenPos;
}

int TSynRC274Syn::TokenKind() const
{
    return FTokenID;
}

TTokenAttribute* TSynRC274Syn::TokenAttribute() const
{
    switch (FTokenID) {
    case tkArc:
        return &ArcAttri;
    case tkAxis:
        return &AxisAttri;
    case tkComment:
        return &CommentAttri;
    case tkGeneral:
        return &GeneralAttri;
    case tkIdentifier:
    case tkOther:
        return &IdentifierAttri;
    case tkKey:
        return &KeyAttri;
    case tkMisc:
        return &MiscAttri;
    case tkNumber:
        return &NumberAttri;
    case tkSpeed:
        return &SpeedAttri;
    case tkString:
        return &StringAttri;
    case tkEndOfLine:
        break;
    }
    return nullptr;
}

TLineState TSynRC274Syn::LineState() const
{
    return FRange;
}

void TSynRC274Syn::SetLineState(TLineState state)
{
    constexpr TLineState kStateMask = 0xFF;
    FRange = static_cast<TRangeState>(state & kStateMask);
}

void TSynRC274Syn::ResetLineState()
{
    FRange = rsPlain;
}

bool TSynRC274Syn::KeepsStartState(std::string_view lines) const
{
    // memchr runs through text without a slash, which G-code seldom has, at memory speed.
    const char* at = lines.data();
    const char* const end = at + lines.size();
    while (const void* slash = std::memchr(at, '/', static_cast<std::size_t>(end - at))) {
        at = static_cast<const char*>(slash) + 1;
        if (at < end && *at == '*')
            return false;
    }
    return true;
}

bool TSynRC274Syn::AtLineEndByte() const
{
    const unsigned char c = Current();
    return c == '\0' || c == '\n' || c == '\r';
}

void TSynRC274Syn::EndOfLineProc()
{
    // Nothing consumed: every further NextToken ends the line again.
    FTokenID = tkEndOfLine;
}

void TSynRC274Syn::LineFeedProc()
{
    FTokenID = tkOther;
    ++FRun;
}

void TSynRC274Syn::CarriageReturnProc()
{
    FTokenID = tkOther;
    ++FRun;
    if (Current() == '\n')
        ++FRun;
}

void TSynRC274Syn::NumberProc()
{
    DigitsAfterLetter(tkNumber);
}

void TSynRC274Syn::GeneralProc()
{
    DigitsAfterLetter(tkGeneral);
}

void TSynRC274Syn::MiscProc()
{
    DigitsAfterLetter(tkMisc);
}

void TSynRC274Syn::DigitsAfterLetter(TtkTokenKind kind)
{
    FTokenID = kind;
    ++FRun;
    while (IsNumberTail(Current()))
        ++FRun;
}

void TSynRC274Syn::AxisProc()
{
    FTokenID = tkAxis;
    ++FRun;
}

void TSynRC274Syn::ArcProc()
{
    FTokenID = tkArc;
    ++FRun;
}

void TSynRC274Syn::SpeedProc()
{
    FTokenID = tkSpeed;
    ++FRun;
}

void TSynRC274Syn::OtherProc()
{
    // A UTF-8 sequence stays one token; it stops early at any byte that does not continue it,
    // so a lead byte at the end of the line never takes the terminating NUL.
    FTokenID = tkOther;
    const int length = Utf8SequenceLength(Current());
    ++FRun;
    for (int i = 1; i < length && (Current() & kUtf8ContinuationMask) == kUtf8Continuation; ++i)
        ++FRun;
}

void TSynRC274Syn::ParenCommentProc()
{
    FTokenID = tkComment;
    ++FRun;
    FRange = rsParenComment;
    CloserBody(')');
}

void TSynRC274Syn::StringProc()
{
    FTokenID = tkString;
    ++FRun;
    FRange = rsString;
    CloserBody('"');
}

void TSynRC274Syn::SlashProc()
{
    ++FRun;
    if (Current() == '*') {
        // The body starts on the "*", so "/*/" is already a complete comment.
        FRange = rsBlockComment;
        BlockCommentBody();
    } else
        FTokenID = tkIdentifier;
}

void TSynRC274Syn::CloserBody(char closer)
{
    // No nesting and no escapes: the first closer ends the token.
    for (;;) {
        if (Current() == static_cast<unsigned char>(closer)) {
            ++FRun;
            FRange = rsPlain;
            return;
        }
        if (!AtLineEndByte())
            ++FRun;
        if (AtLineEndByte())
            return;
    }
}

void TSynRC274Syn::BlockCommentBody()
{
    switch (Current()) {
    case '\0':
        EndOfLineProc();
        return;
    case '\n':
        LineFeedProc();
        return;
    case '\r':
        CarriageReturnProc();
        return;
    default:
        break;
    }
    FTokenID = tkComment;
    do {
        if (Current() == '*' && Next() == '/') {
            FRun += 2;
            FRange = rsPlain;
            return;
        }
        ++FRun;
    } while (!AtLineEndByte());
}

void TSynRC274Syn::IdentifierProc()
{
    FTokenID = IdentifierKind();
    FRun += FStringLen;
    // The underscore has this procedure but is no run byte: it stands alone.
    if (FStringLen == 0)
        ++FRun;
}

TtkTokenKind TSynRC274Syn::IdentifierKind()
{
    FToIdent = FRun;
    int hash = 0;
    int end = FRun;
    while (kRunSet[static_cast<unsigned char>(FLine[end])]) {
        // Past the table the exact sum no longer matters; stopping keeps long runs from
        // overflowing.
        if (hash <= kMaxKeywordHash)
            hash += kHashTable[static_cast<unsigned char>(FLine[end])];
        ++end;
    }
    FStringLen = end - FRun;
    if (hash > kMaxKeywordHash || FKeywords[hash].empty() || !KeyComp(FKeywords[hash]))
        return tkIdentifier;
    return tkKey;
}

bool TSynRC274Syn::KeyComp(std::string_view key) const
{
    if (FStringLen != static_cast<int>(key.size()))
        return false;
    for (int i = 0; i < FStringLen; ++i) {
        if (kHashTable[static_cast<unsigned char>(FLine[FToIdent + i])] !=
            kHashTable[static_cast<unsigned char>(key[static_cast<std::size_t>(i)])])
            return false;
    }
    return true;
}
