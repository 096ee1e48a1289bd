#pragma once
// Reading and writing the bytes of a G-code document file by its name, with the messages the
// window shows when that fails. Names go to the file system through EncodeFileName, so that
// every name the file system can hold opens and saves.

#include <QByteArray>
#include <QString>

#include <string>

// The whole file. Throws EZorvitError "Cannot open file "<absolute name>". <reason>" when it
// cannot be read, also for anything but a regular file ("Not a regular file"): a FIFO would
// wait for a writer and a device such as /dev/zero would never end.
std::string ReadDocumentFile(const QString& name);

// Replaces the file's text through SafeWriteFile, which keeps what the file was (a link, its
// mode and owner, its other names). Throws EZorvitError "Cannot create file "<absolute name>".
// <reason>" when it fails; the old file then stays whole.
void WriteDocumentFile(const QString& name, const QByteArray& text);

// True when the name leads to an existing file (through links).
bool DocumentFileExists(const QString& name);
