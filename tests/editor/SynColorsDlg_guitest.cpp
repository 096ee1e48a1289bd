#include "ColorPicker.h"
#include "GCodeEditor.h"
#include "SynColorsDlg.h"
#include "SynHighlighterRS274.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>

namespace {

using Sci = QsciScintillaBase;

template <typename T>
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
    return editor.SendScintilla(Sci::SCI_STYLEGETUNDERLINE, static_cast<unsigned long>(StyleAt(editor, position))) != 0;
}

void Select(const QWidget& dialog, const char* element)
{
    auto* list = Find<QListWidget>(dialog, "lbxElements");
    QListWidgetItem* item = list->findItems(element, Qt::MatchExactly).value(0);
    ASSERT_NE(item, nullptr) << element;
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
    ASSERT_EQ(list->currentItem(), item);
}

void Click(const QWidget& dialog, const char* name)
{
    QTest::mouseClick(Find<QWidget>(dialog, name), Qt::LeftButton);
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
    QTRY_VERIFY(!list->window()->isVisible());
}

class TdlgSynColorTest : public ::testing::Test
{
protected:
    TdlgSynColorTest()
    {
        m_editor.SetHighlighter(std::make_unique<TSynRC274Syn>());
        m_editor.SetTextBytes(QByteArray(kMainText));
    }

    TSynRC274Syn& Syn() { return static_cast<TSynRC274Syn&>(*m_editor.Highlighter()); }

    // Runs EditColors on the main highlighter and drives the dialog while it is shown.
    void EditColors(const std::function<void(TdlgSynColor&)>& drive)
    {
        QPointer<TdlgSynColor> shown;
        QTimer::singleShot(0, [&] {
            shown = qobject_cast<TdlgSynColor*>(QApplication::activeModalWidget());
            if (shown && QTest::qWaitForWindowExposed(shown))
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

    static constexpr char kMainText[] = "G1 X1.5";
    static constexpr int kMainNumberAt = 4;
    TGCodeEditor m_editor;
};

TEST_F(TdlgSynColorTest, ListsTheElementsAndShowsEachOnesStylesAndColours)
{
    struct TShown { const char* element; bool bold, italic, underline; const char* fore; const char* back; };
    const TShown expected[] = {
        {"Arc", false, false, false, "clRed", "clWindow"},
        {"Comment", false, true, false, "clNavy", "clWindow"},
        {"General", false, true, false, "clWindowText", "clSilver"},
        {"Number", false, false, false, "clWindowText", "clCream"},
        {"Reserved Word", true, false, false, "", ""},  // clNone and 0xCCFFCC are not listed
    };
    EditColors([&](TdlgSynColor& dialog) {
        const auto* list = Find<QListWidget>(dialog, "lbxElements");
        QStringList names;
        for (int i = 0; i < list->count(); ++i)
            names << list->item(i)->text();
        EXPECT_EQ(names, QStringList({"Arc", "Axis", "Comment", "General", "Identifier", "Misc",
                                      "Number", "Reserved Word", "Speed", "String"}));
        for (const TShown& shown : expected) {
            if (shown.element != expected[0].element)
                Select(dialog, shown.element);
            EXPECT_EQ(list->currentItem()->text().toStdString(), shown.element);
            EXPECT_EQ(Find<QCheckBox>(dialog, "cbxBold")->isChecked(), shown.bold) << shown.element;
            EXPECT_EQ(Find<QCheckBox>(dialog, "cbxItalic")->isChecked(), shown.italic) << shown.element;
            EXPECT_EQ(Find<QCheckBox>(dialog, "cbxUnderline")->isChecked(), shown.underline) << shown.element;
            EXPECT_EQ(Find<TColorPicker>(dialog, "cmbForegroundColor")->currentText().toStdString(), shown.fore)
                << shown.element;
            EXPECT_EQ(Find<TColorPicker>(dialog, "cmbBackgroundColor")->currentText().toStdString(), shown.back)
                << shown.element;
        }
        Click(dialog, "Button1");
    });
    // Looking through the elements changes none of them.
    const TSynRC274Syn fresh;
    for (int i = 0; i < fresh.AttributeCount(); ++i) {
        const TTokenAttribute& kept = *Syn().AttributeAt(i);
        EXPECT_EQ(kept.Style(), fresh.AttributeAt(i)->Style()) << kept.Name();
        EXPECT_EQ(kept.Foreground(), fresh.AttributeAt(i)->Foreground()) << kept.Name();
        EXPECT_EQ(kept.Background(), fresh.AttributeAt(i)->Background()) << kept.Name();
    }
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

class TdlgSynColorEndingTest : public TdlgSynColorTest, public ::testing::WithParamInterface<TEnding>
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
    EXPECT_EQ(UnderlinedAt(m_editor, kMainNumberAt), applied);
}

INSTANTIATE_TEST_SUITE_P(
    Endings, TdlgSynColorEndingTest,
    ::testing::Values(TEnding{"Ok", [](TdlgSynColor& d) { Click(d, "Button1"); }, true},
                      TEnding{"Enter", [](TdlgSynColor& d) {
                                  Find<QWidget>(d, "Button1")->setFocus();
                                  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                              }, true},
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
        EXPECT_EQ(Find<TColorPicker>(dialog, "cmbForegroundColor")->currentText().toStdString(), "clRed");
        EXPECT_EQ(Find<TColorPicker>(dialog, "cmbBackgroundColor")->currentIndex(), -1);
        Click(dialog, "Button2");
    });
}

TEST_F(TdlgSynColorTest, StrikeOutSurvivesTheCheckBoxes)
{
    Syn().NumberAttri.SetStyle(fsStrikeOut | fsItalic);
    EditColors([](TdlgSynColor& dialog) {
        Select(dialog, "Number");
        EXPECT_TRUE(Find<QCheckBox>(dialog, "cbxItalic")->isChecked());
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
    struct TPlace { const char* name; QRect place; const char* caption; };
    const TPlace places[] = {
        {"Label1", {8, 8, 42, 13}, "Element:"},          {"lbxElements", {8, 27, 161, 131}, ""},
        {"GroupBox1", {201, 19, 201, 38}, "Text Attributes"}, {"cbxBold", {8, 16, 41, 17}, "Bold"},
        {"cbxItalic", {64, 16, 41, 17}, "Italic"},       {"cbxUnderline", {120, 16, 65, 17}, "Underline"},
        {"Label2", {209, 71, 84, 13}, "Foreground Color"}, {"cmbForegroundColor", {209, 88, 145, 22}, ""},
        {"Label3", {209, 116, 84, 13}, "Background Color"}, {"cmbBackgroundColor", {209, 136, 145, 22}, ""},
        {"memPreview", {8, 173, 449, 133}, ""},          {"Button1", {146, 322, 75, 25}, "&OK"},
        {"Button2", {279, 322, 75, 25}, "&Cancel"},
    };
    for (const TPlace& place : places) {
        const QWidget* widget = Find<QWidget>(dialog, place.name);
        ASSERT_NE(widget, nullptr);
        QRect expected = place.place;
        const bool isGroup = widget->inherits("QGroupBox");
        if (*place.caption) {
            EXPECT_EQ(widget->property(isGroup ? "title" : "text").toString().toStdString(), place.caption)
            << place.name;
            // A caption wider than its place in this desktop's font widens it to the right.
            if (widget->inherits("QLabel") || widget->inherits("QCheckBox"))
                expected.setWidth(std::max(expected.width(), widget->sizeHint().width()));
        }
        EXPECT_EQ(widget->geometry(), expected) << place.name;
    }
    EXPECT_EQ(Find<QWidget>(dialog, "cbxBold")->parentWidget(), Find<QWidget>(dialog, "GroupBox1"));
    EXPECT_TRUE(Find<QPushButton>(dialog, "Button1")->isDefault());

    dialog.open();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    const char* const order[] = {"Button1", "Button2", "cbxBold", "cbxItalic", "cbxUnderline",
                                 "lbxElements", "cmbForegroundColor", "cmbBackgroundColor", "memPreview"};
    for (std::size_t i = 0; i < std::size(order); ++i) {
        QWidget* focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr);
        EXPECT_EQ(focused->objectName().toStdString(), order[i]);
        QTest::keyClick(focused, Qt::Key_Tab);
    }
}

} // namespace
