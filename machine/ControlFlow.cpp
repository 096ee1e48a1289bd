#include "machine/ControlFlow.h"

#include <fstream>
#include <sstream>

#include "machine/MachineError.h"
#include "machine/Parameters.h"
#include "machine/SubroutineFile.h"

namespace {

// The first letter of a line's block, past blanks, comments, a block delete and an N word:
// O-word lines are found without reading every line of a long program.
bool StartsWithO(std::string_view line)
{
    std::size_t i = 0;
    const auto skipBlanks = [&] {
        for (;;) {
            while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
                ++i;
            if (i == line.size() || line[i] != '(')
                return;
            const std::size_t close = line.find(')', i);
            i = close == std::string_view::npos ? line.size() : close + 1;
        }
    };
    skipBlanks();
    if (i < line.size() && line[i] == '/')
        ++i;
    skipBlanks();
    if (i < line.size() && (line[i] == 'n' || line[i] == 'N')) {
        ++i;
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '.' ||
                                   (line[i] >= '0' && line[i] <= '9')))
            ++i;
    }
    return i < line.size() && (line[i] == 'o' || line[i] == 'O');
}

constexpr std::uint32_t kReadOnce = 1;
constexpr std::uint32_t kFirstSlot = 2;

}  // namespace

std::size_t TControlFlow::AddFile(const TLineList& lines, std::unique_ptr<TLineList> owned,
                                  std::string name)
{
    TFile& file = FFiles.emplace_back();
    file.Lines = &lines;
    file.Owned = std::move(owned);
    file.Name = std::move(name);
    ::TBlock block;
    bool flow = false;
    for (std::size_t line = 0; line < lines.size(); ++line) {
        if (!StartsWithO(lines[line]))
            continue;
        flow = true;
        try {
            ReadBlock(lines[line], block);
            if (block.Kind == TBlockKind::OWord)
                file.Index.Add(static_cast<int>(line),
                               ParseOWord(std::string_view(block.Text).substr(block.OWordStart)));
        } catch (const EMachineError& error) {
            file.Errors.emplace_back(line, error.what());
        }
    }
    // Only a program with control flow runs lines more than once.
    if (flow)
        file.Slots.assign(lines.size(), 0);
    return FFiles.size() - 1;
}

void TControlFlow::Start(const TLineList& lines, std::filesystem::path folder,
                         std::int64_t loopLimit)
{
    FFiles.clear();
    FCache.clear();
    FFrames.clear();
    FRepeats.clear();
    FLimits = TReadLimits(loopLimit);
    FFolder = std::move(folder);
    FCurrent = AddFile(lines, nullptr, {});
}

const TBlock& TControlFlow::Block(std::size_t line)
{
    TFile& file = Current();
    if (file.Slots.empty()) {
        ReadBlock((*file.Lines)[line], FScratch);
        return FScratch;
    }
    std::uint32_t& slot = file.Slots[line];
    if (slot >= kFirstSlot)
        return FCache[slot - kFirstSlot].Block;
    if (slot == 0) {
        slot = kReadOnce;
        ReadBlock((*file.Lines)[line], FScratch);
        return FScratch;
    }
    return Cache(line).Block;
}

TControlFlow::TCachedLine& TControlFlow::Cache(std::size_t line)
{
    TFile& file = Current();
    TCachedLine& cached = FCache.emplace_back();
    ReadBlock((*file.Lines)[line], cached.Block);
    file.Slots[line] = static_cast<std::uint32_t>(FCache.size() - 1 + kFirstSlot);
    return cached;
}

const TControlFlow::TCachedLine& TControlFlow::OWordLine(std::size_t line)
{
    // O-word lines are few: they are kept parsed from their first run, with their structure.
    TFile& file = Current();
    if (file.Slots.empty())
        file.Slots.assign(file.Lines->size(), 0);
    const std::uint32_t slot = file.Slots[line];
    TCachedLine& cached = slot >= kFirstSlot ? FCache[slot - kFirstSlot] : Cache(line);
    if (cached.Word)
        return cached;
    for (const auto& [errorLine, message] : file.Errors)
        if (errorLine == line)
            throw EMachineError(message);
    if (cached.Block.Kind != TBlockKind::OWord)
        throw EMachineError("O-word expected");
    cached.Word = ParseOWord(std::string_view(cached.Block.Text).substr(cached.Block.OWordStart));
    cached.Structure = file.Index.BlockAt(static_cast<int>(line));
    return cached;
}

const TOBlock& TControlFlow::Structure(const TCachedLine& cached) const
{
    if (cached.Structure == TLabelIndex::kNone)
        throw EMachineError("O-word structure not found");
    return Current().Index.Block(cached.Structure);
}

std::size_t TControlFlow::End(const TOBlock& block) const
{
    if (block.End == TLabelIndex::kNone)
        Unclosed(block);
    return static_cast<std::size_t>(block.End);
}

void TControlFlow::Unclosed(const TOBlock& block) const
{
    const TOWordKind end = block.Kind == TOWordKind::Sub      ? TOWordKind::EndSub
                           : block.Kind == TOWordKind::If     ? TOWordKind::EndIf
                           : block.Kind == TOWordKind::Repeat ? TOWordKind::EndRepeat
                           : block.Kind == TOWordKind::Do     ? TOWordKind::While
                                                              : TOWordKind::EndWhile;
    throw EMachineError(OWordName(block.Label) + " " + std::string(OWordKeyword(block.Kind)) +
                        " without its " + std::string(OWordKeyword(end)));
}

TControlFlow::TRepeat* TControlFlow::FindRepeat(int block)
{
    for (auto it = FRepeats.rbegin(); it != FRepeats.rend(); ++it) {
        if (it->Depth != FFrames.size())
            break;
        if (it->Block == block && it->File == FCurrent)
            return &*it;
    }
    return nullptr;
}

void TControlFlow::OWord(std::size_t line, std::size_t& next, TParameters& parameters)
{
    const TCachedLine& cached = OWordLine(line);
    const TOWord& word = *cached.Word;
    const auto condition = [&] { return word.Value->Evaluate(parameters) != 0; };
    switch (word.Kind) {
    case TOWordKind::Sub: {
        // a definition met in the flow of the program is passed over
        const TOBlock& block = Structure(cached);
        next = End(block) + 1;
        return;
    }
    case TOWordKind::Program:
        return;  // "o100" read in the flow: its body runs on (as in rs274)
    case TOWordKind::EndSub:
    case TOWordKind::Return:
        if (FFrames.empty() || FFrames.back().Program != TLabelIndex::kNone)
            throw EMachineError("not in a subroutine call: '" + OWordName(word.Label) + " " +
                                std::string(OWordKeyword(word.Kind)) + "'");
        Return(word.Value ? std::optional<double>(word.Value->Evaluate(parameters)) : std::nullopt,
               next, parameters);
        return;
    case TOWordKind::Call:
        Call(word, line, next, parameters);
        return;
    case TOWordKind::Do:
        FLimits.CountLoopTurn();
        return;
    case TOWordKind::While: {
        const TOBlock& block = Structure(cached);
        if (block.Kind == TOWordKind::Do) {
            // the while that closes a do: back to the body's first line while it holds
            if (condition()) {
                FLimits.CountLoopTurn();
                next = static_cast<std::size_t>(block.Start) + 1;
            }
            return;
        }
        if (condition()) {
            FLimits.CountLoopTurn();
            return;
        }
        next = End(block) + 1;
        return;
    }
    case TOWordKind::EndWhile:
        next = static_cast<std::size_t>(Structure(cached).Start);
        return;
    case TOWordKind::If:
        if (!condition())
            SkipToBranch(Structure(cached), next, parameters);
        return;
    case TOWordKind::ElseIf:
    case TOWordKind::Else: {
        // reached after the branch before it ran: the chain is done
        const TOBlock& block = Structure(cached);
        next = End(block) + 1;
        return;
    }
    case TOWordKind::EndIf:
        return;
    case TOWordKind::Repeat: {
        const int index = cached.Structure;
        const TOBlock& block = Structure(cached);
        const int count = RepeatCount(word.Value->Evaluate(parameters));
        const std::size_t end = End(block);
        if (count == 0) {
            next = end + 1;
            return;
        }
        FLimits.CountLoopTurn();
        if (TRepeat* running = FindRepeat(index))
            running->Left = count;
        else
            FRepeats.push_back({FCurrent, index, FFrames.size(), count});
        return;
    }
    case TOWordKind::EndRepeat: {
        const TOBlock& block = Structure(cached);
        TRepeat* running = FindRepeat(cached.Structure);
        if (running == nullptr)
            return;
        if (--running->Left > 0) {
            FLimits.CountLoopTurn();
            next = static_cast<std::size_t>(block.Start) + 1;
        } else {
            FRepeats.erase(FRepeats.begin() + (running - FRepeats.data()));
        }
        return;
    }
    case TOWordKind::Break:
    case TOWordKind::Continue: {
        const TOBlock& loop = Structure(cached);
        const std::size_t end = End(loop);
        // continue tests again: a while at its start, a do at its closing while
        if (word.Kind == TOWordKind::Continue)
            next = loop.Kind == TOWordKind::While ? static_cast<std::size_t>(loop.Start) : end;
        else
            next = end + 1;
        return;
    }
    }
}

void TControlFlow::SkipToBranch(const TOBlock& block, std::size_t& next, TParameters& parameters)
{
    for (const int branch : block.Branches) {
        const TOWord& word = *OWordLine(static_cast<std::size_t>(branch)).Word;
        if (word.Kind == TOWordKind::Else || word.Value->Evaluate(parameters) != 0) {
            next = static_cast<std::size_t>(branch) + 1;
            return;
        }
    }
    next = End(block) + 1;
}

void TControlFlow::Call(const TOWord& word, std::size_t line, std::size_t& next,
                        TParameters& parameters)
{
    // Arguments are read in the caller's scope, before the call changes #1-#30.
    FArguments.clear();
    for (const TExpression& argument : word.Arguments)
        FArguments.push_back(argument.Evaluate(parameters));
    const std::string label = word.LabelNow(parameters);

    // The sub in the current file, in the program, in a file read before, or in name.ngc.
    std::size_t file = FCurrent;
    int sub = Current().Index.Sub(label);
    for (std::size_t i = 0; sub == TLabelIndex::kNone && i < FFiles.size(); ++i) {
        sub = FFiles[i].Index.Sub(label);
        file = i;
    }
    if (sub == TLabelIndex::kNone) {
        const std::optional<std::filesystem::path> path =
            FFolder.empty() ? std::nullopt : FindSubroutineFile(FFolder, label);
        if (!path)
            throw EMachineError("Unknown subroutine " + OWordName(label) + ": no " +
                                OWordName(label) + " sub in the program and no " + label +
                                ".ngc beside it");
        std::ifstream stream(*path, std::ios::binary);
        std::ostringstream text;
        text << stream.rdbuf();
        if (!stream)
            throw EMachineError("Cannot read " + path->filename().string());
        auto lines = std::make_unique<TLineList>(text.str());
        const TLineList& added = *lines;
        file = AddFile(added, std::move(lines), path->filename().string());
        sub = FFiles[file].Index.Sub(label);
        if (sub == TLabelIndex::kNone)
            throw EMachineError(path->filename().string() + " defines no " + OWordName(label) +
                                " sub");
    }
    const TOBlock& block = FFiles[file].Index.Block(sub);
    End(block);  // a sub without endsub is refused before it runs

    FLimits.EnterCall();
    const std::size_t callLine = FFrames.empty() ? line : FFrames.front().CallLine;
    FFrames.push_back({FCurrent, line + 1, callLine, FRepeats.size()});
    parameters.Call(FArguments.data(), static_cast<int>(FArguments.size()));
    FCurrent = file;
    next = static_cast<std::size_t>(block.Start) + 1;
}

void TControlFlow::Return(std::optional<double> value, std::size_t& next, TParameters& parameters)
{
    const TFrame frame = FFrames.back();
    FFrames.pop_back();
    FRepeats.resize(frame.Repeats);
    parameters.Return(value);
    FLimits.LeaveCall();
    FCurrent = frame.File;
    next = frame.ReturnLine;
}

void TControlFlow::CallProgram(double program, double repeats, std::size_t line, std::size_t& next,
                               TParameters& parameters)
{
    const std::string label = std::to_string(TExpression::ToInteger(program));
    const int index = FFiles.front().Index.Program(label);
    if (index == TLabelIndex::kNone)
        throw EMachineError("Unknown numbered program O" + label + " for M98");
    const int runs = RepeatCount(repeats);
    if (runs == 0)
        return;  // M98 L0 runs nothing
    FLimits.EnterCall();
    FLimits.CountLoopTurn();
    const std::size_t callLine = FFrames.empty() ? line : FFrames.front().CallLine;
    FFrames.push_back({FCurrent, line + 1, callLine, FRepeats.size(), index, runs});
    // #1-#30 stay shared with the caller in a numbered program
    parameters.Call(nullptr, 0, false);
    FCurrent = 0;
    next = static_cast<std::size_t>(FFiles.front().Index.Block(index).Start) + 1;
}

bool TControlFlow::ReturnFromProgram(std::size_t& next, TParameters& parameters)
{
    if (FFrames.empty())
        return false;
    TFrame& frame = FFrames.back();
    if (frame.Program == TLabelIndex::kNone)
        throw EMachineError("M99 ends a numbered program, not an O-word sub");
    if (--frame.RunsLeft > 0) {
        FLimits.CountLoopTurn();
        next = static_cast<std::size_t>(FFiles.front().Index.Block(frame.Program).Start) + 1;
        return true;
    }
    Return(std::nullopt, next, parameters);
    return true;
}

std::vector<TLabelNotice> TControlFlow::Notices() const
{
    return FFiles.empty() ? std::vector<TLabelNotice>{} : FFiles.front().Index.Notices();
}
