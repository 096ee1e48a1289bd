#pragma once
// Hover help on the editor: when the pointer rests on a word, a tool tip tells what the word
// does, from the word help installed with Zorvit and the user's own file in the config folder.

#include "edit/WordHelp.h"

#include <QObject>

class TGCodeEditor;

class TWordHelpTips : public QObject
{
    Q_OBJECT

public:
    // Reads the help files now; a missing file leaves its entries out.
    explicit TWordHelpTips(TGCodeEditor& editor);

    const TWordHelp& Help() const { return FHelp; }
    // The tip for the byte at position of the editor's text; empty when there is none.
    QString TipAt(long position) const;

private:
    void ShowTip(int position, int x, int y);

    TGCodeEditor& FEditor;
    TWordHelp FHelp;
};
