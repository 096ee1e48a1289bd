#pragma once
// Every question, message and file dialog of the main window goes through this one class, so
// that tests can answer for the user by overriding it.

#include <QString>

#include <functional>
#include <optional>

class QDialog;
class QWidget;

enum class TAnswer { Yes, No, Cancel };

class TUserDialogs
{
public:
    explicit TUserDialogs(QWidget* owner = nullptr);
    virtual ~TUserDialogs() = default;
    TUserDialogs(const TUserDialogs&) = delete;
    TUserDialogs& operator=(const TUserDialogs&) = delete;

    // A confirmation box captioned "Confirm" with Yes and No, and Cancel when asked for;
    // Yes is the default, Esc answers Cancel (or No without Cancel).
    virtual TAnswer Ask(const QString& question, bool withCancel);
    // The error box: empty caption, critical icon, OK.
    virtual void ShowError(const QString& message);
    // File dialogs without a filter or a default extension; empty when cancelled. They start
    // where the document is (see DialogStartPath), and Save offers the document's name.
    virtual std::optional<QString> OpenName();
    virtual std::optional<QString> SaveName();
    // Asks for a line number from 1 to lineCount, offering current; empty when cancelled.
    virtual std::optional<int> AskLineNumber(int current, int lineCount);
    // Shows a modal dialog; true when it closed with OK.
    virtual bool Execute(QDialog& dialog);

    void SetOwner(QWidget* owner) { FOwner = owner; }
    // The open document's file name (empty while untitled), asked each time a dialog opens.
    void SetDocumentFile(std::function<QString()> documentFile)
    {
        FDocumentFile = std::move(documentFile);
    }

protected:
private:
    QString StartPath(bool offerName) const;
    void Remember(const QString& chosen);

    QWidget* FOwner;
    std::function<QString()> FDocumentFile;
    QString FLastFolder;
};
