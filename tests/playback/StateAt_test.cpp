// The state after a line from the indexes equals a fresh reading of the program up to that line,
// for every line of corpus programs and of programs that change offsets, units and cycles.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gcode/GCodeEngine.h"
#include "gcode/LineList.h"
#include "machine/MachineReader.h"
#include "playback/MachineStateIndex.h"
#include "playback/StateText.h"
#include "playback/TableStateIndex.h"

namespace {

const char* const kPrograms[] = {
    "machine/corpus/cncjs-helical-thread-milling.gcode",
    "machine/corpus/cncjs-t2laser.nc",
    "machine/corpus/ugs-ruler.gcode",
    "machine/cycle-g88.ngc",
    "machine/cycles-g91-g98.ngc",
    "machine/units-offsets.ngc",
    "machine/rotation-g52.ngc",
    "machine/flow-subs.ngc",
    "machine/g92-g18.ngc",
    "machine/tool-changes.ngc",
    "machine/g43.ngc",
    "machine-error.ngc",
};

std::string ReadFile(const std::string& name)
{
    std::ifstream file(std::string(ZORVIT_TEST_DATA) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

struct TStop
{};

// A fresh reading that stops once the line is first carried out: the state it leaves.
TMachineStateAt FreshMachineState(const TLineList& lines, std::size_t line)
{
    TMachineReader reader;
    TMachineStateAt state;
    state.Line = line;
    reader.OnLineRead = [&](std::size_t read, const TMachine& machine) {
        state.Machine = machine.MachinePosition();
        state.Modes = machine.Modes();
        state.Work = WorkPosition(state.Modes, state.Machine);
        EXPECT_EQ(state.Work, machine.ProgramPosition());
        if (read == line) {
            state.Reached = true;
            throw TStop();
        }
    };
    try {
        reader.Run(lines);
    } catch (const TStop&) {
    } catch (const EMachineError&) {}
    return state;
}

// A reading of the program with the state after each line kept; it ends at an error.
struct TIndexedReading
{
    TMachineStateIndex Index;
    TMachineReading Reading;
};

TIndexedReading ReadIndexed(const TLineList& lines)
{
    TMachineReader reader;
    TIndexedReading result{TMachineStateIndex(lines.size()), {}};
    reader.OnLineRead = [&result](std::size_t line, const TMachine& machine) {
        result.Index.Record(line, machine);
    };
    try {
        reader.Run(lines);
    } catch (const EMachineError&) {}
    result.Reading = reader.TakeResult();
    return result;
}

class TStateAtTest : public testing::TestWithParam<const char*>
{};

TEST_P(TStateAtTest, MachineIndexEqualsAFreshReadingAtEveryLine)
{
    const TLineList lines(ReadFile(GetParam()));
    ASSERT_GT(lines.size(), 3u);
    const auto [index, reading] = ReadIndexed(lines);
    for (std::size_t line = 0; line < lines.size() + 1; ++line) {
        const TMachineStateAt fast = index.At(line, reading.Motions);
        const TMachineStateAt fresh = FreshMachineState(lines, line);
        ASSERT_EQ(fast, fresh) << "line " << line + 1 << "\n"
                               << FormatMachineState(fast) << "--\n"
                               << FormatMachineState(fresh);
    }
}

TEST_P(TStateAtTest, TableIndexEqualsAFreshWalkAtEveryLine)
{
    const std::string text = ReadFile(GetParam());
    const auto run = [](TGCodeEngine& engine, const std::string& program) {
        engine.SetLenient(true);
        try {
            engine.Run(TLineList(program));
        } catch (const std::exception&) {}
    };
    TGCodeEngine engine;
    run(engine, text);
    const std::size_t count = engine.LineCount();
    const TLineList lines(text);
    // A stride of a few rows puts most lines past a snapshot.
    const TTableStateIndex index(engine, 3);
    for (std::size_t line = 0; line < count + 1; ++line) {
        // The program cut after the line, walked from its first row.
        std::string head;
        for (std::size_t i = 0; i <= line && i < count; ++i)
            head += std::string(lines[i]) + "\n";
        TGCodeEngine fresh;
        run(fresh, head);
        const TTableStateIndex whole(fresh, count + 1);
        ASSERT_EQ(index.At(line), whole.At(line)) << "line " << line + 1 << "\n"
                                                  << FormatTableState(index.At(line));
    }
}

INSTANTIATE_TEST_SUITE_P(Programs, TStateAtTest, testing::ValuesIn(kPrograms),
                         [](const testing::TestParamInfo<const char*>& info) {
                             std::string name = std::filesystem::path(info.param).stem().string();
                             for (char& c : name)
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

TEST(StateText, MachineStateInTheUnitsInForce)
{
    const TLineList lines(std::string("G20 G55 F10 S200 T3 M6\nG10 L2 P2 X1\nG0 X2 Y1\n"
                                      "G81 X3 R0.1 Z-0.5\nM2\n"));
    const auto [index, reading] = ReadIndexed(lines);
    const std::string text = FormatMachineState(index.At(3, reading.Motions));
    for (const char* expected :
         {"line: 4\n", "reached: yes\n", "position: X3 Y1 Z0.1\n", "machine position: X4 Y1 Z0.1\n",
          "feed: 10\n", "spindle: 200\n", "tool: 3\n", "motion: G81\n", "units: G20\n",
          "coordinate system: G55\n", "work offset: X1 Y0 Z0\n", "cycle: G81 R0.1 Z-0.5 Q0 P0\n"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "in\n" << text;
    EXPECT_NE(FormatMachineState(index.At(9, reading.Motions)).find("reached: no\nposition: X3"),
              std::string::npos);
}

// On its way the readout shows where the tool is, in the work and machine frames and the units
// in force, with the modes of the block it is in.
TEST(StateText, OnTheWayThePositionIsTheTools)
{
    const std::string program = "G20 G55 F10\nG10 L2 P2 X1\nG0 X2 Y1\nG1 Z-1\n";
    const TLineList lines(program);
    const auto [index, reading] = ReadIndexed(lines);
    TGCodeEngine engine;
    engine.SetLenient(true);
    engine.Run(lines);
    const TTableStateIndex table(engine);
    const struct
    {
        std::string Text;
        std::vector<std::string> Expected;
    } kCases[] = {
        {FormatMachineState(index.At(2, reading.Motions), TVector3{38.1, 12.7, 0}),
         {"line: 3\n", "position: X0.5 Y0.5 Z0\n", "machine position: X1.5 Y0.5 Z0\n",
          "motion: G0\n"}},
        {FormatMachineState(index.At(3, reading.Motions), TVector3{76.2, 25.4, -12.7}),
         {"position: X2 Y1 Z-0.5\n", "machine position: X3 Y1 Z-0.5\n", "motion: G1\n"}},
        {FormatTableState(table.At(2), TVector3{1, 0.5, 0}),
         {"line: 3\n", "position: X1 Y0.5 Z0\n", "motion: G0\n"}},
    };
    for (const auto& c : kCases) {
        for (const std::string& expected : c.Expected)
            EXPECT_NE(c.Text.find(expected), std::string::npos) << expected << "in\n" << c.Text;
    }
}

}  // namespace
