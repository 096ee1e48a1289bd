#pragma once
// Reading and writing the bytes of a G-code document file by its name, with the messages the
// window shows when that fails. Names go to the file system through EncodeFileName, so that
// every name the file system can hold opens and saves.

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TFileReader;

// A document file opened for reading, read part by part so that no copy of the whole of it is
// ever held. Throws EZorvitError "Cannot open file "<absolute name>". <reason>" when it cannot
// be opened or read, also for anything but a regular file ("Not a regular file"): a FIFO would
// wait for a writer and a device such as /dev/zero would never end.
class TDocumentFileReader
{
public:
    explicit TDocumentFileReader(const QString& name);
    ~TDocumentFileReader();

    // The file's size when it was opened.
    std::size_t Size() const { return FSize; }
    // The next part of the file, empty at its end; the next call reuses its memory.
    std::string_view NextPart();

private:
    QString FName;
    std::unique_ptr<TFileReader> FFile;
    std::size_t FSize = 0;
    std::vector<char> FBuffer;
};

// Replaces the file's text through SafeWriteFile, which keeps what the file was (a link, its
// mode and owner, its other names). Throws EZorvitError "Cannot create file "<absolute name>".
// <reason>" when it fails; the old file then stays whole.
void WriteDocumentFile(const QString& name, const QByteArray& text);

// True when the name leads to an existing file (through links).
bool DocumentFileExists(const QString& name);
