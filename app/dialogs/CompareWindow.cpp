#include "app/dialogs/CompareWindow.h"

#include "editor/GCodeEditor.h"

#include <QColor>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>
#include <string_view>

namespace {

const QColor kChangedColour(255, 228, 160);  // a pale amber behind the lines that differ

QByteArray Joined(const std::vector<std::string>& lines)
{
    QByteArray text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += '\n';
        text += QByteArray::fromStdString(lines[i]);
    }
    return text;
}

TGCodeEditor* ReadOnlyEditor(const QByteArray& text, QWidget* parent)
{
    auto* editor = new TGCodeEditor(parent);
    editor->SetTextBytes(text);
    editor->setReadOnly(true);
    editor->markerDefine(QsciScintilla::Background, TCompareWindow::kChangedMarker);
    editor->setMarkerBackgroundColor(kChangedColour, TCompareWindow::kChangedMarker);
    return editor;
}

}  // namespace

TCompareWindow::TCompareWindow(const std::vector<std::string>& left, const QByteArray& right,
                               const QString& otherName, QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmCompare"));
    setWindowTitle(QStringLiteral("Compare with %1").arg(otherName));
    memLeft = ReadOnlyEditor(Joined(left), this);
    memRight = ReadOnlyEditor(right, this);
    const TLineList rightLines = memRight->LinesView();
    std::vector<std::string_view> leftViews(left.begin(), left.end());
    std::vector<std::string_view> rightViews(rightLines.size());
    for (std::size_t i = 0; i < rightLines.size(); ++i)
        rightViews[i] = rightLines[i];
    FHunks = DiffLines(leftViews, rightViews);

    btnPrevious = new QPushButton(QStringLiteral("&Previous Difference"), this);
    btnNext = new QPushButton(QStringLiteral("&Next Difference"), this);
    const QString differences = FHunks.empty() ? QStringLiteral("The texts are the same.")
                                : FHunks.size() == 1
                                    ? QStringLiteral("1 difference")
                                    : QStringLiteral("%1 differences").arg(FHunks.size());
    lblDifferences = new QLabel(differences, this);
    connect(btnPrevious, &QPushButton::clicked, this, [this] { GoToDifference(false); });
    connect(btnNext, &QPushButton::clicked, this, [this] { GoToDifference(true); });

    auto* splitter = new QSplitter(this);
    splitter->addWidget(memLeft);
    splitter->addWidget(memRight);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnPrevious);
    buttons->addWidget(btnNext);
    buttons->addWidget(lblDifferences, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(splitter, 1);
    MarkChanges();
    // A look at the differences is closed as it was opened, from the keyboard.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    constexpr int kWidth = 1000;
    constexpr int kHeight = 700;
    resize(kWidth, kHeight);
}

void TCompareWindow::MarkChanges()
{
    for (const TDiffHunk& hunk : FHunks) {
        for (std::size_t line = hunk.LeftBegin; line < hunk.LeftEnd; ++line)
            memLeft->markerAdd(static_cast<int>(line), kChangedMarker);
        for (std::size_t line = hunk.RightBegin; line < hunk.RightEnd; ++line)
            memRight->markerAdd(static_cast<int>(line), kChangedMarker);
    }
}

void TCompareWindow::GoToDifference(bool forward)
{
    int line = 0;
    int index = 0;
    memLeft->getCursorPosition(&line, &index);
    const auto hunk = NeighbourHunk(FHunks, static_cast<std::size_t>(line), forward);
    if (!hunk)
        return;
    const TDiffHunk& found = FHunks[*hunk];
    // Both sides show the difference at the same height.
    for (auto [editor, first] :
         {std::pair{memLeft, found.LeftBegin}, std::pair{memRight, found.RightBegin}}) {
        const int at = static_cast<int>(
            std::min<std::size_t>(first, static_cast<std::size_t>(editor->lines() - 1)));
        editor->setCursorPosition(at, 0);
        editor->setFirstVisibleLine(std::max(0, at - 3));
    }
}
