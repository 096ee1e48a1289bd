#include "app/window/WordHelpTips.h"

#include "editor/GCodeEditor.h"
#include "settings/UserFolders.h"

#include <QCoreApplication>
#include <QToolTip>

namespace {

constexpr int kDwellMs = 500;  // how long the pointer rests before the tip shows

}  // namespace

TWordHelpTips::TWordHelpTips(TGCodeEditor& editor) : QObject(&editor), FEditor(editor)
{
    FHelp.AddFile(InstalledWordHelpPath(QCoreApplication::applicationDirPath().toStdString()));
    const std::string config = UserBaseFolder("XDG_CONFIG_HOME", ".config");
    if (!config.empty())
        FHelp.AddFile(UserWordHelpPath(config));
    editor.SendScintilla(QsciScintillaBase::SCI_SETMOUSEDWELLTIME, kDwellMs);
    connect(&editor, &QsciScintillaBase::SCN_DWELLSTART, this, &TWordHelpTips::ShowTip);
    connect(&editor, &QsciScintillaBase::SCN_DWELLEND, this, [] { QToolTip::hideText(); });
}

QString TWordHelpTips::TipAt(long position) const
{
    if (position < 0)
        return {};
    const long line = FEditor.SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, position);
    const long start = FEditor.SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line);
    const long end = FEditor.SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION, line);
    const auto* text = static_cast<const char*>(
        FEditor.SendScintillaPtrResult(QsciScintillaBase::SCI_GETCHARACTERPOINTER));
    const std::string_view lineText(text + start, static_cast<std::size_t>(end - start));
    const std::string_view word = WordAt(lineText, static_cast<std::size_t>(position - start));
    return QString::fromStdString(FHelp.Lookup(word));
}

void TWordHelpTips::ShowTip(int position, int x, int y)
{
    const QString tip = TipAt(position);
    if (!tip.isEmpty())
        QToolTip::showText(FEditor.viewport()->mapToGlobal(QPoint(x, y)), tip, FEditor.viewport());
}
