#pragma once
// Replaces the whole text of a file so that, whatever fails, the file holds either its old text
// or its new text, never a mix of the two.
//
// - A symbolic link stays a link: the file it leads to gets the new text.
// - Normally the text goes to a temporary file in the same folder, is flushed to the disk, and
//   is renamed over the old file, which keeps the old file's permission bits, owner and group.
// - The file is written in place instead when renaming would lose what the file is: it has other
//   hard links (the text must reach every name), or its owner or group cannot be given to a new
//   file; and when the folder does not take a temporary file. In place, the space for the new
//   text is reserved before the first old byte is touched, and if a write still fails the old
//   text is written back.
// - A file that exists but may not be written, or that is not a regular file, is left alone.

#include "common/Error.h"

#include <string>
#include <string_view>

#include <sys/types.h>

class EFileWriteError : public EZorvitError
{
public:
    // The message is the system's reason alone ("No space left on device"), so that callers
    // can put it into their own sentence.
    using EZorvitError::EZorvitError;
};

// Writes text as the whole content of the file at path; a new file gets newFileMode (narrowed
// by the umask). Throws EFileWriteError with the reason when the text could not be written.
void SafeWriteFile(const std::string& path, std::string_view text, mode_t newFileMode);
