#include "settings/IniFile.h"

#include "common/FileDescriptor.h"
#include "common/SafeFileWrite.h"
#include "common/SameText.h"

#include <algorithm>
#include <cerrno>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kDefaultLineBreak = "\n";
// A settings file we create is private to the user; an existing file keeps its own mode.
constexpr mode_t kNewFileMode = S_IRUSR | S_IWUSR;
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
    const auto found =
        std::ranges::find_if(lines, [](const TLine& line) { return !line.Break.empty(); });
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

// The lines that are section headers, in file order.
std::vector<std::size_t> SectionHeaders(const std::vector<TLine>& lines)
{
    std::vector<std::size_t> headers;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (SectionHeader(lines[i].Text))
            headers.push_back(i);
    }
    return headers;
}

std::optional<TSectionRange> FindSection(const std::vector<TLine>& lines,
                                         const std::vector<std::size_t>& headers,
                                         std::string_view section)
{
    for (std::size_t i = 0; i < headers.size(); ++i) {
        if (SameText(*SectionHeader(lines[headers[i]].Text), section))
            return TSectionRange{headers[i],
                                 i + 1 < headers.size() ? headers[i + 1] : lines.size()};
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

// The lines of a file and where its section headers stand.
struct TIniText
{
    std::vector<TLine> Lines;
    std::vector<std::size_t> Headers;

    explicit TIniText(std::vector<TLine> lines = {})
        : Lines(std::move(lines)), Headers(SectionHeaders(Lines))
    {}
};

void InsertLine(TIniText& text, std::size_t position, std::string line,
                const std::string& lineBreak)
{
    std::vector<TLine>& lines = text.Lines;
    // A line that ends in a lone CR keeps it: a LF after it would make the two one break.
    if (position > 0 && lines[position - 1].Break.empty()) {
        const std::string& previous = lines[position - 1].Text;
        lines[position - 1].Break =
            (!previous.empty() && previous.back() == '\r') ? "\r\n" : lineBreak;
    }
    for (std::size_t& header : text.Headers) {
        if (header >= position)
            ++header;
    }
    if (SectionHeader(line))
        text.Headers.insert(std::ranges::upper_bound(text.Headers, position), position);
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(position),
                 {std::move(line), lineBreak});
}

// A key line never reads as a section header (see IsWritableEntry), so replacing one leaves
// the headers where they are.
void SetKey(TIniText& text, std::string_view section, std::string_view key, std::string_view value)
{
    std::vector<TLine>& lines = text.Lines;
    const std::string lineBreak = LineBreakOf(lines);
    std::string entry = std::string(key) + "=" + std::string(value);
    if (const auto range = FindSection(lines, text.Headers, section)) {
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
        InsertLine(text, last + 1, std::move(entry), lineBreak);
        return;
    }
    if (!lines.empty() && !Trim(lines.back().Text).empty())
        InsertLine(text, lines.size(), {}, lineBreak);
    std::string header;
    header.append("[").append(section).append("]");
    InsertLine(text, lines.size(), std::move(header), lineBreak);
    InsertLine(text, lines.size(), std::move(entry), lineBreak);
}

// Removes the first section of that name and, when it is the last one, the blank line before it;
// false when there is no such section.
bool EraseSectionLines(TIniText& text, std::string_view section)
{
    std::vector<TLine>& lines = text.Lines;
    const auto range = FindSection(lines, text.Headers, section);
    if (!range)
        return false;
    std::size_t begin = range->Header;
    if (range->End == lines.size() && begin > 0 && Trim(lines[begin - 1].Text).empty())
        --begin;
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(begin),
                lines.begin() + static_cast<std::ptrdiff_t>(range->End));
    text = TIniText(std::move(lines));
    return true;
}

// Removes the key's line, and its section when no other key is left; false when there is no
// such key.
bool EraseKeyLine(TIniText& text, std::string_view section, std::string_view key)
{
    std::vector<TLine>& lines = text.Lines;
    const auto range = FindSection(lines, text.Headers, section);
    if (!range)
        return false;
    const auto found = FindKey(lines, *range, key);
    if (!found)
        return false;
    bool othersLeft = false;
    for (std::size_t i = range->Header + 1; i < range->End; ++i)
        othersLeft = othersLeft || (i != *found && KeyLine(lines[i].Text));
    if (!othersLeft)
        return EraseSectionLines(text, section);
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(*found));
    text = TIniText(std::move(lines));
    return true;
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

// What tells one state of a file from another: a replaced file has a new inode, a rewritten one
// a new change time.
struct TFileIdentity
{
    dev_t Device = 0;
    ino_t Inode = 0;
    off_t Size = 0;
    timespec Modified{};
    timespec Changed{};

    explicit TFileIdentity(const struct stat& status)
        : Device(status.st_dev), Inode(status.st_ino), Size(status.st_size),
          Modified(status.st_mtim), Changed(status.st_ctim)
    {}
    TFileIdentity() = default;

    bool operator==(const TFileIdentity& other) const
    {
        const auto same = [](const timespec& a, const timespec& b) {
            return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
        };
        return Device == other.Device && Inode == other.Inode && Size == other.Size &&
               same(Modified, other.Modified) && same(Changed, other.Changed);
    }
};

enum class TLoadResult { Loaded, Missing, Failed };

TLoadResult LoadFile(const std::string& fileName, std::string& content, TFileIdentity& identity)
{
    TFileDescriptor file(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0)
        return (errno == ENOENT) ? TLoadResult::Missing : TLoadResult::Failed;
    struct stat status
    {};
    if (::fstat(file.Get(), &status) != 0)
        return TLoadResult::Failed;
    identity = TFileIdentity(status);
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

std::string UnableToWrite(const std::string& fileName)
{
    return "Unable to write to " + fileName;
}

}  // namespace

struct TIniFile::TContent
{
    // The headers are known, so that each read of a large file looks at them only.
    TIniText Text;
    TFileIdentity Identity;
    bool Changed = false;
};

TIniFile::TIniFile(std::string fileName) : FFileName(std::move(fileName)) {}

TIniFile::~TIniFile() = default;

const TIniFile::TContent* TIniFile::Current() const
{
    if (FPending)
        return FPending.get();
    struct stat status
    {};
    if (FFileName.empty() || ::stat(FFileName.c_str(), &status) != 0) {
        FCache.reset();
        return nullptr;
    }
    if (FCache && FCache->Identity == TFileIdentity(status))
        return FCache.get();
    std::string text;
    auto content = std::make_unique<TContent>();
    if (LoadFile(FFileName, text, content->Identity) != TLoadResult::Loaded) {
        FCache.reset();
        return nullptr;
    }
    content->Text = TIniText(SplitLines(text));
    FCache = std::move(content);
    return FCache.get();
}

TIniFile::TContent TIniFile::Load() const
{
    // Profile semantics: a write starts from the file as it is now on disk.
    TContent content;
    std::string text;
    if (LoadFile(FFileName, text, content.Identity) == TLoadResult::Failed)
        throw EIniFileError(UnableToWrite(FFileName));
    content.Text = TIniText(SplitLines(text));
    return content;
}

void TIniFile::Save(const TContent& content) const
{
    try {
        SafeWriteFile(FFileName, JoinLines(content.Text.Lines), kNewFileMode);
    } catch (const EFileWriteError&) {
        throw EIniFileError(UnableToWrite(FFileName));
    }
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const
{
    const TContent* content = Current();
    if (!content)
        return std::string(defaultValue);
    const std::vector<TLine>& lines = content->Text.Lines;
    const auto range = FindSection(lines, content->Text.Headers, section);
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
    const TContent* content = Current();
    if (!content)
        return keys;
    const std::vector<TLine>& lines = content->Text.Lines;
    const auto range = FindSection(lines, content->Text.Headers, section);
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
    if (FFileName.empty())
        return;
    if (!IsWritableEntry(section, key, value)) {
        throw EIniFileError("Invalid settings entry \"" + std::string(key) + "\" in section \"" +
                            std::string(section) + "\"");
    }
    if (FPending) {
        SetKey(FPending->Text, section, key, value);
        FPending->Changed = true;
        return;
    }
    TContent content = Load();
    SetKey(content.Text, section, key, value);
    Save(content);
}

TIniFileUpdate::TIniFileUpdate(TIniFile& file) : FFile(file), FOutermost(!file.FPending)
{
    if (FOutermost && !FFile.FFileName.empty())
        FFile.FPending = std::make_unique<TIniFile::TContent>(FFile.Load());
}

TIniFileUpdate::~TIniFileUpdate()
{
    if (FOutermost)
        FFile.FPending.reset();
}

void TIniFileUpdate::Commit()
{
    if (!FOutermost)
        return;
    std::unique_ptr<TIniFile::TContent> pending = std::move(FFile.FPending);
    if (pending && pending->Changed)
        FFile.Save(*pending);
}

template <typename TChange>
void TIniFile::ChangeText(const TChange& change)
{
    if (FFileName.empty())
        return;
    TContent loaded;
    if (!FPending)
        loaded = Load();
    TContent& content = FPending ? *FPending : loaded;
    if (!change(content.Text))
        return;
    content.Changed = true;
    if (!FPending)
        Save(content);
}

void TIniFile::EraseSection(std::string_view section)
{
    ChangeText([section](TIniText& text) { return EraseSectionLines(text, section); });
}

void TIniFile::EraseKey(std::string_view section, std::string_view key)
{
    ChangeText([section, key](TIniText& text) { return EraseKeyLine(text, section, key); });
}
