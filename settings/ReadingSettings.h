#pragma once
// How programs are read, in the settings file's section "Reading": "Lenient" = 1 for lenient
// reading of the transcription, "MachinePath" = 1 for the machine path, "DefaultUnits" = inch
// for programs that name no units. Each key is there only while it differs from its default,
// and the section only while one of them does, so a program that never changes them writes the
// settings file it always wrote.

class TIniFile;

struct TReadingSettings
{
    bool Lenient = false;
    bool MachinePath = false;
    bool InchWhenNoUnits = false;  // millimetres otherwise
};

TReadingSettings ReadReadingSettings(const TIniFile& file);
void WriteReadingSettings(TIniFile& file, const TReadingSettings& settings);
