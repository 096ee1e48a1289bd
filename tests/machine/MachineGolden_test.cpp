// Every program of tests/data/machine (and its corpus/ folder) read by the machine path gives
// the motions that LinuxCNC's rs274 gives, as scripts/golden-machine.py wrote them beside it.
// On a mismatch the motions read are written as NAME.new next to the expected file.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "gcode/LineList.h"
#include "machine/MachineReader.h"
#include "machine/MotionText.h"

namespace {

namespace fs = std::filesystem;

constexpr double kToleranceMm = 0.001;
// rs274 prints an inch program's moves to 0.0001 inch, so its figures are only that close.
constexpr double kInchPrintToleranceMm = 0.00005 * 25.4 + kToleranceMm / 10;

// LinuxCNC's sample programs stay in the shared corpus folder beside the project; only their
// expected motions are in tests/data/machine/linuxcnc.
const fs::path kLinuxCncFolder = "linuxcnc";

fs::path CorpusFolder()
{
    return fs::path(ZORVIT_SOURCE_DIR) / ".." / "shared" / "corpus";
}

std::vector<std::string> Programs()
{
    std::vector<std::string> names;
    const fs::path root = fs::path(ZORVIT_TEST_DATA) / "machine";
    for (const fs::directory_entry& entry : fs::directory_iterator(root / kLinuxCncFolder)) {
        if (entry.path().extension() == ".motions")
            names.push_back((kLinuxCncFolder / entry.path().stem()).string() + ".ngc");
    }
    for (const fs::path& folder : {root, root / "corpus"}) {
        if (!fs::is_directory(folder))
            continue;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
            const std::string extension = entry.path().extension().string();
            if (entry.is_regular_file() && extension != ".motions" && extension != ".new" &&
                extension != ".md")
                names.push_back(fs::relative(entry.path(), root).string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadFile(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::istringstream stream(text);
    for (std::string part; std::getline(stream, part, separator);) {
        if (!part.empty())
            parts.push_back(part);
    }
    return parts;
}

// Same words, and numbers within the tolerance; the 1-based line of the first difference or 0.
std::size_t FirstDifference(const std::string& expected, const std::string& actual,
                            double tolerance)
{
    const std::vector<std::string> expectedLines = Split(expected, '\n');
    const std::vector<std::string> actualLines = Split(actual, '\n');
    for (std::size_t i = 0; i < std::max(expectedLines.size(), actualLines.size()); ++i) {
        if (i >= expectedLines.size() || i >= actualLines.size())
            return i + 1;
        const std::vector<std::string> want = Split(expectedLines[i], ' ');
        const std::vector<std::string> got = Split(actualLines[i], ' ');
        if (want.size() != got.size())
            return i + 1;
        for (std::size_t w = 0; w < want.size(); ++w) {
            const bool number = want[w].find('.') != std::string::npos;
            if (number ? std::fabs(std::strtod(want[w].c_str(), nullptr) -
                                   std::strtod(got[w].c_str(), nullptr)) > tolerance
                       : want[w] != got[w])
                return i + 1;
        }
    }
    return 0;
}

class TMachineGoldenTest : public testing::TestWithParam<std::string>
{};

TEST_P(TMachineGoldenTest, MotionsMatchLinuxCnc)
{
    fs::path program = fs::path(ZORVIT_TEST_DATA) / "machine" / GetParam();
    fs::path expectedPath = program;
    expectedPath.replace_extension(".motions");
    if (fs::path(GetParam()).parent_path() == kLinuxCncFolder) {
        program = CorpusFolder() / program.filename();
        if (!fs::exists(program))
            GTEST_SKIP() << program << " missing: the shared corpus is not beside the project";
    }
    ASSERT_TRUE(fs::exists(expectedPath))
        << expectedPath << " missing: run scripts/golden-machine.py";

    const TLineList lines(ReadFile(program));
    TMachineReader reader;
    reader.SubroutineFolder = program.parent_path();
    EXPECT_NO_THROW(reader.Run(lines));
    const TMachineReading reading = reader.TakeResult();
    const std::string actual = FormatMotions(reading.Motions);
    const double tolerance =
        reading.Facts.Units == TLengthUnits::Inches ? kInchPrintToleranceMm : kToleranceMm;

    fs::path newPath = expectedPath;
    newPath.replace_extension(".new");
    const std::size_t difference = FirstDifference(ReadFile(expectedPath), actual, tolerance);
    if (difference != 0)
        std::ofstream(newPath, std::ios::binary) << actual;
    else
        fs::remove(newPath);
    EXPECT_EQ(difference, 0u) << "first difference on motion " << difference << "; see " << newPath;
}

INSTANTIATE_TEST_SUITE_P(Programs, TMachineGoldenTest, testing::ValuesIn(Programs()),
                         [](const testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             }
                             return name;
                         });

}  // namespace
