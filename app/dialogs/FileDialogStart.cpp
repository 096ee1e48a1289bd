#include "app/dialogs/FileDialogStart.h"

#include <QDir>
#include <QFileInfo>

QString DialogStartPath(const QString& documentFile, const QString& lastFolder, bool offerName)
{
    if (!documentFile.isEmpty()) {
        const QFileInfo document(documentFile);
        if (document.absoluteDir().exists())
            return offerName ? document.absoluteFilePath() : document.absolutePath();
    }
    if (!lastFolder.isEmpty() && QDir(lastFolder).exists())
        return lastFolder;
    return QDir::homePath();
}
