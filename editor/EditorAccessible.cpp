#include "editor/EditorAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace {

class TPlainEditorAccessible : public QAccessibleWidget
{
public:
    explicit TPlainEditorAccessible(QWidget* editor)
        : QAccessibleWidget(editor, QAccessible::EditableText)
    {}
};

// What the factory below needs: Qt calls it through a plain function pointer.
struct TPlainAccessibles : QAccessible::ActivationObserver
{
    QString className;
    bool heard = false;                      // assistive technology listens
    std::vector<QPointer<QWidget>> editors;  // those given a plain interface

    void accessibilityActiveChanged(bool active) override
    {
        heard = active;
        if (!active)
            return;
        for (const QPointer<QWidget>& editor : editors) {
            if (editor.isNull())
                continue;
            QAccessibleInterface* cached = QAccessible::queryAccessibleInterface(editor);
            if (dynamic_cast<TPlainEditorAccessible*>(cached) != nullptr)
                QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(cached));
        }
        editors.clear();
    }
};

TPlainAccessibles& Plain()
{
    static TPlainAccessibles plain;
    return plain;
}

QAccessibleInterface* PlainWhileUnheard(const QString& className, QObject* object)
{
    // Factories are asked for the most derived class first, so QScintilla's own, which answers
    // for its base class, is asked only when this one declines.
    TPlainAccessibles& plain = Plain();
    if (className != plain.className || plain.heard || !object->isWidgetType())
        return nullptr;
    auto* editor = static_cast<QWidget*>(object);
    std::erase_if(plain.editors, [](const QPointer<QWidget>& gone) { return gone.isNull(); });
    plain.editors.emplace_back(editor);
    return new TPlainEditorAccessible(editor);
}

}  // namespace

void UsePlainAccessibleWhileUnheard(const char* className)
{
    TPlainAccessibles& plain = Plain();
    if (!plain.className.isEmpty())
        return;
    plain.className = QString::fromLatin1(className);
    plain.heard = QAccessible::isActive();
    QAccessible::installFactory(&PlainWhileUnheard);
    QAccessible::installActivationObserver(&plain);
}
