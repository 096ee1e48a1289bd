#pragma once
// File names between the bytes of the file system and the strings of the window, without loss.
// Linux names are any bytes; Qt's own conversion (QFile::decodeName) turns bytes that are not
// UTF-8 into U+FFFD, after which the file cannot be found again. Here valid UTF-8 decodes as
// Qt decodes it, and each other byte becomes a lone surrogate U+DC80..U+DCFF that encodes back
// to that byte (the "surrogate escape" that Python uses for the same problem).

#include <QByteArray>
#include <QString>

QString DecodeFileName(const QByteArray& bytes);
QByteArray EncodeFileName(const QString& name);

// The name as a file dialog gives it back: Qt's dialogs list folders through QFile::decodeName,
// so a file whose name is not UTF-8 comes back with U+FFFD in it and no longer exists under that
// name. When exactly one entry of its folder reads as that name, this gives the entry's true
// name; otherwise the name unchanged.
QString RecoverDialogFileName(const QString& name);
