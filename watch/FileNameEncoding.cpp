#include "watch/FileNameEncoding.h"

#include <QFile>
#include <QFileInfo>

#include <dirent.h>
#include <sys/stat.h>

namespace {

constexpr char16_t kEscapeBase = 0xDC00;  // + the byte, for bytes 0x80..0xFF
constexpr char16_t kFirstEscape = 0xDC80;
constexpr char16_t kLastEscape = 0xDCFF;

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the well-formed UTF-8 sequence at the start of text, or 0 when there is none
// (a stray continuation byte, an overlong form, a surrogate, a value past U+10FFFF, a cut end).
qsizetype SequenceLength(const unsigned char* text, qsizetype available)
{
    const unsigned char lead = text[0];
    if (lead < 0x80)
        return 1;
    qsizetype length = 0;
    unsigned char low = 0x80;  // the allowed range of the second byte
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (available < length || text[1] < low || text[1] > high)
        return 0;
    for (qsizetype i = 2; i < length; ++i) {
        if (!IsContinuation(text[i]))
            return 0;
    }
    return length;
}

}  // namespace

QString DecodeFileName(const QByteArray& bytes)
{
    const auto* text = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype size = bytes.size();
    QString name;
    name.reserve(size);
    qsizetype runStart = 0;
    qsizetype i = 0;
    const auto flushRun = [&] {
        name += QString::fromUtf8(bytes.constData() + runStart, i - runStart);
    };
    while (i < size) {
        const qsizetype length = SequenceLength(text + i, size - i);
        if (length > 0) {
            i += length;
            continue;
        }
        flushRun();
        name += QChar(static_cast<char16_t>(kEscapeBase + text[i]));
        runStart = ++i;
    }
    flushRun();
    return name;
}

QByteArray EncodeFileName(const QString& name)
{
    QByteArray bytes;
    bytes.reserve(name.size());
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t unit = name[i].unicode();
        // A low surrogate after a high one is half of a real character, not an escape.
        const bool paired = i > 0 && name[i - 1].isHighSurrogate();
        if (unit < kFirstEscape || unit > kLastEscape || paired)
            continue;
        bytes += QStringView(name).mid(runStart, i - runStart).toUtf8();
        bytes += static_cast<char>(unit - kEscapeBase);
        runStart = i + 1;
    }
    bytes += QStringView(name).mid(runStart).toUtf8();
    return bytes;
}

QString RecoverDialogFileName(const QString& name)
{
    constexpr QChar kReplacement(0xFFFD);
    struct stat status
    {};
    if (!name.contains(kReplacement) || ::stat(EncodeFileName(name).constData(), &status) == 0)
        return name;
    const QFileInfo info(name);
    const QByteArray folder = EncodeFileName(info.path());
    DIR* entries = ::opendir(folder.constData());
    if (entries == nullptr)
        return name;
    QByteArray found;
    int matches = 0;
    while (const dirent* entry = ::readdir(entries)) {
        if (QFile::decodeName(entry->d_name) == info.fileName()) {
            found = entry->d_name;
            ++matches;
        }
    }
    ::closedir(entries);
    return matches == 1 ? DecodeFileName(folder + "/" + found) : name;
}
