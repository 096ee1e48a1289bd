#include "editor/ColorPicker.h"
#include "editor/GCodeEditor.h"
#include "editor/SynColorsDlg.h"
#include "highlight/SynHighlighterRS274.h"
#include "tests/support/WaitFor.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <string>

namespace {

using Sci = QsciScintillaBase;

template <typename T = QWidget>
T* Find(const QWidget& dialog, const char* name)
{
    T* widget = dialog.findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

long StyleAt(TGCodeEditor& editor, int position)
{
    editor.SendScintilla(Sci::SCI_COLOURISE, 0UL, -1L);
    return editor.SendScintilla(Sci::SCI_GETSTYLEAT, static_cast<unsigned long>(position));
}

bool UnderlinedAt(TGCodeEditor& editor, int position)
{
    return editor.SendScintilla(Sci::SCI_STYLEGETUNDERLINE,
                                static_cast<unsigned long>(StyleAt(editor, position))) != 0;
}

// The selected element as the dialog shows it: "Comment -I- clNavy/clWindow".
std::string Shown(const QWidget& dialog)
{
    std::string shown =
        Find<QListWidget>(dialog, "lbxElements")->currentItem()->text().toStdString() + ' ';
    for (const char* box : {"cbxBold", "cbxItalic", "cbxUnderline"})
        shown += Find<QCheckBox>(dialog, box)->isChecked() ? box[3] : '-';
    return shown + ' ' +
           Find<TColorPicker>(dialog, "cmbForegroundColor")->currentText().toStdString() + '/' +
           Find<TColorPicker>(dialog, "cmbBackgroundColor")->currentText().toStdString();
}

void Select(const QWidget& dialog, const char* element)
{
    auto* list = Find<QListWidget>(dialog, "lbxElements");
    QListWidgetItem* item = list->findItems(element, Qt::MatchExactly).value(0);
    ASSERT_NE(item, nullptr) << element;
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

void Click(const QWidget& dialog, const char* name)
{
    QTest::mouseClick(Find(dialog, name), Qt::LeftButton);
}

void Choose(const QWidget& dialog, const char* picker, const char* colour)
{
    auto* combo = Find<TColorPicker>(dialog, picker);
    combo->showPopup();
    QAbstractItemView* list = combo->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(list->window()));
    const QModelIndex entry = list->model()->index(combo->findText(colour), 0);
    list->scrollTo(entry);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(entry).center());
    EXPECT_SOON(!list->window()->isVisible());
}

class TdlgSynColorTest : public ::testing::Test
{
protected:
    TdlgSynColorTest()
    {
        FEditor.SetHighlighter(std::make_unique<TSynRC274Syn>());
        FEditor.SetTextBytes("G1 X1.5");
    }

    TSynRC274Syn& Syn() { return static_cast<TSynRC274Syn&>(*FEditor.Highlighter()); }

    // Runs EditColors on the main editor's highlighter and drives the dialog while it is shown.
    void EditColors(const std::function<void(TdlgSynColor&)>& drive)
    {
        QPointer<TdlgSynColor> shown;
        QTimer::singleShot(0, [&] {
            shown = qobject_cast<TdlgSynColor*>(QApplication::activeModalWidget());
            // Keys go to the focused control, which the dialog has once its window is active.
            if (shown && QTest::qWaitForWindowExposed(shown) && QTest::qWaitForWindowActive(shown))
                drive(*shown);
            else
                ADD_FAILURE() << "no dialog shown";
            if (shown && shown->isVisible()) {
                ADD_FAILURE() << "the dialog was left open";
                shown->reject();
            }
        });
        TdlgSynColor::EditColors(Syn());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(shown.isNull()) << "a dialog outlived its call";
    }

    static constexpr int kMainNumberAt = 4;
    TGCodeEditor FEditor;
};

TEST_F(TdlgSynColorTest, OpensCentredOnTheActiveWindowAndShowsEachElement)
{
    FEditor.setGeometry(0, 0, 700, 560);  // away from the screen centre
    FEditor.show();
    FEditor.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&FEditor));
    EditColors([this](TdlgSynColor& dialog) {
        EXPECT_EQ(dialog.parentWidget(), &FEditor);
        // Without a window manager Qt centres allowing for a title bar and frame it guesses.
        EXPECT_LE((dialog.geometry().center() - FEditor.geometry().center()).manhattanLength(), 60);
        const auto* list = Find<QListWidget>(dialog, "lbxElements");
        QStringList names;
        for (int i = 0; i < list->count(); ++i)
            names << list->item(i)->text();
        EXPECT_EQ(names.join(',').toStdString(),
                  "Arc,Axis,Comment,General,Identifier,Misc,Number,Reserved Word,Speed,String");
        EXPECT_EQ(Shown(dialog), "Arc --- clRed/clWindow");
        // Neither clNone nor 0xCCFFCC is in the pickers' list.
        for (const std::string expected :
             {"Comment -I- clNavy/clWindow", "General -I- clWindowText/clSilver",
              "Number --- clWindowText/clCream", "Reserved Word B-- /"}) {
            Select(dialog,
                   expected.substr(0, expected.rfind(' ', expected.rfind(' ') - 1)).c_str());
            EXPECT_EQ(Shown(dialog), expected);
        }
        Click(dialog, "Button2");
    });
}

// How the dialog is ended, and whether that applies the edits.
struct TEnding
{
    const char* name;
    std::function<void(TdlgSynColor&)> end;
    bool applies;
};

void PrintTo(const TEnding& ending, std::ostream* out)
{
    *out << ending.name;
}

class TdlgSynColorEndingTest : public TdlgSynColorTest,
                               public ::testing::WithParamInterface<TEnding>
{};

TEST_P(TdlgSynColorEndingTest, PreviewShowsEditsAtOnceAndOnlyConfirmingAppliesThemAndSwitchesOn)
{
    Syn().SetEnabled(false);  // Display Syntax off in the main editor
    EditColors([](TdlgSynColor& dialog) {
        auto* preview = Find<TGCodeEditor>(dialog, "memPreview");
        const int number = static_cast<int>(preview->TextBytes().indexOf("8000"));
        ASSERT_GT(number, 0);
        EXPECT_NE(StyleAt(*preview, number), 0)
            << "the preview is coloured while the main highlighter is off";
        Select(dialog, "Number");
        Click(dialog, "cbxUnderline");
        EXPECT_TRUE(UnderlinedAt(*preview, number));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        ASSERT_TRUE(dialog.isVisible()) << "Escape closed the dialog";
        GetParam().end(dialog);
    });
    const bool applied = GetParam().applies;
    EXPECT_EQ(Syn().Enabled(), applied);
    EXPECT_EQ(Syn().NumberAttri.Style(), applied ? fsUnderline : 0);
    EXPECT_EQ(UnderlinedAt(FEditor, kMainNumberAt), applied);
}

INSTANTIATE_TEST_SUITE_P(
    Endings, TdlgSynColorEndingTest,
    ::testing::Values(TEnding{"Ok", [](TdlgSynColor& d) { Click(d, "Button1"); }, true},
                      TEnding{"Enter",
                              [](TdlgSynColor& d) {
                                  Find(d, "Button1")->setFocus();
                                  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                              },
                              true},
                      TEnding{"Cancel", [](TdlgSynColor& d) { Click(d, "Button2"); }, false},
                      TEnding{"CloseBox", [](TdlgSynColor& d) { d.close(); }, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TdlgSynColorTest, ChosenForegroundKeepsAnUnlistedBackgroundAndTheNextOpeningShowsIt)
{
    EditColors([](TdlgSynColor& dialog) {
        Select(dialog, "Reserved Word");
        Choose(dialog, "cmbForegroundColor", "clRed");
        Click(dialog, "Button1");
    });
    EXPECT_EQ(Syn().KeyAttri.Foreground(), clRed);
    EXPECT_EQ(Syn().KeyAttri.Background(), 0x00CCFFCCu);
    EditColors([](TdlgSynColor& dialog) {
        Select(dialog, "Reserved Word");
        EXPECT_EQ(Shown(dialog), "Reserved Word B-- clRed/");
        Click(dialog, "Button2");
    });
}

TEST_F(TdlgSynColorTest, StrikeOutSurvivesTheCheckBoxes)
{
    Syn().NumberAttri.SetStyle(fsStrikeOut | fsItalic);
    EditColors([](TdlgSynColor& dialog) {
        Select(dialog, "Number");
        EXPECT_EQ(Shown(dialog), "Number -I- clWindowText/clCream");
        for (const char* box : {"cbxBold", "cbxItalic", "cbxUnderline", "cbxBold"})
            Click(dialog, box);
        Select(dialog, "Arc");
        Select(dialog, "Number");
        Click(dialog, "Button1");
    });
    EXPECT_EQ(Syn().NumberAttri.Style(), fsStrikeOut | fsUnderline);
}

TEST(TdlgSynColorLayoutTest, ControlsSitInPlaceAndTabWalksThemInOrder)
{
    TdlgSynColor dialog;
    EXPECT_EQ(dialog.windowTitle(), "Syntax Highlighter Colors");
    EXPECT_EQ(dialog.minimumSize(), QSize(481, 357));
    EXPECT_EQ(dialog.maximumSize(), QSize(481, 357));
    struct TPlace
    {
        const char* name;
        QRect place;
        const char* caption;
    };
    const TPlace places[] = {
        {"Label1", {8, 8, 42, 13}, "Element:"},
        {"lbxElements", {8, 27, 161, 131}, nullptr},
        {"GroupBox1", {201, 19, 201, 38}, nullptr},
        {"cbxBold", {8, 16, 41, 17}, "Bold"},
        {"cbxItalic", {64, 16, 41, 17}, "Italic"},
        {"cbxUnderline", {120, 16, 65, 17}, "Underline"},
        {"Label2", {209, 71, 84, 13}, "Foreground Color"},
        {"cmbForegroundColor", {209, 88, 145, 22}, nullptr},
        {"Label3", {209, 116, 84, 13}, "Background Color"},
        {"cmbBackgroundColor", {209, 136, 145, 22}, nullptr},
        {"memPreview", {8, 173, 449, 133}, nullptr},
        {"Button1", {146, 322, 75, 25}, "&OK"},
        {"Button2", {279, 322, 75, 25}, "&Cancel"},
    };
    for (const TPlace& place : places) {
        const QWidget* widget = Find(dialog, place.name);
        ASSERT_NE(widget, nullptr);
        QRect expected = place.place;
        if (place.caption) {
            EXPECT_EQ(widget->property("text").toString().toStdString(), place.caption);
            // A caption wider than its place in this desktop's font widens it to the right.
            if (!widget->inherits("QPushButton"))
                expected.setWidth(std::max(expected.width(), widget->sizeHint().width()));
        }
        EXPECT_EQ(widget->geometry(), expected) << place.name;
    }
    EXPECT_EQ(Find(dialog, "GroupBox1")->property("title").toString(), "Text Attributes");
    EXPECT_EQ(Find(dialog, "cbxBold")->parentWidget(), Find(dialog, "GroupBox1"));
    EXPECT_TRUE(Find(dialog, "Button1")->property("default").toBool());

    dialog.open();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    for (const char* next :
         {"Button1", "Button2", "cbxBold", "cbxItalic", "cbxUnderline", "lbxElements",
          "cmbForegroundColor", "cmbBackgroundColor", "memPreview"}) {
        QWidget* focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr);
        EXPECT_EQ(focused->objectName().toStdString(), next);
        QTest::keyClick(focused, Qt::Key_Tab);
    }
}

}  // namespace
