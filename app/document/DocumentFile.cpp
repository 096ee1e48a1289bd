#include "app/document/DocumentFile.h"

#include "common/Error.h"
#include "common/FileBytes.h"
#include "common/SafeFileWrite.h"
#include "watch/FileNameEncoding.h"

#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

// What open() gives a new file before the umask narrows it, as for any file a user saves.
constexpr mode_t kNewFileMode = S_IRUSR | S_IWUSR | S_IRGRP | S_IWGRP | S_IROTH | S_IWOTH;
// A file is read into the editor in parts of this size: large enough that the reads cost
// nothing next to the editor's work on them.
constexpr std::size_t kReadPartBytes = std::size_t{4} << 20;

[[noreturn]] void ThrowFileError(const char* format, const QString& name, const QString& reason)
{
    const QString absolute = QFileInfo(name).absoluteFilePath();
    throw EZorvitError(QString::fromLatin1(format).arg(absolute, reason).toStdString());
}

[[noreturn]] void ThrowOpenError(const QString& name, const QString& reason)
{
    ThrowFileError("Cannot open file \"%1\". %2", name, reason);
}

}  // namespace

TDocumentFileReader::TDocumentFileReader(const QString& name) : FName(name)
{
    try {
        FFile = std::make_unique<TFileReader>(EncodeFileName(name).toStdString(),
                                              TFileKind::RegularOnly);
    } catch (const EFileReadError& error) {
        ThrowOpenError(name, QString::fromLocal8Bit(error.Reason().c_str()));
    }
    FSize = FFile->Size().value_or(0);
}

TDocumentFileReader::~TDocumentFileReader() = default;

std::string_view TDocumentFileReader::NextPart()
{
    if (FBuffer.empty())
        FBuffer.resize(kReadPartBytes);
    try {
        return {FBuffer.data(), FFile->Read(FBuffer.data(), FBuffer.size())};
    } catch (const EFileReadError& error) {
        ThrowOpenError(FName, QString::fromLocal8Bit(error.Reason().c_str()));
    }
}

void WriteDocumentFile(const QString& name, const QByteArray& text)
{
    try {
        SafeWriteFile(EncodeFileName(name).toStdString(),
                      std::string_view(text.constData(), text.size()), kNewFileMode);
    } catch (const EFileWriteError& error) {
        ThrowFileError("Cannot create file \"%1\". %2", name, QString::fromStdString(error.what()));
    }
}

bool DocumentFileExists(const QString& name)
{
    struct stat status
    {};
    return ::stat(EncodeFileName(name).constData(), &status) == 0;
}
