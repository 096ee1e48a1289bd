#pragma once
// The line a run of the interpreter failed at, shown in the editor: the caret goes to it, it is
// scrolled into view, an error marker stands in a margin beside it and the message under it.
// The mark goes when that line is edited, when the text is replaced, or on Clear.

#include <QObject>
#include <QString>

class TGCodeEditor;

class TFailedLineMark : public QObject
{
    Q_OBJECT

public:
    // Owned by the editor; its margin stays zero wide while nothing is marked.
    explicit TFailedLineMark(TGCodeEditor& editor);

    // line counts from 0; a line past the text's end marks nothing.
    void Show(int line, const QString& message);
    void Clear();
    // The marked line, which moves with lines inserted or removed above it; -1 without a mark.
    int Line() const;
    const QString& Message() const { return fMessage; }

private:
    void TextModified(int position, int modificationType, int linesAdded);

    TGCodeEditor& fEditor;
    int fHandle = -1;
    QString fMessage;
};
