#pragma once
// The help text of G-code words, shown when the pointer rests on a word. It comes from a text
// file installed with Zorvit (share/zorvit/word-help) and a file of the same name in the user's
// config folder, whose entries replace or add to the installed ones. Each line is a word, blanks
// and its text; "#" starts a comment line. A word is a letter with a code ("G2", "M3", "G38.2")
// or a letter alone ("X"), which also answers for codes that have no entry of their own.

#include <string>
#include <string_view>
#include <unordered_map>

class TWordHelp
{
public:
    // Adds the entries of a help text; later entries replace earlier ones of the same word.
    void Add(std::string_view text);
    // Adds the file's entries; false when it cannot be read (a missing user file is normal).
    bool AddFile(const std::string& path);

    // The help of the word as written ("g01", "G1", "X-2.5"), with the word it was found under
    // ("G1: ..."); empty when there is none.
    std::string Lookup(std::string_view word) const;

    // The key a word is found under: "G1" for "g01", "G38.2" for "G38.2", "X" for "X5".
    static std::string Key(std::string_view word);

private:
    std::unordered_map<std::string, std::string> FEntries;
};

// The word of the line that covers the byte at column (its letter and value, as written); empty
// when the column is on a comment, a blank or no word.
std::string_view WordAt(std::string_view line, std::size_t column);

// Where the help files are: installed beside the program (share/zorvit under the folder above
// its own), and in the user's config folder.
std::string InstalledWordHelpPath(const std::string& programFolder);
std::string UserWordHelpPath(const std::string& configFolder);
