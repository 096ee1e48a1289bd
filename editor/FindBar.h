#pragma once
// The find bar: a strip with a search field, match-case and whole-word switches and, for
// replacing, a replacement field, that searches an editor's text from its selection onwards and
// selects what it finds. Wrapping around the end and a text that is nowhere to be found are
// reported in the bar itself, never in a box, so that searching never stops the user's typing.

#include "editor/TextSearch.h"

#include <QToolBar>

class QAction;
class QCheckBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QsciScintilla;

class TFindBar : public QToolBar
{
    Q_OBJECT

public:
    explicit TFindBar(QsciScintilla& editor, QWidget* parent = nullptr);

    // Shows the bar with the search field focused and selected; a selection within one line of
    // the editor becomes the text searched for. ShowReplace also shows the replacement controls.
    void ShowFind();
    void ShowReplace();

    // Selects the next match after the selection, or the one before it; true when found.
    bool FindNext();
    bool FindPrevious();
    // Replaces the selection when it is a match, then selects the next match.
    void ReplaceNext();
    // Replaces every match, as one step that one undo takes back.
    void ReplaceAll();

    // The note in the bar: a wrap, a count, or "not found"; empty after a plain find.
    QString Note() const;

protected:
    // Escape closes the bar and gives the focus back to the editor.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreateControls();
    void Open(bool replacing);
    void Close();
    bool Find(bool forward);
    void Select(const TSearchMatch& match);
    TSearchOptions Options() const;
    QByteArray Pattern() const;
    void SetNote(const QString& note);

    QsciScintilla& FEditor;
    QLineEdit* edtFind = nullptr;
    QLineEdit* edtReplace = nullptr;
    QCheckBox* cbxMatchCase = nullptr;
    QCheckBox* cbxWholeWord = nullptr;
    QLabel* lblNote = nullptr;
    QList<QAction*> FReplaceControls;
};
