// The editor's accessible interface follows the state of accessibility: a plain widget, which
// leaves QScintilla's count of characters up to the caret undone on every caret move, while no
// assistive technology listens, and QScintilla's own with the text once one does, and back.
#include "editor/GCodeEditor.h"

#include <QAccessible>
#include <QTest>

#include <gtest/gtest.h>

namespace {

bool HasText(QWidget& widget)
{
    QAccessibleInterface* made = QAccessible::queryAccessibleInterface(&widget);
    return made != nullptr && made->textInterface() != nullptr;
}

TEST(EditorAccessibility, TheTextIsOfferedOnlyWhileSomethingListens)
{
    ASSERT_FALSE(QAccessible::isActive());
    TGCodeEditor editor;
    editor.SetTextBytes("G0 X1\nG1 Y2\n");
    editor.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
    editor.setFocus();
    editor.setCursorPosition(1, 2);
    EXPECT_FALSE(HasText(editor));

    for (const bool active : {true, false, true}) {
        QAccessible::setActive(active);
        EXPECT_EQ(HasText(editor), active) << active;
        editor.setCursorPosition(active ? 0 : 1, 1);
        QCoreApplication::processEvents();
    }
    QAccessibleInterface* made = QAccessible::queryAccessibleInterface(&editor);
    EXPECT_EQ(made->textInterface()->characterCount(), 12);
    QAccessible::setActive(false);
}

}  // namespace
