#include "editor/FindBar.h"

#include <Qsci/qsciscintilla.h>

#include <QAction>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>

namespace {

using Sci = QsciScintillaBase;

constexpr int kFieldWidthPx = 150;

const QString kNotFound = QStringLiteral("not found");
const QString kWrappedToTop = QStringLiteral("Passed the end, continued from the top");
const QString kWrappedToBottom = QStringLiteral("Passed the start, continued from the bottom");

QLineEdit* NewField(const char* name, const QString& placeholder, QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setPlaceholderText(placeholder);
    field->setFixedWidth(kFieldWidthPx);
    field->setClearButtonEnabled(true);
    return field;
}

QCheckBox* NewSwitch(const char* name, const QString& caption, QWidget* parent)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

}  // namespace

TFindBar::TFindBar(QsciScintilla& editor, QWidget* parent) : QToolBar(parent), FEditor(editor)
{
    setObjectName(QStringLiteral("FindBar"));
    setWindowTitle(QStringLiteral("Find"));
    setMovable(false);
    setFloatable(false);
    CreateControls();
    hide();
}

void TFindBar::CreateControls()
{
    edtFind = NewField("edtFind", QStringLiteral("Find"), this);
    addWidget(edtFind);
    addAction(QStringLiteral("Next"), this, &TFindBar::FindNext)
        ->setObjectName(QStringLiteral("btnFindNext"));
    addAction(QStringLiteral("Previous"), this, &TFindBar::FindPrevious)
        ->setObjectName(QStringLiteral("btnFindPrevious"));
    cbxMatchCase = NewSwitch("cbxMatchCase", QStringLiteral("Match case"), this);
    addWidget(cbxMatchCase);
    cbxWholeWord = NewSwitch("cbxWholeWord", QStringLiteral("Whole word"), this);
    addWidget(cbxWholeWord);

    FReplaceControls << addSeparator();
    edtReplace = NewField("edtReplace", QStringLiteral("Replace with"), this);
    FReplaceControls << addWidget(edtReplace);
    FReplaceControls << addAction(QStringLiteral("Replace"), this, &TFindBar::ReplaceNext);
    FReplaceControls.back()->setObjectName(QStringLiteral("btnReplace"));
    FReplaceControls << addAction(QStringLiteral("Replace All"), this, &TFindBar::ReplaceAll);
    FReplaceControls.back()->setObjectName(QStringLiteral("btnReplaceAll"));

    addSeparator();
    lblNote = new QLabel(this);
    lblNote->setObjectName(QStringLiteral("lblNote"));
    addWidget(lblNote);
    auto* spacer = new QWidget(this);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    addWidget(spacer);
    QAction* close =
        addAction(style()->standardIcon(QStyle::SP_TitleBarCloseButton), QStringLiteral("Close"));
    close->setObjectName(QStringLiteral("btnFindClose"));
    connect(close, &QAction::triggered, this, &TFindBar::Close);

    connect(edtFind, &QLineEdit::returnPressed, this, &TFindBar::FindNext);
    connect(edtReplace, &QLineEdit::returnPressed, this, &TFindBar::ReplaceNext);
    // A note about the last search no longer holds once what is searched for changes.
    connect(edtFind, &QLineEdit::textEdited, this, [this] { SetNote({}); });
}

void TFindBar::ShowFind()
{
    Open(false);
}

void TFindBar::ShowReplace()
{
    Open(true);
}

void TFindBar::Open(bool replacing)
{
    const QString selected = FEditor.selectedText();
    if (!selected.isEmpty() && !selected.contains(QLatin1Char('\n')) &&
        !selected.contains(QLatin1Char('\r')))
        edtFind->setText(selected);
    for (QAction* control : FReplaceControls)
        control->setVisible(replacing);
    SetNote({});
    show();
    edtFind->setFocus();
    edtFind->selectAll();
}

bool TFindBar::FindNext()
{
    return Find(true);
}

bool TFindBar::FindPrevious()
{
    return Find(false);
}

bool TFindBar::Find(bool forward)
{
    // With nothing to search for yet, Find Next and Find Previous ask for it.
    if (Pattern().isEmpty()) {
        ShowFind();
        return false;
    }
    const long from =
        FEditor.SendScintilla(forward ? Sci::SCI_GETSELECTIONEND : Sci::SCI_GETSELECTIONSTART);
    const auto match = FindText(FEditor, Pattern(), Options(), from, forward);
    if (!match) {
        SetNote(kNotFound);
        return false;
    }
    Select(*match);
    SetNote(!match->wrapped ? QString() : forward ? kWrappedToTop : kWrappedToBottom);
    return true;
}

void TFindBar::Select(const TSearchMatch& match)
{
    // Setting the selection scrolls the caret, at the match's end, into view.
    FEditor.SendScintilla(Sci::SCI_SETSEL, static_cast<unsigned long>(match.start), match.end);
}

void TFindBar::ReplaceNext()
{
    const long start = FEditor.SendScintilla(Sci::SCI_GETSELECTIONSTART);
    const long end = FEditor.SendScintilla(Sci::SCI_GETSELECTIONEND);
    const auto match = FindText(FEditor, Pattern(), Options(), start, true);
    if (match && !match->wrapped && match->start == start && match->end == end &&
        !FEditor.isReadOnly()) {
        const QByteArray replacement = edtReplace->text().toUtf8();
        FEditor.SendScintilla(Sci::SCI_SETTARGETRANGE, static_cast<unsigned long>(start), end);
        FEditor.SendScintilla(Sci::SCI_REPLACETARGET,
                              static_cast<unsigned long>(replacement.size()),
                              replacement.constData());
        const long after = start + replacement.size();
        FEditor.SendScintilla(Sci::SCI_SETSEL, static_cast<unsigned long>(after), after);
    }
    FindNext();
}

void TFindBar::ReplaceAll()
{
    if (FEditor.isReadOnly())
        return;
    const long count = ReplaceAllText(FEditor, Pattern(), edtReplace->text().toUtf8(), Options());
    SetNote(count == 0 ? kNotFound : QStringLiteral("%1 replaced").arg(count));
}

void TFindBar::Close()
{
    hide();
    FEditor.setFocus();
}

QString TFindBar::Note() const
{
    return lblNote->text();
}

void TFindBar::SetNote(const QString& note)
{
    lblNote->setText(note);
}

TSearchOptions TFindBar::Options() const
{
    return {cbxMatchCase->isChecked(), cbxWholeWord->isChecked()};
}

QByteArray TFindBar::Pattern() const
{
    return edtFind->text().toUtf8();
}

void TFindBar::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        Close();
        return;
    }
    QToolBar::keyPressEvent(event);
}
