#pragma once
// TRecoveryKeeper: keeps the recovery copy of the editor's text in step with the text while it
// differs from its file. A change does not write at once: the copy is written when the typing
// pauses, and at the latest kLatestWriteMs after the first change it does not hold yet, so that
// a crash loses at most that much typing while a large text is not written on every key.

#include "recovery/RecoveryStore.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <string>

class QByteArray;
class QTimer;
class TGCodeEditor;

class TRecoveryKeeper : public QObject
{
public:
    static constexpr int kIdleWriteMs = 500;
    static constexpr int kLatestWriteMs = 2000;

    // documentFile names the editor's file, empty while untitled. showException reports a
    // failed write (it is called inside a catch block), once until a write succeeds again.
    TRecoveryKeeper(TGCodeEditor& editor, std::function<QString()> documentFile,
                    std::function<void()> showException, QObject* parent);

    // The copy of documentFile when it is newer than the file; none otherwise.
    std::optional<QByteArray> NewerCopy(const QString& documentFile) const;
    // Takes the copy of documentFile found at start or open as this text's own, so that it goes
    // when the text is saved or given up.
    void Adopt(const QString& documentFile);
    // Removes the copy of documentFile that was found and not taken.
    void Remove(const QString& documentFile);
    // The text was saved, reloaded or given up: its copy goes, and no write is pending.
    void Discard();

private:
    void Changed();
    void WriteNow();

    TGCodeEditor& FEditor;
    std::function<QString()> FDocumentFile;
    std::function<void()> FShowException;
    TRecoveryStore FStore;
    QTimer* FIdleTimer;
    QTimer* FLatestTimer;
    std::optional<std::string> FWrittenFor;  // the document whose copy is on disk
    bool FFailureShown = false;
};
