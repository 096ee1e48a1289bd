#pragma once
// Recovery copies of edited texts. While a text differs from its file, a copy of it is kept in
// a private folder, so that a crash or a power cut loses at most the last moments of typing.
// The copies live under $XDG_STATE_HOME/Zorvit/recovery/ ($HOME/.local/state when unset), one
// per document: named after the file's absolute path, or "untitled" for a text without a file.
// A copy is written as saves are (SafeWriteFile), so it is whole or absent, and for the user
// alone (mode 0600, in folders of mode 0700). The document's own file is never touched.

#include <optional>
#include <string>
#include <string_view>

class TRecoveryStore
{
public:
    // The copies go into folder, which is made when the first copy is written.
    explicit TRecoveryStore(std::string folder);

    // The copy's full name for a document: documentPath is the file's absolute path, empty for
    // an untitled text.
    std::string CopyPath(const std::string& documentPath) const;

    // Replaces the document's copy with text, making the folder when it is missing. Throws
    // EZorvitError with the copy's name and the reason when it fails.
    void Write(const std::string& documentPath, std::string_view text) const;
    // Removes the document's copy, if there is one.
    void Remove(const std::string& documentPath) const;
    // The copy's text when there is a copy written after the file was last changed (or the file
    // is gone); none otherwise, also when the copy cannot be read.
    std::optional<std::string> NewerCopy(const std::string& documentPath) const;

private:
    std::string FFolder;
};

// $XDG_STATE_HOME/Zorvit/recovery; empty when neither XDG_STATE_HOME nor HOME names a folder.
std::string RecoveryFolder();
