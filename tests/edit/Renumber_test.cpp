// Renumbering: which blocks get N words, how they are written, and that no motion changes.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "edit/Renumber.h"
#include "gcode/GCodeEngine.h"
#include "tests/edit/CorpusFiles.h"

namespace {

using TLines = std::vector<std::string>;

struct TRenumberCase
{
    const char* Name;
    TLines Input;
    TRenumberOptions Options;
    TLines Expected;
};

class TRenumberTest : public ::testing::TestWithParam<TRenumberCase>
{};

TEST_P(TRenumberTest, NumbersTheBlocks)
{
    const TRenumberCase& c = GetParam();
    EXPECT_EQ(Renumber(c.Input, c.Options), c.Expected);
}

const TLines kMixed = {"%",       "(title)", "G21",         "",  "O100 sub",
                       "  G0 X1", "/G1 X2",  "O100 endsub", "M2"};

INSTANTIATE_TEST_SUITE_P(
    Cases, TRenumberTest,
    ::testing::Values(TRenumberCase{"EveryBlockSkippingPercentCommentsBlanksAndOWords",
                                    kMixed,
                                    {TRenumberMode::AllBlocks, 10, 10},
                                    {"%", "(title)", "N10 G21", "", "O100 sub", "  N20 G0 X1",
                                     "/N30 G1 X2", "O100 endsub", "N40 M2"}},
                      TRenumberCase{"LeadingZerosLowerCaseAndTheBlankAfterAreKept",
                                    {"n005\tg0 x1", "g1 x2", "n015\t(comment)", "n020g1x3"},
                                    {TRenumberMode::AllBlocks, 1, 1},
                                    {"n001\tg0 x1", "n002\tg1 x2", "n003\t(comment)", "n004g1x3"}},
                      TRenumberCase{"OnlyNumberedBlocks",
                                    {"N1 G0 X1", "G1 X2", "N7 G1 X3"},
                                    {TRenumberMode::NumberedBlocks, 100, 5},
                                    {"N100 G0 X1", "G1 X2", "N105 G1 X3"}},
                      TRenumberCase{"AtToolChangesOnly",
                                    {"N1 G0 X1", "T2 M06", "G1 X2", "N9 T3 M6"},
                                    {TRenumberMode::ToolChanges, 1, 1},
                                    {"G0 X1", "N1 T2 M06", "G1 X2", "N2 T3 M6"}},
                      TRenumberCase{"Removal",
                                    {"N10 G0 X1", "  N20   G1 X2", "N30", "G1 N40 X3"},
                                    {TRenumberMode::Remove, 0, 1},
                                    {"G0 X1", "  G1 X2", "", "G1 X3"}}),
    [](const auto& info) { return std::string(info.param.Name); });

// The line table rows of a lenient run without the row and N columns, and without the rows
// left empty then: what the program does.
std::vector<std::string> Motions(const TLines& lines)
{
    TGCodeEngine engine;
    engine.SetLenient(true);
    engine.Run(lines);
    TLineTable& table = *engine.Table();
    const int rowColumn = table.ColumnIndex("Line");
    const int numberColumn = table.ColumnIndex("LineNumber");
    std::vector<std::string> rows;
    for (table.MoveFirst(); !table.AtEnd(); table.MoveNext()) {
        std::string row;
        bool empty = true;
        for (int column = 0; column < table.ColumnCount(); ++column) {
            if (column == numberColumn || column == rowColumn)
                continue;
            empty = empty && table.IsNull(column);
            row += table.IsNull(column) ? "," : std::to_string(table.GetFloat(column)) + ",";
        }
        if (!empty)
            rows.push_back(row);
    }
    return rows;
}

TEST(TRenumberCorpusTest, RenumberingChangesNoMotion)
{
    const std::vector<TCorpusProgram> corpus = CorpusPrograms();
    if (corpus.empty())
        GTEST_SKIP() << "no corpus at " << ZORVIT_CORPUS_DIR;
    for (const TCorpusProgram& program : corpus) {
        const std::vector<std::string> before = Motions(program.Lines);
        for (const TRenumberMode mode : {TRenumberMode::AllBlocks, TRenumberMode::Remove}) {
            const TLines renumbered = Renumber(program.Lines, {mode, 5, 5});
            EXPECT_EQ(renumbered.size(), program.Lines.size()) << program.Name;
            EXPECT_EQ(Motions(renumbered), before) << program.Name;
        }
    }
}

}  // namespace
