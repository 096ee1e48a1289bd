// The editor control driven as a real widget: bytes in and out unchanged, lines, the modified
// flag and undo state with their signals, edit commands through the clipboard, the gutter, the
// context menu, the wheel and the scroll hint.
#include "editor/GCodeEditor.h"
#include "tests/support/WaitFor.h"

#include <Qsci/qscilexercustom.h>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QToolTip>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

using namespace std::string_literals;
using namespace std::string_view_literals;
using TLineBreak = TGCodeEditor::TLineBreak;

namespace {

constexpr int kEditorWidthPx = 400;
constexpr int kEditorHeightPx = 300;
constexpr int kWheelNotch = 120;
constexpr int kWaitMs = 2000;

QByteArray Bytes(std::string_view text)
{
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

// "N1\n" ... "N<count>\n" without the last break.
QByteArray NumberedLines(int count)
{
    QByteArray text;
    for (int i = 1; i <= count; ++i) {
        if (i > 1)
            text += '\n';
        text += "N" + QByteArray::number(i);
    }
    return text;
}

class TGCodeEditorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        editor.resize(kEditorWidthPx, kEditorHeightPx);
        editor.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
    }

    void TearDown() override { QToolTip::hideText(); }

    // Puts the caret at line and index and types text there, as the user would.
    void TypeAt(int line, int index, const QString& text)
    {
        editor.setCursorPosition(line, index);
        QTest::keyClicks(&editor, text);
    }

    TGCodeEditor editor;
};

// Loading and writing back: every file whose breaks are all of one kind comes back unchanged.
struct TRoundTripCase
{
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
    TLineBreak lineBreak;
};

void PrintTo(const TRoundTripCase& c, std::ostream* out)
{
    *out << c.name;
}

class TGCodeEditorRoundTripTest : public TGCodeEditorTest,
                                  public ::testing::WithParamInterface<TRoundTripCase>
{};

TEST_P(TGCodeEditorRoundTripTest, WritesBackTheLoadedBytesAndSplitsLines)
{
    const TRoundTripCase& c = GetParam();
    editor.SetTextBytes(Bytes(c.bytes));

    EXPECT_EQ(editor.TextBytes(), Bytes(c.bytes));
    EXPECT_EQ(editor.Lines().ToStrings(), c.lines);
    EXPECT_EQ(editor.LineBreak(), c.lineBreak);
    EXPECT_EQ(static_cast<std::size_t>(editor.lines()), c.lines.size());
    EXPECT_FALSE(editor.Modified());
    EXPECT_FALSE(editor.CanUndo());
}

INSTANTIATE_TEST_SUITE_P(
    Files, TGCodeEditorRoundTripTest,
    ::testing::Values(
        TRoundTripCase{"CrLf", "G0 X1\r\nG1 Y2\r\nM2", {"G0 X1", "G1 Y2", "M2"}, TLineBreak::CrLf},
        TRoundTripCase{"Lf", "G0 X1\nG1 Y2\nM2", {"G0 X1", "G1 Y2", "M2"}, TLineBreak::Lf},
        TRoundTripCase{"Cr", "G0 X1\rG1 Y2\rM2", {"G0 X1", "G1 Y2", "M2"}, TLineBreak::Cr},
        TRoundTripCase{"EndsInLf", "G0 X1\nM2\n", {"G0 X1", "M2", ""}, TLineBreak::Lf},
        TRoundTripCase{"EndsInCrLf", "G0\r\n", {"G0", ""}, TLineBreak::CrLf},
        TRoundTripCase{"EmptyCrLines", "\r\r", {"", "", ""}, TLineBreak::Cr},
        TRoundTripCase{
            "Latin1", "G1 X1 (10\xB0 turn)\r\nM2", {"G1 X1 (10\xB0 turn)", "M2"}, TLineBreak::CrLf},
        TRoundTripCase{"Utf8", "(\xC3\x98 6 mm)\nM2", {"(\xC3\x98 6 mm)", "M2"}, TLineBreak::Lf},
        TRoundTripCase{"NulBytes", "G0\0X1\nM2\0"s, {"G0\0X1"s, "M2\0"s}, TLineBreak::Lf},
        TRoundTripCase{"NoBreak", "G0 X1", {"G0 X1"}, TLineBreak::CrLf},
        TRoundTripCase{"Empty", "", {""}, TLineBreak::CrLf}),
    [](const ::testing::TestParamInfo<TRoundTripCase>& info) { return info.param.name; });

// A large text goes in in parts: a CR LF cut in two by a part boundary is still one break, and
// the load reports its parts in order up to the whole.
TEST_F(TGCodeEditorTest, LoadInPartsKeepsABreakThatSpansTwoPartsAndReportsProgress)
{
    constexpr int kPartBytes = 8 << 20;
    QByteArray text(kPartBytes - 1, 'X');
    text += "\r\nG0\r\n";
    text += QByteArray(kPartBytes, ';');
    std::vector<std::size_t> reported;
    editor.SetTextBytes(text, [&](std::size_t done, std::size_t total) {
        EXPECT_EQ(total, static_cast<std::size_t>(text.size()));
        reported.push_back(done);
    });
    EXPECT_EQ(editor.lines(), 3);
    EXPECT_EQ(editor.LinesView()[1], "G0");
    EXPECT_EQ(editor.TextBytes(), text);
    EXPECT_EQ(reported, (std::vector<std::size_t>{0, kPartBytes, 2 * kPartBytes}));
}

// A source that fails part of the way (a file that cannot be read to its end): the parts read
// stay, with their line break, and the editor is left editable and without an undo step.
TEST_F(TGCodeEditorTest, ALoadThatFailsKeepsThePartsReadAndAnEditableEditor)
{
    editor.SetTextBytes("old\r\ntext\r\n");
    const std::vector<std::string_view> parts = {"G0 X1\nG1", " Y2\n", ""};
    std::size_t next = 0;
    const auto source = [&]() -> std::string_view {
        if (next == 2)
            throw std::runtime_error("read failed");
        return parts[next++];
    };
    EXPECT_THROW(editor.SetTextFrom(100, source), std::runtime_error);
    EXPECT_EQ(editor.TextBytes(), QByteArray("G0 X1\nG1 Y2\n"));
    EXPECT_EQ(editor.LineBreak(), TLineBreak::Lf);
    EXPECT_FALSE(editor.isReadOnly());
    EXPECT_FALSE(editor.CanUndo());
    EXPECT_FALSE(editor.Modified());
    TypeAt(0, 0, "N1 ");
    EXPECT_EQ(editor.LinesView()[0], "N1 G0 X1");
    EXPECT_TRUE(editor.CanUndo());
}

TEST_F(TGCodeEditorTest, MixedBreaksAreWrittenInTheStyleOfTheFirst)
{
    editor.SetTextBytes("a\nb\r\nc\rd\n");
    EXPECT_EQ(editor.Lines().ToStrings(), (std::vector<std::string>{"a", "b", "c", "d", ""}));
    EXPECT_EQ(editor.TextBytes(), QByteArray("a\nb\nc\nd\n"));

    // A later load finds its own style, independent of the one before.
    editor.SetTextBytes("x\r\ny");
    EXPECT_EQ(editor.LineBreak(), TLineBreak::CrLf);
}

TEST_F(TGCodeEditorTest, EditKeepsInvalidUtf8AndNulBytesElsewhere)
{
    editor.SetTextBytes(Bytes("G1 X1 (10\xB0 turn)\0\r\nG0 Y2\r\n"sv));
    TypeAt(1, 0, "N5 ");
    EXPECT_EQ(editor.TextBytes(), Bytes("G1 X1 (10\xB0 turn)\0\r\nN5 G0 Y2\r\n"sv));
    EXPECT_TRUE(editor.Modified());
}

// A typed line break, and a pasted one, take the style of the loaded file.
struct TNewLineCase
{
    const char* name;
    const char* loaded;
    const char* afterReturn;
};

void PrintTo(const TNewLineCase& c, std::ostream* out)
{
    *out << c.name;
}

class TGCodeEditorNewLineTest : public TGCodeEditorTest,
                                public ::testing::WithParamInterface<TNewLineCase>
{};

TEST_P(TGCodeEditorNewLineTest, ReturnInsertsTheLoadedBreak)
{
    editor.SetTextBytes(GetParam().loaded);
    editor.setCursorPosition(0, 1);
    QTest::keyClick(&editor, Qt::Key_Return);
    EXPECT_EQ(editor.TextBytes(), QByteArray(GetParam().afterReturn));
    // The document itself holds that break, not just the text written back.
    EXPECT_EQ(editor.text(), QString(GetParam().afterReturn));
    EXPECT_EQ(editor.Lines().ToStrings(), (std::vector<std::string>{"a", "", "b"}));
}

INSTANTIATE_TEST_SUITE_P(Styles, TGCodeEditorNewLineTest,
                         ::testing::Values(TNewLineCase{"Cr", "a\rb", "a\r\rb"},
                                           TNewLineCase{"Lf", "a\nb", "a\n\nb"},
                                           TNewLineCase{"CrLf", "a\r\nb", "a\r\n\r\nb"}),
                         [](const ::testing::TestParamInfo<TNewLineCase>& info) {
                             return info.param.name;
                         });

TEST_F(TGCodeEditorTest, TextNeverLoadedUsesCrLf)
{
    QTest::keyClicks(&editor, "a");
    QTest::keyClick(&editor, Qt::Key_Return);
    QTest::keyClicks(&editor, "b");
    EXPECT_EQ(editor.text(), QString("a\r\nb"));
}

TEST_F(TGCodeEditorTest, PastedBreaksTakeTheLoadedStyle)
{
    editor.SetTextBytes("a\rb");
    QApplication::clipboard()->setText("x\ny\r\n");
    editor.setCursorPosition(1, 0);
    editor.paste();
    EXPECT_EQ(editor.text(), QString("a\rx\ry\rb"));
}

TEST_F(TGCodeEditorTest, ModifiedFlagIsSetByEditsOnly)
{
    const QSignalSpy changes(&editor, &QsciScintilla::modificationChanged);
    editor.SetTextBytes("G0 X1\n");
    EXPECT_FALSE(editor.Modified());

    TypeAt(0, 0, "N1 ");
    EXPECT_TRUE(editor.Modified());

    // A load neither sets nor clears the flag.
    editor.SetTextBytes("G1 Y2\n");
    EXPECT_TRUE(editor.Modified());
    editor.SetModified(false);
    editor.SetTextBytes("G2 Z3\n");
    EXPECT_FALSE(editor.Modified());

    ASSERT_EQ(changes.count(), 2);
    EXPECT_TRUE(changes.at(0).at(0).toBool());
    EXPECT_FALSE(changes.at(1).at(0).toBool());
}

TEST_F(TGCodeEditorTest, UndoBackToTheUnmodifiedTextKeepsTheFlag)
{
    editor.SetTextBytes("G0 X1");
    const QSignalSpy changes(&editor, &QsciScintilla::modificationChanged);
    TypeAt(0, 0, "N1 ");
    editor.undo();
    EXPECT_EQ(editor.TextBytes(), QByteArray("G0 X1"));
    EXPECT_TRUE(editor.Modified());
    EXPECT_EQ(changes.count(), 1);

    // An undo past the point where the flag was cleared is an edit too.
    TypeAt(0, 0, "N2 ");
    editor.SetModified(false);
    editor.undo();
    EXPECT_TRUE(editor.Modified());
}

TEST_F(TGCodeEditorTest, ClearAllEmptiesTextHistoryAndFlag)
{
    editor.SetTextBytes("G0 X1\nM2");
    TypeAt(0, 0, "N1 ");
    editor.undo();
    ASSERT_TRUE(editor.isRedoAvailable());

    editor.ClearAll();
    EXPECT_EQ(editor.TextBytes(), QByteArray());
    EXPECT_EQ(editor.Lines().ToStrings(), std::vector<std::string>{""});
    EXPECT_FALSE(editor.Modified());
    EXPECT_FALSE(editor.CanUndo());
    EXPECT_FALSE(editor.isRedoAvailable());
}

TEST_F(TGCodeEditorTest, LoadIsNotUndoable)
{
    const QSignalSpy undoChanges(&editor, &TGCodeEditor::UndoAvailableChanged);
    editor.SetTextBytes("first");
    TypeAt(0, 0, "x");
    EXPECT_TRUE(editor.CanUndo());

    editor.SetTextBytes("second");
    EXPECT_FALSE(editor.CanUndo());
    editor.undo();
    EXPECT_EQ(editor.TextBytes(), QByteArray("second"));

    ASSERT_EQ(undoChanges.count(), 2);
    EXPECT_TRUE(undoChanges.at(0).at(0).toBool());
    EXPECT_FALSE(undoChanges.at(1).at(0).toBool());
}

TEST_F(TGCodeEditorTest, CanUndoFollowsEditsUndoAndReadOnly)
{
    const QSignalSpy undoChanges(&editor, &TGCodeEditor::UndoAvailableChanged);
    editor.SetTextBytes("G0");
    TypeAt(0, 2, " X1");
    EXPECT_TRUE(editor.CanUndo());
    editor.undo();
    EXPECT_FALSE(editor.CanUndo());
    editor.redo();
    EXPECT_TRUE(editor.CanUndo());

    editor.setReadOnly(true);
    EXPECT_FALSE(editor.CanUndo());
    editor.setReadOnly(false);
    EXPECT_TRUE(editor.CanUndo());
    EXPECT_EQ(undoChanges.count(), 5);
}

TEST_F(TGCodeEditorTest, LoadReplacesTheTextOfAReadOnlyEditor)
{
    editor.setReadOnly(true);
    editor.SetTextBytes("G0 X1");
    EXPECT_EQ(editor.TextBytes(), QByteArray("G0 X1"));
    EXPECT_TRUE(editor.isReadOnly());
}

TEST_F(TGCodeEditorTest, DeleteRemovesTheSelectionOnly)
{
    editor.SetTextBytes("G0 X1 Y2");
    editor.setCursorPosition(0, 3);
    editor.DeleteSelection();
    EXPECT_EQ(editor.TextBytes(), QByteArray("G0 X1 Y2"));
    EXPECT_FALSE(editor.Modified());

    editor.setSelection(0, 3, 0, 6);
    editor.DeleteSelection();
    EXPECT_EQ(editor.TextBytes(), QByteArray("G0 Y2"));
    EXPECT_TRUE(editor.Modified());
    EXPECT_FALSE(editor.HasSelectedText());
}

TEST_F(TGCodeEditorTest, SelectionChangesAreSignalled)
{
    editor.SetTextBytes("G0 X1\nM2");
    const QSignalSpy selection(&editor, &QsciScintilla::selectionChanged);
    editor.selectAll();
    EXPECT_TRUE(editor.HasSelectedText());
    EXPECT_EQ(editor.selectedText(), QString("G0 X1\nM2"));
    EXPECT_GE(selection.count(), 1);

    const int afterSelect = selection.count();
    editor.setCursorPosition(0, 0);
    EXPECT_FALSE(editor.HasSelectedText());
    EXPECT_GT(selection.count(), afterSelect);
}

TEST_F(TGCodeEditorTest, CopyCutAndPasteGoThroughTheClipboard)
{
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->setText("unchanged");
    editor.SetTextBytes("G0 X1 Y2");

    editor.setCursorPosition(0, 2);
    editor.copy();
    editor.cut();
    EXPECT_EQ(clipboard->text(), QString("unchanged"));
    EXPECT_FALSE(editor.Modified());

    editor.setSelection(0, 3, 0, 5);
    editor.copy();
    EXPECT_EQ(clipboard->text(), QString("X1"));
    EXPECT_FALSE(editor.Modified());

    editor.setSelection(0, 6, 0, 8);
    editor.cut();
    EXPECT_EQ(clipboard->text(), QString("Y2"));
    EXPECT_EQ(editor.TextBytes(), QByteArray("G0 X1 "));
    EXPECT_TRUE(editor.Modified());

    editor.setCursorPosition(0, 0);
    editor.paste();
    EXPECT_EQ(editor.TextBytes(), QByteArray("Y2G0 X1 "));
}

TEST_F(TGCodeEditorTest, GutterWidthFollowsTheDigitsOfTheLineCount)
{
    constexpr int kGutterMargin = 0;
    constexpr int kGutterLeftOffsetPx = 5;

    editor.SetTextBytes(NumberedLines(9));
    const int oneDigit = editor.marginWidth(kGutterMargin);
    editor.SetTextBytes(NumberedLines(1));
    EXPECT_EQ(editor.marginWidth(kGutterMargin), oneDigit);

    // Typing the tenth line widens the gutter as a load does.
    editor.SetTextBytes(NumberedLines(9));
    editor.setCursorPosition(8, 2);
    QTest::keyClick(&editor, Qt::Key_Return);
    const int twoDigits = editor.marginWidth(kGutterMargin);
    EXPECT_GT(twoDigits, oneDigit);

    editor.SetTextBytes(NumberedLines(99));
    EXPECT_EQ(editor.marginWidth(kGutterMargin), twoDigits);
    editor.SetTextBytes(NumberedLines(100));
    const int threeDigits = editor.marginWidth(kGutterMargin);
    EXPECT_GT(threeDigits, twoDigits);
    EXPECT_GE(threeDigits,
              QFontMetrics(editor.GutterFont()).horizontalAdvance("100") + kGutterLeftOffsetPx);

    editor.ClearAll();
    EXPECT_EQ(editor.marginWidth(kGutterMargin), oneDigit);

    // Zoomed numbers need more room.
    editor.zoomIn(4);
    EXPECT_GT(editor.marginWidth(kGutterMargin), oneDigit);
}

TEST_F(TGCodeEditorTest, FontsAreFixedPitchAtTheirPixelHeights)
{
    constexpr int kTextCharHeightPx = 13;
    constexpr int kGutterCharHeightPx = 11;
    const QFontInfo text(editor.TextFont());
    const QFontInfo gutter(editor.GutterFont());
    // Every character takes the same advance (some monospaced fonts do not declare it).
    const QFontMetrics textMetrics(editor.TextFont());
    EXPECT_EQ(textMetrics.horizontalAdvance(QLatin1Char('i')),
              textMetrics.horizontalAdvance(QLatin1Char('W')));
    EXPECT_EQ(text.pixelSize(), kTextCharHeightPx);
    EXPECT_EQ(gutter.pixelSize(), kGutterCharHeightPx);
    EXPECT_EQ(gutter.family(), text.family());

    // Scintilla draws the text and the numbers in points; converted back they give those heights.
    const auto styleHeightPx = [this](int style) {
        constexpr double kPointsPerInch = 72;
        constexpr double kSizeMultiplier = QsciScintillaBase::SC_FONT_SIZE_MULTIPLIER;
        const auto size =
            editor.SendScintilla(QsciScintillaBase::SCI_STYLEGETSIZEFRACTIONAL, style);
        const double points = static_cast<double>(size) / kSizeMultiplier;
        return points * editor.logicalDpiY() / kPointsPerInch;
    };
    constexpr double kTolerancePx = 0.05;
    EXPECT_NEAR(styleHeightPx(QsciScintillaBase::STYLE_DEFAULT), kTextCharHeightPx, kTolerancePx);
    EXPECT_NEAR(styleHeightPx(QsciScintillaBase::STYLE_LINENUMBER), kGutterCharHeightPx,
                kTolerancePx);
}

TEST(TGCodeEditorShortcutTest, EnabledWindowShortcutsRunTheirActionsDisabledOnesReachTheEditor)
{
    QWidget window;
    auto* editor = new TGCodeEditor(&window);
    auto* deleteAction = new QAction("Delete", &window);
    deleteAction->setShortcut(Qt::Key_Delete);
    window.addAction(deleteAction);
    int triggered = 0;
    QObject::connect(deleteAction, &QAction::triggered, [&triggered] { ++triggered; });
    window.show();
    // Window shortcuts only fire in the active window.
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    editor->setFocus();
    editor->SetTextBytes("G0 X1");

    editor->setCursorPosition(0, 0);
    QTest::keyClick(editor, Qt::Key_Delete);
    EXPECT_EQ(triggered, 1);
    EXPECT_EQ(editor->TextBytes(), QByteArray("G0 X1"));

    deleteAction->setEnabled(false);
    QTest::keyClick(editor, Qt::Key_Delete);
    EXPECT_EQ(triggered, 1);
    EXPECT_EQ(editor->TextBytes(), QByteArray("0 X1"));

    // Keys that are no action's shortcut stay with the editor.
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(editor->HasSelectedText());
}

// A lexer that styles nothing, standing in for the highlighter's adapter.
class TPlainLexer : public QsciLexerCustom
{
public:
    using QsciLexerCustom::QsciLexerCustom;
    const char* language() const override { return "Plain"; }
    QString description(int) const override { return {}; }
    void styleText(int, int) override {}
};

TEST_F(TGCodeEditorTest, GutterKeepsItsFontWhenALexerIsAttachedAndDetached)
{
    const auto gutterSize = [this] {
        return editor.SendScintilla(QsciScintillaBase::SCI_STYLEGETSIZEFRACTIONAL,
                                    QsciScintillaBase::STYLE_LINENUMBER);
    };
    const auto textSize = [this] {
        return editor.SendScintilla(QsciScintillaBase::SCI_STYLEGETSIZEFRACTIONAL,
                                    QsciScintillaBase::STYLE_DEFAULT);
    };
    const long gutter = gutterSize();
    const long text = textSize();
    editor.SetTextBytes(NumberedLines(100));
    const int width = editor.marginWidth(0);

    auto* lexer = new TPlainLexer(&editor);
    editor.setLexer(lexer);
    EXPECT_EQ(gutterSize(), gutter);
    EXPECT_EQ(editor.marginWidth(0), width);

    editor.setLexer(nullptr);
    EXPECT_EQ(gutterSize(), gutter);
    EXPECT_EQ(textSize(), text);
    EXPECT_EQ(editor.marginWidth(0), width);
}

TEST_F(TGCodeEditorTest, RightClickShowsTheContextMenu)
{
    auto* menu = new QMenu(&editor);
    menu->addAction("Undo");
    editor.SetContextMenu(menu);
    // What the window system sends for a right click over the text.
    const QPoint at(50, 20);
    QContextMenuEvent click(QContextMenuEvent::Mouse, at, editor.viewport()->mapToGlobal(at));
    QApplication::sendEvent(editor.viewport(), &click);
    EXPECT_TRUE(click.isAccepted());
    EXPECT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }, kWaitMs));
    menu->close();
}

TEST_F(TGCodeEditorTest, WheelAlwaysScrollsAndIsTakenEvenAtTheTop)
{
    editor.SetTextBytes(NumberedLines(500));
    const auto turn = [this](int delta, Qt::KeyboardModifiers modifiers) {
        const QPointF at(50, 50);
        QWheelEvent wheel(at, editor.viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta),
                          Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(editor.viewport(), &wheel);
        return wheel.isAccepted();
    };
    EXPECT_TRUE(turn(kWheelNotch, Qt::NoModifier));
    EXPECT_EQ(editor.firstVisibleLine(), 0);
    EXPECT_TRUE(turn(-kWheelNotch, Qt::NoModifier));
    const int scrolled = editor.firstVisibleLine();
    EXPECT_GT(scrolled, 0);

    // With Ctrl held the wheel scrolls too, rather than zooming.
    EXPECT_TRUE(turn(-kWheelNotch, Qt::ControlModifier));
    EXPECT_GT(editor.firstVisibleLine(), scrolled);
    EXPECT_EQ(editor.SendScintilla(QsciScintillaBase::SCI_GETZOOM), 0);
}

TEST_F(TGCodeEditorTest, ScrollHintShowsVisibleLinesWhileDragging)
{
    constexpr int kLineCount = 1000;
    constexpr int kDragPx = 40;
    editor.SetTextBytes(NumberedLines(kLineCount));
    QScrollBar* bar = editor.verticalScrollBar();
    // The bar appears with the long text and is laid out by the event loop.
    ASSERT_TRUE(QTest::qWaitFor(
        [bar] { return bar->isVisible() && bar->height() > kEditorHeightPx / 2; }, kWaitMs));
    const long onScreen = editor.SendScintilla(QsciScintillaBase::SCI_LINESONSCREEN);
    const auto hintFor = [onScreen](int firstLine) {
        return QString("Lines %1 - %2").arg(firstLine + 1).arg(firstLine + onScreen);
    };

    // Scrolling without a drag shows nothing.
    bar->setValue(kLineCount / 4);
    EXPECT_FALSE(QToolTip::isVisible());
    bar->setValue(0);

    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = option.sliderValue = bar->value();
    option.pageStep = bar->pageStep();
    option.singleStep = bar->singleStep();
    const QPoint handle =
        bar->style()
            ->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar)
            .center();

    QTest::mousePress(bar, Qt::LeftButton, {}, handle);
    QTest::mouseMove(bar, handle + QPoint(0, kDragPx));
    ASSERT_GT(bar->value(), 0);
    ASSERT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), hintFor(bar->value()));

    // Dragged to the bottom, the last line is the text's last.
    QTest::mouseMove(bar, QPoint(handle.x(), bar->height() - 1));
    EXPECT_TRUE(QToolTip::text().endsWith(QString(" - %1").arg(kLineCount)))
        << QToolTip::text().toStdString();

    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(handle.x(), bar->height() - 1));
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, kWaitMs));
}

// A key tells the caret's move before the editor paints; a move made by a call is told while the
// editor paints; each move once.
TEST_F(TGCodeEditorTest, CaretMovedComesWithTheKeyAndOncePerMove)
{
    editor.SetTextBytes(NumberedLines(50));
    editor.setFocus();
    QApplication::processEvents();
    QSignalSpy moves(&editor, &TGCodeEditor::CaretMoved);
    QTest::keyClick(&editor, Qt::Key_Down);
    ASSERT_EQ(moves.size(), 1);  // no event processed since the key
    EXPECT_EQ(moves.at(0), (QList<QVariant>{1, 0}));
    QTest::keyClick(&editor, Qt::Key_End);
    ASSERT_EQ(moves.size(), 2);
    EXPECT_EQ(moves.at(1), (QList<QVariant>{1, 2}));
    QTest::keyClick(&editor, Qt::Key_End);  // no move
    editor.setCursorPosition(40, 1);
    EXPECT_EQ(moves.size(), 2);
    EXPECT_SOON(moves.size() == 3);
    EXPECT_EQ(moves.at(2), (QList<QVariant>{40, 1}));
    QTest::qWait(kWaitMs / 10);
    EXPECT_EQ(moves.size(), 3);
}

// Nothing listens in a test until it says so: the editor's accessible interface is a plain widget
// until then and QScintilla's, which reads the text out, from then on.
TEST_F(TGCodeEditorTest, AccessibleTextOnlyOnceAssistiveTechnologyListens)
{
    editor.SetTextBytes(Bytes("G1 X1\nG1 X2\n"));
    QAccessibleInterface* unheard = QAccessible::queryAccessibleInterface(&editor);
    ASSERT_NE(unheard, nullptr);
    EXPECT_EQ(unheard->role(), QAccessible::EditableText);
    EXPECT_EQ(unheard->textInterface(), nullptr);

    QAccessible::setActive(true);
    QAccessibleInterface* heard = QAccessible::queryAccessibleInterface(&editor);
    ASSERT_NE(heard, nullptr);
    ASSERT_NE(heard->textInterface(), nullptr);
    EXPECT_EQ(heard->textInterface()->characterCount(), 12);
    QAccessible::setActive(false);
}

}  // namespace
