#include "editor/EditorAccessibility.h"

#include <QAccessibleWidget>
#include <Qsci/qsciscintillabase.h>

namespace {

// Whether an assistive technology listens, as Qt last told the observers.
bool GListening = false;

// Comes before QScintilla's factory, which Qt asks after it: a plain widget while nothing
// listens, else nothing, and QScintilla's makes its own.
QAccessibleInterface* PlainWhileInactive(const QString&, QObject* object)
{
    auto* editor = qobject_cast<QsciScintillaBase*>(object);
    if (editor == nullptr || GListening)
        return nullptr;
    return new QAccessibleWidget(editor, QAccessible::EditableText);
}

}  // namespace

TEditorAccessibility::TEditorAccessibility(QsciScintillaBase& editor)
    : QObject(&editor), FEditor(editor)
{
    // QScintilla installs its factory with the first editor; Qt asks the last installed first.
    static const bool installed = [] {
        GListening = QAccessible::isActive();
        QAccessible::installFactory(PlainWhileInactive);
        return true;
    }();
    static_cast<void>(installed);
    QAccessible::installActivationObserver(this);
    MatchActivity();
}

TEditorAccessibility::~TEditorAccessibility()
{
    QAccessible::removeActivationObserver(this);
}

void TEditorAccessibility::accessibilityActiveChanged(bool active)
{
    GListening = active;
    MatchActivity();
}

void TEditorAccessibility::MatchActivity()
{
    QAccessibleInterface* made = QAccessible::queryAccessibleInterface(&FEditor);
    if (made != nullptr && (made->textInterface() != nullptr) != GListening)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}
