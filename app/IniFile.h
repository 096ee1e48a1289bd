#pragma once
// An INI profile file with the semantics of the Windows profile functions: sections and keys
// match without regard to case, a missing key yields the reader's default, and writing one key
// changes only that key's line (or adds the key, its section and the file) while every other
// line stays byte for byte as it was. Each call works on the file as it is on disk, so every
// write reaches the disk before it returns.

#include "Error.h"

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

    const std::string& FileName() const { return m_fileName; }

    // The value of the key in the first section of that name, blanks around it removed and
    // one pair of enclosing quotes stripped; the default when the file, section or key is
    // missing or the file cannot be read.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;

    // The names of the keys in the first section of that name, in file order.
    std::vector<std::string> ReadSection(std::string_view section) const;

    // Replaces the key's value where it stands, or adds the key (and the section, and the
    // file). The file is replaced through a temporary file in its folder, so a failed write
    // leaves the old file whole. Throws EIniFileError "Unable to write to <file>" on failure.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);

    // Removes the first section of that name with all its keys, and the blank line that
    // WriteString put before it when it was added at the end. A missing file or section is
    // left as it is. Throws EIniFileError "Unable to write to <file>" on failure.
    void EraseSection(std::string_view section);

private:
    std::string m_fileName;
};
