// The editing tools over any bytes: refusals are results; a crash, a changed line count of a
// transform, or a comparison that does not account for every line is a finding.

#include "common/Error.h"
#include "edit/LineDiff.h"
#include "edit/Renumber.h"
#include "edit/Tidy.h"
#include "edit/Transform.h"
#include "edit/WordHelp.h"
#include "tests/fuzz/FuzzLines.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string_view> views = SplitEditorLines(text);
    const std::vector<std::string> lines(views.begin(), views.end());
    for (const TPlaneTransform& transform :
         {TPlaneTransform::Mirror(true, false), TPlaneTransform::Rotation(30, 1, 2),
          TPlaneTransform::Translation(1.5, -2, 0.25), TPlaneTransform::Scaling(2.5)}) {
        try {
            if (TransformProgram(lines, transform).size() != lines.size())
                std::abort();
        } catch (const EZorvitError&) {}
    }
    const std::vector<std::string> renumbered = Renumber(lines, {TRenumberMode::AllBlocks, 10, 10});
    if (renumbered.size() != lines.size())
        std::abort();
    const TTidyResult tidied = Tidy(lines, {TWordSpacing::None, true, TCommentRemoval::All, true});
    if (tidied.Lines.size() > lines.size())
        std::abort();
    std::size_t left = 0;
    std::size_t right = 0;
    const std::vector<std::string_view> renumberedViews(renumbered.begin(), renumbered.end());
    for (const TDiffHunk& hunk : DiffLines(views, renumberedViews)) {
        // Between two runs the lines are equal, and as many on each side.
        if (hunk.LeftBegin - left != hunk.RightBegin - right || hunk.LeftEnd > views.size())
            std::abort();
        for (; left < hunk.LeftBegin; ++left, ++right)
            if (views[left] != renumberedViews[right])
                std::abort();
        left = hunk.LeftEnd;
        right = hunk.RightEnd;
    }
    for (std::size_t column = 0; column <= views.front().size(); ++column)
        WordAt(views.front(), column);
    return 0;
}
