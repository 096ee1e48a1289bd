#include "app/document/RecoveryKeeper.h"

#include "common/Guard.h"
#include "editor/GCodeEditor.h"
#include "watch/FileNameEncoding.h"

#include <QByteArray>
#include <QFileInfo>
#include <QTimer>

#include <string_view>

namespace {

// The store's key of a document: its absolute path as the file system's bytes.
std::string DocumentKey(const QString& documentFile)
{
    return documentFile.isEmpty()
               ? std::string()
               : EncodeFileName(QFileInfo(documentFile).absoluteFilePath()).toStdString();
}

}  // namespace

TRecoveryKeeper::TRecoveryKeeper(TGCodeEditor& editor, std::function<QString()> documentFile,
                                 std::function<void()> showException, QObject* parent)
    : QObject(parent), FEditor(editor), FDocumentFile(std::move(documentFile)),
      FShowException(std::move(showException)), FStore(RecoveryFolder()),
      FIdleTimer(new QTimer(this)), FLatestTimer(new QTimer(this))
{
    for (QTimer* timer : {FIdleTimer, FLatestTimer}) {
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, this, [this] { WriteNow(); });
    }
    FIdleTimer->setInterval(kIdleWriteMs);
    FLatestTimer->setInterval(kLatestWriteMs);
    // The first key of an edit may tell of the text before it sets the modified flag.
    connect(&FEditor, &TGCodeEditor::textChanged, this, [this] { Changed(); });
    connect(&FEditor, &TGCodeEditor::modificationChanged, this, [this](bool modified) {
        if (modified)
            Changed();
        else
            Discard();
    });
}

std::optional<QByteArray> TRecoveryKeeper::NewerCopy(const QString& documentFile) const
{
    const std::optional<std::string> copy = FStore.NewerCopy(DocumentKey(documentFile));
    if (!copy)
        return std::nullopt;
    return QByteArray::fromStdString(*copy);
}

void TRecoveryKeeper::Adopt(const QString& documentFile)
{
    FWrittenFor = DocumentKey(documentFile);
}

void TRecoveryKeeper::Remove(const QString& documentFile)
{
    FStore.Remove(DocumentKey(documentFile));
}

void TRecoveryKeeper::Discard()
{
    FIdleTimer->stop();
    FLatestTimer->stop();
    if (FWrittenFor)
        FStore.Remove(*FWrittenFor);
    FWrittenFor.reset();
}

void TRecoveryKeeper::Changed()
{
    if (!FEditor.Modified())
        return;
    FIdleTimer->start();
    if (!FLatestTimer->isActive())
        FLatestTimer->start();
}

void TRecoveryKeeper::WriteNow()
{
    FIdleTimer->stop();
    FLatestTimer->stop();
    if (!FEditor.Modified())
        return;
    Guarded(
        [this] {
            const std::string key = DocumentKey(FDocumentFile());
            if (FWrittenFor && *FWrittenFor != key)
                FStore.Remove(*FWrittenFor);
            FWrittenFor.reset();
            const QByteArray text = FEditor.TextBytes();
            FStore.Write(key,
                         std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
            FWrittenFor = key;
            FFailureShown = false;
        },
        [this] {
            if (!FFailureShown)
                FShowException();
            FFailureShown = true;
        });
}
