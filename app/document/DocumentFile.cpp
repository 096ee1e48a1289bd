#include "app/document/DocumentFile.h"

#include "common/Error.h"
#include "watch/FileNameEncoding.h"
#include "common/SafeFileWrite.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What open() gives a new file before the umask narrows it, as for any file a user saves.
constexpr mode_t kNewFileMode = S_IRUSR | S_IWUSR | S_IRGRP | S_IWGRP | S_IROTH | S_IWOTH;

[[noreturn]] void ThrowFileError(const char* format, const QString& name, const QString& reason)
{
    const QString absolute = QFileInfo(name).absoluteFilePath();
    throw EZorvitError(QString::fromLatin1(format).arg(absolute, reason).toStdString());
}

[[noreturn]] void ThrowOpenError(const QString& name, const QString& reason)
{
    ThrowFileError("Cannot open file \"%1\". %2", name, reason);
}

QString SystemMessage(int error)
{
    return QString::fromStdString(std::generic_category().message(error));
}

} // namespace

QByteArray ReadDocumentFile(const QString& name)
{
    // Without O_NONBLOCK, opening a FIFO would wait until some program writes to it.
    const int descriptor = ::open(EncodeFileName(name).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        ThrowOpenError(name, SystemMessage(errno));
    QFile file;
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        ThrowOpenError(name, file.errorString());
    }
    struct stat status{};
    if (::fstat(descriptor, &status) != 0)
        ThrowOpenError(name, SystemMessage(errno));
    if (!S_ISREG(status.st_mode))
        ThrowOpenError(name, QStringLiteral("Not a regular file"));
    const QByteArray text = file.readAll();
    if (file.error() != QFileDevice::NoError)
        ThrowOpenError(name, file.errorString());
    return text;
}

void WriteDocumentFile(const QString& name, const QByteArray& text)
{
    try {
        SafeWriteFile(EncodeFileName(name).toStdString(), std::string_view(text.constData(), text.size()),
                      kNewFileMode);
    } catch (const EFileWriteError& error) {
        ThrowFileError("Cannot create file \"%1\". %2", name, QString::fromStdString(error.what()));
    }
}

bool DocumentFileExists(const QString& name)
{
    struct stat status{};
    return ::stat(EncodeFileName(name).constData(), &status) == 0;
}
