#include "machine/Notices.h"

#include <algorithm>

namespace {

constexpr std::string_view kKindNames[TNotices::kKindCount] = {
    "cutter compensation",
    "splines",
    "threading",
    "probing",
    "rotary and UVW axes",
    "codes LinuxCNC does not know",
    "words of other dialects",
    "forms of older LinuxCNC versions",
};

}  // namespace

void TNotices::Clear()
{
    FEntries = {};
    FSeen = 0;
}

void TNotices::Add(TNoticeKind kind, std::size_t line, std::string_view name)
{
    TEntry& entry = FEntries[static_cast<std::size_t>(kind)];
    if (!entry.Seen) {
        entry.Seen = true;
        entry.Order = FSeen++;
        entry.FirstLine = line;
    }
    // the reader adds the control flow's notices after the machine's
    entry.FirstLine = std::min(entry.FirstLine, line);
    entry.LastLine = std::max(entry.LastLine, line);
    if (!name.empty() && entry.Names.size() < kNamesKept &&
        std::find(entry.Names.begin(), entry.Names.end(), name) == entry.Names.end())
        entry.Names.emplace_back(name);
}

bool TNotices::Empty() const
{
    return FSeen == 0;
}

std::vector<std::string> TNotices::Texts() const
{
    std::vector<std::string> texts(FSeen);
    for (std::size_t kind = 0; kind < kKindCount; ++kind) {
        const TEntry& entry = FEntries[kind];
        if (!entry.Seen)
            continue;
        std::string text(kKindNames[kind]);
        for (std::size_t i = 0; i < entry.Names.size(); ++i)
            text += (i == 0 ? " (" : ", ") + entry.Names[i];
        if (!entry.Names.empty())
            text += ')';
        text += entry.FirstLine == entry.LastLine
                    ? ", line " + std::to_string(entry.FirstLine + 1)
                    : ", lines " + std::to_string(entry.FirstLine + 1) + "-" +
                          std::to_string(entry.LastLine + 1);
        texts[entry.Order] = std::move(text);
    }
    return texts;
}
