#pragma once
// The line a run of the interpreter failed at, shown in the editor: the caret goes to it, it is
// scrolled into view, an error marker stands in a margin beside it and the message under it
// (and over it while the pointer rests on the line).
// The mark goes when that line is edited, when the text is replaced, or on Clear.

#include <Qsci/qscistyle.h>

#include <QObject>
#include <QPoint>
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
    const QString& Message() const { return FMessage; }

private:
    void TextModified(int position, int modificationType, int linesAdded);
    void PointerRested(QPoint point);

    TGCodeEditor& FEditor;
    // One style number for every message: each new QsciStyle takes another of the few there are.
    QsciStyle FMessageStyle;
    int FHandle = -1;
    QString FMessage;
};
