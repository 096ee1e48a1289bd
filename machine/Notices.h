#pragma once
// TNotices: what the machine path does not model, named once per kind with the lines it is on,
// so that a plot drawn from the programmed path is never taken for the machine's.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class TNoticeKind : std::uint8_t {
    CutterCompensation,
    Splines,
    Threading,
    Probing,
    OtherAxes,
    UnknownCodes,
    OtherDialects,
    OlderLinuxCnc,  // forms LinuxCNC 2.9 refuses but older versions read, read as they did
};

class TNotices
{
public:
    static constexpr std::size_t kKindCount = 8;
    static constexpr std::size_t kNamesKept = 5;  // codes or letters named per kind

    void Clear();
    // line is 0-based; name is the code or word that raised it ("G29", "E"), or empty.
    void Add(TNoticeKind kind, std::size_t line, std::string_view name = {});
    bool Empty() const;
    // One text per kind met, in the order first met: "cutter compensation, lines 12-40".
    std::vector<std::string> Texts() const;

private:
    struct TEntry
    {
        bool Seen = false;
        std::size_t Order = 0;
        std::size_t FirstLine = 0;
        std::size_t LastLine = 0;
        std::vector<std::string> Names;
    };

    std::array<TEntry, kKindCount> FEntries{};
    std::size_t FSeen = 0;
};
