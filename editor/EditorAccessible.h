#pragma once
// The editor's accessible interface while no assistive technology listens.
//
// QScintilla's own accessible editor tells listeners where the caret went as a character count
// from the start of the text, counted afresh at every caret move: a tenth of a second at the end
// of a million lines. Qt 6 makes the accessible interface of every widget that raises an
// accessibility event (shown, hidden, focused) whether or not anything listens, so every editor
// paid that count. While nothing listens, an editor gets a plain accessible widget instead; once
// assistive technology starts listening, the plain interfaces are dropped, and QScintilla's take
// their place when next asked for.

// Installs the accessibility factory for the class name given (once per process; later calls
// add nothing).
void UsePlainAccessibleWhileUnheard(const char* className);
