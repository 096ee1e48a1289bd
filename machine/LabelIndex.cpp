#include "machine/LabelIndex.h"

#include <algorithm>

#include "machine/MachineError.h"

namespace {

std::string Described(const TOWord& word)
{
    return "'" + OWordName(word.Label) + " " + std::string(OWordKeyword(word.Kind)) + "'";
}

}  // namespace

std::string TLabelIndex::ScopedLabel(std::string_view label) const
{
    return std::to_string(FScope) + '/' + std::string(label);
}

void TLabelIndex::Undefined(const TOWord& word) const
{
    throw EMachineError("undefined O-word label: " + Described(word));
}

int TLabelIndex::Find(const TOWord& word, std::initializer_list<TOWordKind> kinds) const
{
    const auto found = FLatest.find(ScopedLabel(word.Label));
    if (found == FLatest.end())
        return kNone;
    const TOBlock& block = Block(found->second);
    const bool kind = std::find(kinds.begin(), kinds.end(), block.Kind) != kinds.end();
    return kind && block.End == kNone ? found->second : kNone;
}

int TLabelIndex::Open(int line, const TOWord& word, TOWordKind kind)
{
    const std::string key = ScopedLabel(word.Label);
    const auto latest = FLatest.find(key);
    if (latest != FLatest.end()) {
        const TOBlock& earlier = Block(latest->second);
        if (earlier.End == kNone)
            throw EMachineError("duplicate O-word label - already defined in line " +
                                std::to_string(earlier.Start) + ": " + Described(word));
        FNotices.push_back({line, OWordName(word.Label) + " used again"});
    }
    const int index = static_cast<int>(FBlocks.size());
    FBlocks.push_back({kind, word.Label, line, kNone, {}});
    FLatest[key] = index;
    FBlockAtLine[line] = index;
    return index;
}

void TLabelIndex::Add(int line, const TOWord& word)
{
    if (word.IndirectLabel && word.Kind != TOWordKind::Call)
        throw EMachineError("A computed O-word label is read only in a call");
    const auto inSub = [this] { return FScope != kNone && Block(FScope).Kind == TOWordKind::Sub; };
    const auto close = [this, line](int index) {
        FBlocks[static_cast<std::size_t>(index)].End = line;
        FBlockAtLine[line] = index;
    };
    int index = kNone;
    switch (word.Kind) {
    case TOWordKind::Sub:
    case TOWordKind::Program: {
        if (inSub())
            throw EMachineError("Nested subroutine definition");
        auto& defined = word.Kind == TOWordKind::Sub ? FSubs : FPrograms;
        if (defined.contains(word.Label))
            throw EMachineError("redefining sub: " + OWordName(word.Label) + " already defined");
        FScope = kNone;  // a numbered program ends where the next one starts
        index = static_cast<int>(FBlocks.size());
        FBlocks.push_back({word.Kind, word.Label, line, kNone, {}});
        FBlockAtLine[line] = index;
        defined[word.Label] = index;
        FScope = index;
        return;
    }
    case TOWordKind::EndSub:
    case TOWordKind::Return:
        if (!inSub())
            throw EMachineError("not in a subroutine definition: " + Described(word));
        if (word.Kind == TOWordKind::Return) {
            FBlockAtLine[line] = FScope;
        } else {
            close(FScope);
            FScope = kNone;
        }
        return;
    case TOWordKind::Call:
        return;
    case TOWordKind::If:
    case TOWordKind::Do:
    case TOWordKind::Repeat:
        Open(line, word, word.Kind);
        return;
    case TOWordKind::While:
        index = Find(word, {TOWordKind::Do});
        if (index != kNone)
            close(index);
        else
            Open(line, word, TOWordKind::While);
        return;
    case TOWordKind::ElseIf:
    case TOWordKind::Else:
        index = Find(word, {TOWordKind::If});
        if (index == kNone)
            Undefined(word);
        FBlocks[static_cast<std::size_t>(index)].Branches.push_back(line);
        FBlockAtLine[line] = index;
        return;
    case TOWordKind::EndIf:
    case TOWordKind::EndWhile:
    case TOWordKind::EndRepeat: {
        const TOWordKind opening = word.Kind == TOWordKind::EndIf      ? TOWordKind::If
                                   : word.Kind == TOWordKind::EndWhile ? TOWordKind::While
                                                                       : TOWordKind::Repeat;
        index = Find(word, {opening});
        if (index == kNone)
            Undefined(word);
        close(index);
        return;
    }
    case TOWordKind::Break:
    case TOWordKind::Continue:
        // LinuxCNC 2.9 leaves only while and do loops this way, not repeat
        index = Find(word, {TOWordKind::While, TOWordKind::Do});
        if (index == kNone)
            throw EMachineError("no matching while/do label: " + Described(word));
        FBlockAtLine[line] = index;
        return;
    }
}

int TLabelIndex::BlockAt(int line) const
{
    const auto found = FBlockAtLine.find(line);
    return found == FBlockAtLine.end() ? kNone : found->second;
}

int TLabelIndex::Sub(std::string_view label) const
{
    const auto found = FSubs.find(std::string(label));
    return found == FSubs.end() ? kNone : found->second;
}

int TLabelIndex::Program(std::string_view label) const
{
    const auto found = FPrograms.find(std::string(label));
    return found == FPrograms.end() ? kNone : found->second;
}
