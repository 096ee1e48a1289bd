#pragma once
// Reads a program given as lines with the machine reader, keeping its error message.

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "gcode/LineList.h"
#include "machine/MachineReader.h"

struct TReadResult
{
    TMachineReading Reading;
    std::string Error;
};

inline TReadResult Read(const std::vector<std::string>& program,
                        TLengthUnits units = TLengthUnits::Millimetres,
                        std::filesystem::path folder = {})
{
    const TLineList lines(program);
    TMachineReader reader(units);
    reader.SubroutineFolder = std::move(folder);
    TReadResult result;
    try {
        reader.Run(lines);
    } catch (const EMachineError& error) {
        result.Error = error.what();
    }
    result.Reading = reader.TakeResult();
    return result;
}
