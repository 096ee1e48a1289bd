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
