#pragma once
// Whether the interpreter reads leniently, in the settings file: section "Reading", key
// "Lenient" = 1. The section is there only while lenient reading is on, so a program that never
// turns it on writes the settings file it always wrote.

class TIniFile;

bool ReadLenientSetting(const TIniFile& file);
void WriteLenientSetting(TIniFile& file, bool lenient);
