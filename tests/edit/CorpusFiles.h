#pragma once
// The real programs of the shared corpus, as lines, for the tests that run the tools on them.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "gcode/LineSplit.h"

struct TCorpusProgram
{
    std::string Name;
    std::vector<std::string> Lines;
};

inline std::vector<TCorpusProgram> CorpusPrograms()
{
    std::vector<TCorpusProgram> programs;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(ZORVIT_CORPUS_DIR, error)) {
        if (entry.path().filename() == "README.md")
            continue;
        std::ifstream file(entry.path(), std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        TCorpusProgram program{entry.path().filename().string(), {}};
        ForEachLine(text.str(), [&](std::string_view line) { program.Lines.emplace_back(line); });
        programs.push_back(std::move(program));
    }
    return programs;
}
