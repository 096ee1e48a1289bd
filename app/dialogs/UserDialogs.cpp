#include "app/dialogs/UserDialogs.h"

#include "app/dialogs/EmptyCaption.h"
#include "app/dialogs/FileDialogStart.h"
#include "watch/FileNameEncoding.h"

#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

TUserDialogs::TUserDialogs(QWidget* owner) : FOwner(owner) {}

TAnswer TUserDialogs::Ask(const QString& question, bool withCancel)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), question,
                    QMessageBox::Yes | QMessageBox::No, FOwner);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Yes"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&No"));
    if (withCancel) {
        box.addButton(QMessageBox::Cancel)->setText(QStringLiteral("Cancel"));
        box.setEscapeButton(QMessageBox::Cancel);
    } else {
        box.setEscapeButton(QMessageBox::No);
    }
    box.setDefaultButton(QMessageBox::Yes);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return TAnswer::Yes;
    case QMessageBox::No:
        return TAnswer::No;
    default:
        return withCancel ? TAnswer::Cancel : TAnswer::No;
    }
}

void TUserDialogs::ShowError(const QString& message)
{
    QMessageBox box(QMessageBox::Critical, QString(), message, QMessageBox::Ok, FOwner);
    ShowEmptyCaption(box);
    box.exec();
}

std::optional<QString> TUserDialogs::OpenName()
{
    const QString name = QFileDialog::getOpenFileName(FOwner, QString(), StartPath(false));
    if (name.isEmpty())
        return std::nullopt;
    Remember(name);
    return RecoverDialogFileName(name);
}

std::optional<QString> TUserDialogs::SaveName()
{
    // The main window asks about overwriting itself, through Ask, so that the question can be
    // answered in tests; the dialog must not ask a second time.
    const QString name = QFileDialog::getSaveFileName(FOwner, QString(), StartPath(true), QString(),
                                                      nullptr, QFileDialog::DontConfirmOverwrite);
    if (name.isEmpty())
        return std::nullopt;
    Remember(name);
    return RecoverDialogFileName(name);
}

QString TUserDialogs::StartPath(bool offerName) const
{
    return DialogStartPath(FDocumentFile ? FDocumentFile() : QString(), FLastFolder, offerName);
}

void TUserDialogs::Remember(const QString& chosen)
{
    FLastFolder = QFileInfo(chosen).absolutePath();
}

std::optional<int> TUserDialogs::AskLineNumber(int current, int lineCount)
{
    bool accepted = false;
    const int line = QInputDialog::getInt(FOwner, QStringLiteral("Go to Line"),
                                          QStringLiteral("Line number (1 - %1):").arg(lineCount),
                                          current, 1, lineCount, 1, &accepted);
    if (!accepted)
        return std::nullopt;
    return line;
}

bool TUserDialogs::Execute(QDialog& dialog)
{
    return dialog.exec() == QDialog::Accepted;
}
