#include "IniFile.h"

#include "FileDescriptor.h"
#include "SameText.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kDefaultLineBreak = "\n";
// A settings file we create is private to the user; an existing file keeps its own mode.
constexpr mode_t kNewFileMode = S_IRUSR | S_IWUSR;
constexpr mode_t kPermissionBits = 07777;
constexpr std::size_t kReadChunkBytes = 16 * 1024;

// One raw line of the file and the line break that ended it ("" for a last line without one).
struct TLine
{
    std::string Text;
    std::string Break;
};

struct TKeyLine
{
    std::string_view Key;
    std::string_view Value;
};

// Lines [Header + 1, End) belong to the section whose header stands at Header.
struct TSectionRange
{
    std::size_t Header;
    std::size_t End;
};

std::string_view Trim(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

std::vector<TLine> SplitLines(std::string_view content)
{
    std::vector<TLine> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        const std::size_t feed = content.find('\n', start);
        if (feed == std::string_view::npos) {
            lines.push_back({std::string(content.substr(start)), {}});
            break;
        }
        const std::size_t end = (feed > start && content[feed - 1] == '\r') ? feed - 1 : feed;
        lines.push_back({std::string(content.substr(start, end - start)),
                         std::string(content.substr(end, feed + 1 - end))});
        start = feed + 1;
    }
    return lines;
}

std::string JoinLines(const std::vector<TLine>& lines)
{
    std::string content;
    for (const TLine& line : lines)
        content.append(line.Text).append(line.Break);
    return content;
}

// New lines follow the break style the file already uses.
std::string LineBreakOf(const std::vector<TLine>& lines)
{
    const auto found = std::ranges::find_if(lines, [](const TLine& line) { return !line.Break.empty(); });
    return found == lines.end() ? std::string(kDefaultLineBreak) : found->Break;
}

std::optional<std::string_view> SectionHeader(std::string_view line)
{
    const std::string_view text = Trim(line);
    if (text.empty() || text.front() != '[')
        return std::nullopt;
    const std::string_view inside = text.substr(1);
    return Trim(inside.substr(0, inside.find(']')));
}

bool IsComment(std::string_view text)
{
    return !text.empty() && (text.front() == ';' || text.front() == '#');
}

std::optional<TKeyLine> KeyLine(std::string_view line)
{
    const std::string_view text = Trim(line);
    const std::size_t equals = text.find('=');
    if (IsComment(text) || equals == std::string_view::npos)
        return std::nullopt;
    const std::string_view key = Trim(text.substr(0, equals));
    if (key.empty())
        return std::nullopt;
    return TKeyLine{key, Trim(text.substr(equals + 1))};
}

std::optional<TSectionRange> FindSection(const std::vector<TLine>& lines, std::string_view section)
{
    for (std::size_t header = 0; header < lines.size(); ++header) {
        const auto name = SectionHeader(lines[header].Text);
        if (!name || !SameText(*name, section))
            continue;
        std::size_t end = header + 1;
        while (end < lines.size() && !SectionHeader(lines[end].Text))
            ++end;
        return TSectionRange{header, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> FindKey(const std::vector<TLine>& lines, const TSectionRange& range,
                                   std::string_view key)
{
    for (std::size_t i = range.Header + 1; i < range.End; ++i) {
        const auto entry = KeyLine(lines[i].Text);
        if (entry && SameText(entry->Key, key))
            return i;
    }
    return std::nullopt;
}

std::string_view Unquote(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

void InsertLine(std::vector<TLine>& lines, std::size_t position, std::string text,
                const std::string& lineBreak)
{
    if (position > 0 && lines[position - 1].Break.empty())
        lines[position - 1].Break = lineBreak;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(position), {std::move(text), lineBreak});
}

void SetKey(std::vector<TLine>& lines, std::string_view section, std::string_view key,
            std::string_view value)
{
    const std::string lineBreak = LineBreakOf(lines);
    std::string entry = std::string(key) + "=" + std::string(value);
    if (const auto range = FindSection(lines, section)) {
        if (const auto found = FindKey(lines, *range, key)) {
            lines[*found].Text = std::move(entry);
            return;
        }
        // A new key goes after the section's last non-blank line, before the blank lines
        // that separate it from the next section.
        std::size_t last = range->Header;
        for (std::size_t i = range->Header + 1; i < range->End; ++i) {
            if (!Trim(lines[i].Text).empty())
                last = i;
        }
        InsertLine(lines, last + 1, std::move(entry), lineBreak);
        return;
    }
    if (!lines.empty() && !Trim(lines.back().Text).empty())
        InsertLine(lines, lines.size(), {}, lineBreak);
    std::string header;
    header.append("[").append(section).append("]");
    InsertLine(lines, lines.size(), std::move(header), lineBreak);
    InsertLine(lines, lines.size(), std::move(entry), lineBreak);
}

bool HasLineBreak(std::string_view text)
{
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// Names and values that would read back as something else, or break the file's structure.
bool IsWritableEntry(std::string_view section, std::string_view key, std::string_view value)
{
    const bool sectionOk = !Trim(section).empty() && section.find(']') == std::string_view::npos &&
                           !HasLineBreak(section);
    const std::string_view trimmedKey = Trim(key);
    const bool keyOk = !trimmedKey.empty() && key.find('=') == std::string_view::npos &&
                       trimmedKey.front() != '[' && !IsComment(trimmedKey) && !HasLineBreak(key);
    return sectionOk && keyOk && !HasLineBreak(value);
}

enum class TLoadResult
{
    Loaded,
    Missing,
    Failed
};

TLoadResult LoadFile(const std::string& fileName, std::string& content)
{
    TFileDescriptor file(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0)
        return (errno == ENOENT) ? TLoadResult::Missing : TLoadResult::Failed;
    content.clear();
    char buffer[kReadChunkBytes];
    for (;;) {
        const ssize_t count = ::read(file.Get(), buffer, sizeof buffer);
        if (count == 0)
            return TLoadResult::Loaded;
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return TLoadResult::Failed;
        }
        content.append(buffer, static_cast<std::size_t>(count));
    }
}

bool WriteAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t count = ::write(fd, data.data(), data.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        data.remove_prefix(static_cast<std::size_t>(count));
    }
    return true;
}

enum class TReplaceResult
{
    Done,
    Unavailable, // no temporary file could be made or renamed: the folder refuses it
    Failed
};

TReplaceResult ReplaceThroughTemporary(const std::filesystem::path& target, std::string_view content,
                                       mode_t mode)
{
    const std::filesystem::path temporaryName = "." + target.filename().native() + ".XXXXXX";
    std::string name = (target.parent_path() / temporaryName).string();
    TFileDescriptor file(::mkostemp(name.data(), O_CLOEXEC));
    if (file.Get() < 0)
        return TReplaceResult::Unavailable;
    bool written = ::fchmod(file.Get(), mode) == 0 && WriteAll(file.Get(), content) &&
                   ::fsync(file.Get()) == 0;
    written = file.Close() && written;
    if (!written) {
        ::unlink(name.c_str());
        return TReplaceResult::Failed;
    }
    if (::rename(name.c_str(), target.c_str()) != 0) {
        ::unlink(name.c_str());
        return TReplaceResult::Unavailable;
    }
    return TReplaceResult::Done;
}

// Overwrites the file from its start and cuts it to the new length, never truncating it first.
bool WriteInPlace(const std::filesystem::path& target, std::string_view content, mode_t mode)
{
    TFileDescriptor file(::open(target.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, mode));
    if (file.Get() < 0)
        return false;
    const bool written = WriteAll(file.Get(), content) &&
                         ::ftruncate(file.Get(), static_cast<off_t>(content.size())) == 0 &&
                         ::fsync(file.Get()) == 0;
    return file.Close() && written;
}

bool SaveFile(const std::string& fileName, std::string_view content)
{
    // Replace the file a symbolic link points to, not the link.
    std::error_code error;
    std::filesystem::path target = std::filesystem::canonical(fileName, error);
    if (error)
        target = fileName;
    struct stat status{};
    const bool exists = ::stat(target.c_str(), &status) == 0;
    // A read-only file stays as it is, although its folder would let us replace it.
    if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
        return false;
    const mode_t mode = exists ? (status.st_mode & kPermissionBits) : kNewFileMode;
    switch (ReplaceThroughTemporary(target, content, mode)) {
    case TReplaceResult::Done:
        return true;
    case TReplaceResult::Failed:
        return false;
    case TReplaceResult::Unavailable:
        break;
    }
    return WriteInPlace(target, content, mode);
}

} // namespace

TIniFile::TIniFile(std::string fileName) : m_fileName(std::move(fileName)) {}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const
{
    std::string content;
    if (m_fileName.empty() || LoadFile(m_fileName, content) != TLoadResult::Loaded)
        return std::string(defaultValue);
    const std::vector<TLine> lines = SplitLines(content);
    const auto range = FindSection(lines, section);
    if (!range)
        return std::string(defaultValue);
    const auto found = FindKey(lines, *range, key);
    if (!found)
        return std::string(defaultValue);
    const std::string_view value = Unquote(KeyLine(lines[*found].Text)->Value);
    return std::string(value.substr(0, kMaxValueLength));
}

std::vector<std::string> TIniFile::ReadSection(std::string_view section) const
{
    std::vector<std::string> keys;
    std::string content;
    if (m_fileName.empty() || LoadFile(m_fileName, content) != TLoadResult::Loaded)
        return keys;
    const std::vector<TLine> lines = SplitLines(content);
    const auto range = FindSection(lines, section);
    if (!range)
        return keys;
    for (std::size_t i = range->Header + 1; i < range->End; ++i) {
        if (const auto entry = KeyLine(lines[i].Text))
            keys.emplace_back(entry->Key);
    }
    return keys;
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    if (m_fileName.empty())
        return;
    if (!IsWritableEntry(section, key, value)) {
        throw EIniFileError("Invalid settings entry \"" + std::string(key) + "\" in section \"" +
                            std::string(section) + "\"");
    }
    // Profile semantics: every write starts from the file as it is now on disk.
    std::string content;
    const TLoadResult loaded = LoadFile(m_fileName, content);
    if (loaded == TLoadResult::Failed)
        throw EIniFileError("Unable to write to " + m_fileName);
    std::vector<TLine> lines = SplitLines(content);
    SetKey(lines, section, key, value);
    if (!SaveFile(m_fileName, JoinLines(lines)))
        throw EIniFileError("Unable to write to " + m_fileName);
}

void TIniFile::EraseSection(std::string_view section)
{
    if (m_fileName.empty())
        return;
    std::string content;
    const TLoadResult loaded = LoadFile(m_fileName, content);
    if (loaded == TLoadResult::Failed)
        throw EIniFileError("Unable to write to " + m_fileName);
    std::vector<TLine> lines = SplitLines(content);
    const auto range = FindSection(lines, section);
    if (!range)
        return;
    std::size_t begin = range->Header;
    if (range->End == lines.size() && begin > 0 && Trim(lines[begin - 1].Text).empty())
        --begin;
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(begin),
                lines.begin() + static_cast<std::ptrdiff_t>(range->End));
    if (!SaveFile(m_fileName, JoinLines(lines)))
        throw EIniFileError("Unable to write to " + m_fileName);
}
