#pragma once
// An INI profile file with the semantics of the Windows profile functions: sections and keys
// match without regard to case, a missing key yields the reader's default, and writing one key
// changes only that key's line (or adds the key, its section and the file) while every other
// line stays byte for byte as it was. Each call works on the file as it is on disk, so every
// write reaches the disk before it returns; writes made during an update (TIniFileUpdate) are
// collected and reach the disk together, in one safe replacement of the file.

#include "common/Error.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class EIniFileError : public EZorvitError
{
public:
    using EZorvitError::EZorvitError;
};

class TIniFile
{
public:
    // The longest value a read returns, in bytes; longer values are cut.
    static constexpr std::size_t kMaxValueLength = 2047;

    // An empty name gives a file that holds nothing and to which writes do nothing.
    explicit TIniFile(std::string fileName);
    ~TIniFile();
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    const std::string& FileName() const { return FFileName; }

    // The value of the key in the first section of that name, blanks around it removed and
    // one pair of enclosing quotes stripped; the default when the file, section or key is
    // missing or the file cannot be read.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;

    // The names of the keys in the first section of that name, in file order.
    std::vector<std::string> ReadSection(std::string_view section) const;

    // Replaces the key's value where it stands, or adds the key (and the section, and the
    // file). A failed write leaves the old file whole (see SafeWriteFile). Throws
    // EIniFileError "Unable to write to <file>" on failure. During an update the key changes
    // the collected text only.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);

    // Removes the first section of that name with all its keys, and the blank line that
    // WriteString put before it when it was added at the end. A missing file or section is
    // left as it is. Throws EIniFileError "Unable to write to <file>" on failure.
    void EraseSection(std::string_view section);

    // Removes the key from the first section of that name, and the section with it when no other
    // key is left in it. A missing file, section or key is left as it is. Throws EIniFileError
    // "Unable to write to <file>" on failure.
    void EraseKey(std::string_view section, std::string_view key);

private:
    friend class TIniFileUpdate;
    struct TContent;

    const TContent* Current() const;
    // Runs change on the file's text (the update's during one); saves when it says it changed.
    template <typename TChange>
    void ChangeText(const TChange& change);
    TContent Load() const;
    void Save(const TContent& content) const;

    std::string FFileName;
    // The file as last read, reused while the file on disk is unchanged, so that a program
    // reading many keys of a large file reads and splits it once.
    mutable std::unique_ptr<TContent> FCache;
    // The text that the writes of an update change; none outside an update.
    std::unique_ptr<TContent> FPending;
};

// Collects the writes to a file from its construction to Commit, which puts them into the file
// at once; reads in between see the collected text. Writes not committed are dropped. An update
// made while another is under way joins it: only the outermost one writes the file.
class TIniFileUpdate
{
public:
    // Reads the file; throws EIniFileError "Unable to write to <file>" when it cannot be read.
    explicit TIniFileUpdate(TIniFile& file);
    ~TIniFileUpdate();
    TIniFileUpdate(const TIniFileUpdate&) = delete;
    TIniFileUpdate& operator=(const TIniFileUpdate&) = delete;

    // Writes the collected text (when something changed) and ends the update. Throws
    // EIniFileError "Unable to write to <file>"; the file on disk then stays as it was.
    void Commit();

private:
    TIniFile& FFile;
    bool FOutermost;
};
