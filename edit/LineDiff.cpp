#include "edit/LineDiff.h"

#include <algorithm>
#include <cstdint>
#include <functional>

namespace {

// Edit steps one middle-snake search may take before the stretch is called one change.
constexpr std::ptrdiff_t kMaxSearchCost = 2048;

class TLineDiffer
{
public:
    TLineDiffer(const std::vector<std::string_view>& left,
                const std::vector<std::string_view>& right);
    std::vector<TDiffHunk> Run();

private:
    struct TPoint
    {
        std::ptrdiff_t X, Y;
    };

    void Compare(std::ptrdiff_t a0, std::ptrdiff_t a1, std::ptrdiff_t b0, std::ptrdiff_t b1);
    bool Split(std::ptrdiff_t a0, std::ptrdiff_t a1, std::ptrdiff_t b0, std::ptrdiff_t b1,
               TPoint& split);

    // Whether line i of the left equals line j of the right: the hashes first, the bytes only
    // when they agree.
    bool Same(std::ptrdiff_t i, std::ptrdiff_t j) const
    {
        return FLeftHashes[i] == FRightHashes[j] && FLeft[i] == FRight[j];
    }

    const std::vector<std::string_view>& FLeft;
    const std::vector<std::string_view>& FRight;
    std::vector<std::size_t> FLeftHashes;
    std::vector<std::size_t> FRightHashes;
    std::vector<bool> FLeftChanged;
    std::vector<bool> FRightChanged;
    std::vector<std::ptrdiff_t> FForward;
    std::vector<std::ptrdiff_t> FBackward;
};

TLineDiffer::TLineDiffer(const std::vector<std::string_view>& left,
                         const std::vector<std::string_view>& right)
    : FLeft(left), FRight(right), FLeftChanged(left.size()), FRightChanged(right.size())
{
    const std::hash<std::string_view> hash;
    FLeftHashes.reserve(left.size());
    for (std::string_view line : left)
        FLeftHashes.push_back(hash(line));
    FRightHashes.reserve(right.size());
    for (std::string_view line : right)
        FRightHashes.push_back(hash(line));
}

void TLineDiffer::Compare(std::ptrdiff_t a0, std::ptrdiff_t a1, std::ptrdiff_t b0,
                          std::ptrdiff_t b1)
{
    while (a0 < a1 && b0 < b1 && Same(a0, b0)) {
        ++a0;
        ++b0;
    }
    while (a0 < a1 && b0 < b1 && Same(a1 - 1, b1 - 1)) {
        --a1;
        --b1;
    }
    TPoint split{};
    if (a0 == a1 || b0 == b1 || !Split(a0, a1, b0, b1, split)) {
        std::fill(FLeftChanged.begin() + a0, FLeftChanged.begin() + a1, true);
        std::fill(FRightChanged.begin() + b0, FRightChanged.begin() + b1, true);
        return;
    }
    Compare(a0, split.X, b0, split.Y);
    Compare(split.X, a1, split.Y, b1);
}

// The point half way along an edit script of least cost, found by Myers' search from both
// ends at once (as diff-match-patch's bisection does). False when the cost exceeds the bound.
bool TLineDiffer::Split(std::ptrdiff_t a0, std::ptrdiff_t a1, std::ptrdiff_t b0, std::ptrdiff_t b1,
                        TPoint& split)
{
    const std::ptrdiff_t n = a1 - a0;
    const std::ptrdiff_t m = b1 - b0;
    const std::ptrdiff_t delta = n - m;
    const bool odd = (delta & 1) != 0;
    const std::ptrdiff_t maxCost = std::min((n + m + 1) / 2, kMaxSearchCost);
    const std::ptrdiff_t offset = maxCost + 1;
    const std::ptrdiff_t length = 2 * offset + 1;
    // forward[k]: furthest x reached on diagonal k = x - y from the start; backward[k]: furthest
    // distance walked back on diagonal k from the end, in reversed coordinates; -1 not yet.
    FForward.assign(static_cast<std::size_t>(length), -1);
    FBackward.assign(static_cast<std::size_t>(length), -1);
    FForward[offset + 1] = 0;
    FBackward[offset + 1] = 0;
    // Diagonals that ran off the edges are not searched again.
    std::ptrdiff_t forwardStart = 0, forwardEnd = 0, backwardStart = 0, backwardEnd = 0;
    for (std::ptrdiff_t d = 0; d < maxCost; ++d) {
        for (std::ptrdiff_t k = -d + forwardStart; k <= d - forwardEnd; k += 2) {
            const std::ptrdiff_t at = offset + k;
            std::ptrdiff_t x = (k == -d || (k != d && FForward[at - 1] < FForward[at + 1]))
                                   ? FForward[at + 1]
                                   : FForward[at - 1] + 1;
            std::ptrdiff_t y = x - k;
            while (x < n && y < m && Same(a0 + x, b0 + y)) {
                ++x;
                ++y;
            }
            FForward[at] = x;
            if (x > n) {
                forwardEnd += 2;
            } else if (y > m) {
                forwardStart += 2;
            } else if (odd) {
                const std::ptrdiff_t back = offset + delta - k;
                if (back >= 0 && back < length && FBackward[back] != -1 &&
                    x >= n - FBackward[back]) {
                    split = {a0 + x, b0 + y};
                    return true;
                }
            }
        }
        for (std::ptrdiff_t k = -d + backwardStart; k <= d - backwardEnd; k += 2) {
            const std::ptrdiff_t at = offset + k;
            std::ptrdiff_t x = (k == -d || (k != d && FBackward[at - 1] < FBackward[at + 1]))
                                   ? FBackward[at + 1]
                                   : FBackward[at - 1] + 1;
            std::ptrdiff_t y = x - k;
            while (x < n && y < m && Same(a1 - 1 - x, b1 - 1 - y)) {
                ++x;
                ++y;
            }
            FBackward[at] = x;
            if (x > n) {
                backwardEnd += 2;
            } else if (y > m) {
                backwardStart += 2;
            } else if (!odd) {
                const std::ptrdiff_t ahead = offset + delta - k;
                if (ahead >= 0 && ahead < length && FForward[ahead] != -1) {
                    const std::ptrdiff_t forwardX = FForward[ahead];
                    if (forwardX >= n - x) {
                        split = {a0 + forwardX, b0 + forwardX - (ahead - offset)};
                        return true;
                    }
                }
            }
        }
    }
    return false;
}

std::vector<TDiffHunk> TLineDiffer::Run()
{
    Compare(0, static_cast<std::ptrdiff_t>(FLeft.size()), 0,
            static_cast<std::ptrdiff_t>(FRight.size()));
    std::vector<TDiffHunk> hunks;
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < FLeft.size() || j < FRight.size()) {
        if (i < FLeft.size() && j < FRight.size() && !FLeftChanged[i] && !FRightChanged[j]) {
            ++i;
            ++j;
            continue;
        }
        TDiffHunk hunk{i, i, j, j};
        while (i < FLeft.size() && FLeftChanged[i])
            ++i;
        while (j < FRight.size() && FRightChanged[j])
            ++j;
        hunk.LeftEnd = i;
        hunk.RightEnd = j;
        hunks.push_back(hunk);
    }
    return hunks;
}

}  // namespace

std::vector<TDiffHunk> DiffLines(const std::vector<std::string_view>& left,
                                 const std::vector<std::string_view>& right)
{
    return TLineDiffer(left, right).Run();
}

std::optional<std::size_t> NeighbourHunk(const std::vector<TDiffHunk>& hunks, std::size_t leftLine,
                                         bool forward)
{
    // A hunk of added lines only is a point before LeftBegin: it counts as on that line.
    const auto after = std::upper_bound(
        hunks.begin(), hunks.end(), leftLine,
        [](std::size_t line, const TDiffHunk& hunk) { return line < hunk.LeftBegin; });
    if (forward)
        return after == hunks.end() ? std::nullopt
                                    : std::optional<std::size_t>(after - hunks.begin());
    auto before = after;
    while (before != hunks.begin()) {
        --before;
        if (std::max(before->LeftEnd, before->LeftBegin + 1) <= leftLine)
            return static_cast<std::size_t>(before - hunks.begin());
    }
    return std::nullopt;
}
