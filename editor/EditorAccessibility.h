#pragma once
// TEditorAccessibility: QScintilla's accessible editor tells assistive technologies where the
// caret is as a count of characters from the start of the text, which Scintilla makes by walking
// the text up to the caret on every caret move: some 50 ms at the end of a program of a million
// lines, on every frame of playback that moves the caret. While no assistive technology listens
// (the usual case, as Qt tells its activation observers), the editor is a plain accessible widget
// instead; once one listens, QScintilla makes the editor's interface again, with its text.

#include <QAccessible>
#include <QObject>

class QsciScintillaBase;

class TEditorAccessibility : public QObject, private QAccessible::ActivationObserver
{
public:
    explicit TEditorAccessibility(QsciScintillaBase& editor);
    ~TEditorAccessibility() override;

private:
    void accessibilityActiveChanged(bool active) override;
    // Drops the editor's interface when it is not the one for the state of accessibility, so
    // that the next query makes the right one.
    void MatchActivity();

    QsciScintillaBase& FEditor;
};
