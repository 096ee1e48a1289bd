#pragma once
// The RS274/NGC (G-code) highlighter: cuts one line at a time into tokens of twelve kinds and
// gives each the attribute it is drawn with. Only the block comment ("/* ... */") carries over
// from one line to the next; parenthesised comments and strings end with their line.

#include "highlight/Highlighter.h"
#include "highlight/TokenAttribute.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// Token kinds; the numbers are what TokenKind() reports.
enum TtkTokenKind : std::uint8_t {
    tkArc = 0,
    tkAxis = 1,
    tkComment = 2,
    tkGeneral = 3,
    tkIdentifier = 4,
    tkKey = 5,
    tkMisc = 6,
    tkEndOfLine = 7,
    tkNumber = 8,
    tkSpeed = 9,
    tkString = 10,
    tkOther = 11,
};

// Line states; only rsPlain and rsBlockComment are ever left at a line's end.
enum TRangeState : std::uint8_t {
    rsPlain = 0,
    rsParenComment = 1,
    rsBlockComment = 2,
    rsString = 3,
};

class TSynRC274Syn : public THighlighter
{
public:
    // Largest identifier-run hash that can name a keyword: the keyword table has one entry more.
    static constexpr int kMaxKeywordHash = 20;

    TSynRC274Syn();

    TTokenAttribute* DefaultAttribute(int role) const override;
    bool IsFilterStored() const override;
    const TCharSet& IdentifierChars() const override;
    std::string SampleText() const override;
    std::string LanguageTitle() const override;

    void StartLine(std::string_view text, int lineIndex) override;
    void NextToken() override;
    bool AtLineEnd() const override;
    std::string TokenText() const override;
    int TokenStart() const override;
    int TokenKind() const override;
    TTokenAttribute* TokenAttribute() const override;
    TLineState LineState() const override;
    void SetLineState(TLineState state) override;
    void ResetLineState() override;
    // True when the lines hold no "/*", the only way into a state that outlasts a line.
    bool KeepsStartState(std::string_view lines) const override;

    TTokenAttribute& ArcAttri;
    TTokenAttribute& AxisAttri;
    TTokenAttribute& CommentAttri;
    TTokenAttribute& GeneralAttri;
    TTokenAttribute& IdentifierAttri;
    TTokenAttribute& KeyAttri;
    TTokenAttribute& MiscAttri;
    TTokenAttribute& NumberAttri;
    TTokenAttribute& SpeedAttri;
    TTokenAttribute& StringAttri;

private:
    using TScanProc = void (TSynRC274Syn::*)();

    void InitDispatchTable();
    void InitKeywordTable();

    unsigned char Current() const { return static_cast<unsigned char>(FLine[FRun]); }
    unsigned char Next() const { return static_cast<unsigned char>(FLine[FRun + 1]); }
    bool AtLineEndByte() const;

    void EndOfLineProc();
    void LineFeedProc();
    void CarriageReturnProc();
    void NumberProc();
    void GeneralProc();
    void MiscProc();
    void AxisProc();
    void ArcProc();
    void SpeedProc();
    void OtherProc();
    void ParenCommentProc();
    void StringProc();
    void SlashProc();
    void IdentifierProc();

    void DigitsAfterLetter(TtkTokenKind kind);
    void CloserBody(char closer);
    void BlockCommentBody();
    TtkTokenKind IdentifierKind();
    bool KeyComp(std::string_view key) const;

    std::string FLine;  // NUL-terminated by std::string
    int FLineIndex = 0;
    std::array<TScanProc, 256> FProcTable{};
    TRangeState FRange = rsPlain;
    int FRun = 0;        // first byte not yet scanned
    int FStringLen = 0;  // length of the last identifier run measured
    int FToIdent = 0;    // first byte of that run
    int FTokenPos = 0;
    TtkTokenKind FTokenID = tkEndOfLine;
    std::array<std::string_view, kMaxKeywordHash + 1> FKeywords{};
};
