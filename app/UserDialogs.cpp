#include "UserDialogs.h"

#include "EmptyCaption.h"
#include "FileNameEncoding.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

TUserDialogs::TUserDialogs(QWidget* owner) : owner_(owner) {}

TAnswer TUserDialogs::Ask(const QString& question, bool withCancel)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), question,
                    QMessageBox::Yes | QMessageBox::No, owner_);
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
    QMessageBox box(QMessageBox::Critical, QString(), message, QMessageBox::Ok, owner_);
    ShowEmptyCaption(box);
    box.exec();
}

std::optional<QString> TUserDialogs::OpenName()
{
    const QString name = QFileDialog::getOpenFileName(owner_);
    if (name.isEmpty())
        return std::nullopt;
    return RecoverDialogFileName(name);
}

std::optional<QString> TUserDialogs::SaveName()
{
    // The main window asks about overwriting itself, through Ask, so that the question can be
    // answered in tests; the dialog must not ask a second time.
    const QString name = QFileDialog::getSaveFileName(owner_, QString(), QString(), QString(),
                                                      nullptr, QFileDialog::DontConfirmOverwrite);
    if (name.isEmpty())
        return std::nullopt;
    return RecoverDialogFileName(name);
}

bool TUserDialogs::Execute(QDialog& dialog)
{
    return dialog.exec() == QDialog::Accepted;
}
