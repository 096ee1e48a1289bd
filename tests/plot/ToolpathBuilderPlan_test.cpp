// The toolpath builder fed with the machine path's plan: segments in the motion colours, each
// with its source line and call line, and source lines that go back (loops and subroutines) still
// leading to their segments.

#include "plot/ToolpathBuilder.h"

#include "machine/Plan.h"
#include "plot/GLRecorder.h"
#include "plot/PlotView.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr std::array<TColor, 4> kColours{0x10, 0x20, 0x30, 0x40};

TPlanPoint At(float x, float y, std::uint32_t line, std::uint32_t callLine, std::uint8_t mode)
{
    return {{x, y, 0}, line, callLine, mode};
}

class ToolpathBuilderPlanTest : public ::testing::Test
{
protected:
    TGLRecorder Gl;
    TPlotView View{Gl};
    TToolpathBuilder Builder{View, kColours};
};

TEST_F(ToolpathBuilderPlanTest, EachPointAfterTheFirstEndsASegmentInItsModesColour)
{
    auto plan = std::make_shared<TPathPlan>();
    // A subroutine (lines 1-2) called from line 5 twice: its lines come back.
    plan->Points = {At(0, 0, 0, 0, 0),   At(0, 20.4f, 4, 4, 0), At(10, 20, 1, 5, 1),
                    At(12, 18, 2, 5, 2), At(14, 20, 2, 5, 3),   At(20, 20, 1, 6, 1)};
    Builder.SetPlan(plan);

    const TSegmentList& segments = View.Segments();
    ASSERT_EQ(segments.size(), 5u);
    EXPECT_EQ(segments[0].to.y, 20.4f);
    EXPECT_EQ(segments[2].from.x, 10.0f);
    const TColor expected[] = {0x10, 0x20, 0x30, 0x40, 0x20};
    for (std::size_t i = 0; i < segments.size(); ++i)
        EXPECT_EQ(segments[i].colour, expected[i]) << i;

    const TSourceLines& lines = Builder.SegmentLines();
    EXPECT_EQ(lines.LineOf(4), 1u);
    EXPECT_EQ(Builder.SegmentCallLines().LineOf(4), 6u);
    const TIndexRange body = lines.IndicesOf(2);
    EXPECT_EQ(body.first, 2u);
    EXPECT_EQ(body.count, 2u);
    EXPECT_EQ(lines.IndicesOf(1).first, 1u) << "the first run of a line that comes back";
    EXPECT_EQ(lines.IndicesOf(5).count, 0u);
    const TIndexRange call = Builder.SegmentCallLines().IndicesOf(5);
    EXPECT_EQ(call.first, 1u);
    EXPECT_EQ(call.count, 3u);

    // A table afterwards drops the plan and its call lines.
    Builder.SetLineTable(nullptr);
    EXPECT_TRUE(View.Segments().empty());
    EXPECT_EQ(Builder.SegmentCallLines().Size(), 0u);
}

}  // namespace
