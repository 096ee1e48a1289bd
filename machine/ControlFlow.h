#pragma once
// TControlFlow: the O-word layer of the machine reader, as LinuxCNC 2.9 runs it. It knows where
// each structure of the program is (a label index per file, built once), keeps the call stack
// and the repeat counts, and moves the next line to read for subs, calls, returns, if chains,
// loops and Fanuc-style M98/M99 programs. Subroutine files (o<name> call finding name.ngc in
// the program's folder) are read into memory, never opened in the editor. Blocks of lines that
// run more than once (loop bodies, subs) are kept parsed, so a loop compiles its lines once.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gcode/LineList.h"
#include "machine/Block.h"
#include "machine/LabelIndex.h"
#include "machine/OWord.h"
#include "machine/ReadLimits.h"

class TParameters;

class TControlFlow
{
public:
    // Starts a reading of lines, whose subroutine files are looked for in folder (none when
    // empty), with loops stopped past loopLimit turns. Errors in the program's structure are
    // kept and raised when their line runs.
    void Start(const TLineList& lines, std::filesystem::path folder, std::int64_t loopLimit);

    // The lines being read now: the program's, or a subroutine file's.
    const TLineList& Lines() const { return *Current().Lines; }
    // The name of the subroutine file being read, empty in the program itself.
    const std::string& FileName() const { return Current().Name; }
    // The line of the outermost call that is running, if any.
    std::optional<std::size_t> CallLine() const
    {
        return FFrames.empty() ? std::nullopt : std::optional(FFrames.front().CallLine);
    }

    // The block of a line of the current file; lines read a second time are kept parsed.
    const TBlock& Block(std::size_t line);
    // Carries out the O-word block of a line; next is the line to read after it.
    void OWord(std::size_t line, std::size_t& next, TParameters& parameters);
    // M98 P<program> L<repeats>: calls the numbered program.
    void CallProgram(double program, double repeats, std::size_t line, std::size_t& next,
                     TParameters& parameters);
    // M99: returns from a numbered program or repeats it. False in the main program, which
    // M99 ends (as rs274 reads it).
    bool ReturnFromProgram(std::size_t& next, TParameters& parameters);

    // O labels used again inside one sub, for the notices: line (of the program) and text.
    std::vector<TLabelNotice> Notices() const;

private:
    struct TCachedLine
    {
        ::TBlock Block;
        std::optional<TOWord> Word;
        int Structure = TLabelIndex::kNone;  // of an O-word line
    };

    struct TFile
    {
        const TLineList* Lines = nullptr;
        std::unique_ptr<TLineList> Owned;  // a subroutine file's lines
        std::string Name;
        TLabelIndex Index;
        std::vector<std::pair<std::size_t, std::string>> Errors;  // structure errors by line
        // Per line: 0 never read, 1 read once, else 2 + the index of its parsed block.
        std::vector<std::uint32_t> Slots;
    };

    struct TFrame
    {
        std::size_t File;
        std::size_t ReturnLine;
        std::size_t CallLine;              // in the program, of the outermost call
        std::size_t Repeats;               // the repeat stack's size at the call
        int Program = TLabelIndex::kNone;  // the numbered program an M98 runs, else kNone
        int RunsLeft = 0;                  // of an M98 with L
    };

    struct TRepeat
    {
        std::size_t File;
        int Block;
        std::size_t Depth;  // the call stack's size
        int Left;
    };

    const TFile& Current() const { return FFiles[FCurrent]; }
    TFile& Current() { return FFiles[FCurrent]; }
    std::size_t AddFile(const TLineList& lines, std::unique_ptr<TLineList> owned, std::string name);
    TCachedLine& Cache(std::size_t line);
    const TCachedLine& OWordLine(std::size_t line);
    const TOBlock& Structure(const TCachedLine& cached) const;
    // The line that closes a structure; EMachineError when it has none.
    std::size_t End(const TOBlock& block) const;
    [[noreturn]] void Unclosed(const TOBlock& block) const;
    void Call(const TOWord& word, std::size_t line, std::size_t& next, TParameters& parameters);
    void Return(std::optional<double> value, std::size_t& next, TParameters& parameters);
    void SkipToBranch(const TOBlock& block, std::size_t& next, TParameters& parameters);
    TRepeat* FindRepeat(int block);

    std::deque<TFile> FFiles;
    std::size_t FCurrent = 0;
    std::filesystem::path FFolder;
    std::deque<TCachedLine> FCache;
    ::TBlock FScratch;
    std::vector<TFrame> FFrames;
    std::vector<TRepeat> FRepeats;
    std::vector<double> FArguments;
    TReadLimits FLimits;
};
