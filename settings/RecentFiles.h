#pragma once
// The recently opened files, newest first, at most ten, as the File > Open Recent menu shows
// them; read from and written to the state file.

#include <string>
#include <vector>

class TIniFile;

class TRecentFiles
{
public:
    static constexpr std::size_t kMaxCount = 10;

    const std::vector<std::string>& Names() const { return FNames; }

    // Puts the name first; the same name further down goes, and so does the oldest beyond ten.
    void Add(const std::string& name);
    void Remove(const std::string& name);
    void Clear();

    // Section "Recent Files", keys File1 to File10; empty and repeated values are skipped.
    void Read(const TIniFile& file);
    // Writes all ten keys, the unused ones empty, so that no older entry outlives the list.
    void Write(TIniFile& file) const;

private:
    std::vector<std::string> FNames;
};
