#include "editor/SynColorsDlg.h"

#include "editor/ColorPicker.h"
#include "editor/DialogLayout.h"
#include "editor/GCodeEditor.h"
#include "highlight/SynHighlighterRS274.h"
#include "highlight/TokenAttribute.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRect>
#include <QScopeGuard>
#include <QSignalBlocker>

#include <algorithm>
#include <memory>

namespace {

constexpr int kClientWidthPx = 481;
constexpr int kClientHeightPx = 357;
constexpr int kElementHeightPx = 13;

// Places in client pixels: left, top, width, height. The check boxes' are within GroupBox1.
constexpr QRect kLabel1Rect(8, 8, 42, 13);
constexpr QRect kElementsRect(8, 27, 161, 131);
constexpr QRect kGroupBoxRect(201, 19, 201, 38);
constexpr QRect kBoldRect(8, 16, 41, 17);
constexpr QRect kItalicRect(64, 16, 41, 17);
constexpr QRect kUnderlineRect(120, 16, 65, 17);
constexpr QRect kLabel2Rect(209, 71, 84, 13);
constexpr QRect kForegroundRect(209, 88, 145, 22);
constexpr QRect kLabel3Rect(209, 116, 84, 13);
constexpr QRect kBackgroundRect(209, 136, 145, 22);
constexpr QRect kPreviewRect(8, 173, 449, 133);
constexpr QRect kOkRect(146, 322, 75, 25);
constexpr QRect kCancelRect(279, 322, 75, 25);

QLabel* NewLabel(const char* name, const char* caption, const QRect& place, QWidget* parent)
{
    QLabel* label = new QLabel(caption, parent);
    label->setObjectName(name);
    PlaceCaption(*label, place);
    return label;
}

QCheckBox* NewCheckBox(const char* name, const char* caption, const QRect& place, QWidget* parent)
{
    QCheckBox* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    PlaceCaption(*box, place);
    return box;
}

TColorPicker* NewPicker(const char* name, const QRect& place, QWidget* parent)
{
    TColorPicker* picker = new TColorPicker(parent);
    picker->setObjectName(name);
    picker->setGeometry(place);
    return picker;
}

QPushButton* NewButton(const char* name, const char* caption, const QRect& place, QWidget* parent)
{
    QPushButton* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(place);
    return button;
}

}  // namespace

TdlgSynColor::TdlgSynColor(QWidget* parent) : QDialog(parent)
{
    setObjectName("dlgSynColor");
    setWindowTitle("Syntax Highlighter Colors");
    setFont(DialogFont());
    setBackgroundRole(QPalette::Button);
    setFixedSize(kClientWidthPx, kClientHeightPx);
    CreateControls();
    SetTabOrder();
    ConnectHandlers();
    FormCreate();
}

void TdlgSynColor::CreateControls()
{
    Label1 = NewLabel("Label1", "Element:", kLabel1Rect, this);
    lbxElements = new QListWidget(this);
    lbxElements->setObjectName("lbxElements");
    lbxElements->setGeometry(kElementsRect);
    lbxElements->setSelectionMode(QAbstractItemView::SingleSelection);
    lbxElements->setUniformItemSizes(true);

    CreateTextAttributes();

    Label2 = NewLabel("Label2", "Foreground Color", kLabel2Rect, this);
    cmbForegroundColor = NewPicker("cmbForegroundColor", kForegroundRect, this);
    Label3 = NewLabel("Label3", "Background Color", kLabel3Rect, this);
    cmbBackgroundColor = NewPicker("cmbBackgroundColor", kBackgroundRect, this);

    memPreview = new TGCodeEditor(this);
    memPreview->setObjectName("memPreview");
    memPreview->setGeometry(kPreviewRect);

    Button1 = NewButton("Button1", "&OK", kOkRect, this);
    Button1->setDefault(true);
    Button2 = NewButton("Button2", "&Cancel", kCancelRect, this);
}

void TdlgSynColor::CreateTextAttributes()
{
    GroupBox1 = new QGroupBox("Text Attributes", this);
    GroupBox1->setObjectName("GroupBox1");
    GroupBox1->setGeometry(kGroupBoxRect);
    cbxBold = NewCheckBox("cbxBold", "Bold", kBoldRect, GroupBox1);
    cbxItalic = NewCheckBox("cbxItalic", "Italic", kItalicRect, GroupBox1);
    cbxUnderline = NewCheckBox("cbxUnderline", "Underline", kUnderlineRect, GroupBox1);
}

void TdlgSynColor::SetTabOrder()
{
    QWidget* const order[] = {Button1,
                              Button2,
                              cbxBold,
                              cbxItalic,
                              cbxUnderline,
                              lbxElements,
                              cmbForegroundColor,
                              cmbBackgroundColor,
                              memPreview};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    // The first control in the tab order has the focus when the dialog opens.
    Button1->setFocus();
}

void TdlgSynColor::ConnectHandlers()
{
    connect(lbxElements, &QListWidget::currentRowChanged, this, &TdlgSynColor::lbxElementsClick);
    // A box whose state changes runs AttrChange, whether the user or lbxElementsClick changed it.
    for (QCheckBox* box : {cbxBold, cbxItalic, cbxUnderline})
        connect(box, &QCheckBox::toggled, this, [this, box] { AttrChange(*box); });
    connect(cmbForegroundColor, &TColorPicker::ColorChanged, this, &TdlgSynColor::ColorChange);
    connect(cmbBackgroundColor, &TColorPicker::ColorChanged, this, &TdlgSynColor::ColorChange);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

void TdlgSynColor::FormCreate()
{
    memPreview->SetHighlighter(std::make_unique<TSynRC274Syn>());
}

THighlighter& TdlgSynColor::PreviewHighlighter() const
{
    return *memPreview->Highlighter();
}

void TdlgSynColor::EditColors(THighlighter& highlighter)
{
    // A dialog is centred on its parent; the main window is the active one when its command runs.
    const QPointer<TdlgSynColor> dialog = new TdlgSynColor(QApplication::activeWindow());
    const auto release = qScopeGuard([&dialog] {
        if (dialog)
            dialog->deleteLater();
    });
    dialog->LoadHighlighter(highlighter);
    // exec() answers Rejected, and the pointer is null, when the dialog went with its parent.
    if (dialog->exec() == QDialog::Accepted && dialog)
        highlighter.CopyFrom(dialog->PreviewHighlighter());
}

void TdlgSynColor::LoadHighlighter(const THighlighter& highlighter)
{
    THighlighter& preview = PreviewHighlighter();
    preview.CopyFrom(highlighter);
    {
        // Selecting by program is no click; the handler is called once the list is filled.
        const QSignalBlocker blocker(lbxElements);
        lbxElements->clear();
        for (int i = 0; i < preview.AttributeCount(); ++i) {
            auto* item = new QListWidgetItem(QString::fromStdString(preview.AttributeAt(i)->Name()),
                                             lbxElements);
            item->setSizeHint(QSize(0, kElementHeightPx));
        }
        if (lbxElements->count() > 0)
            lbxElements->setCurrentRow(0);
    }
    if (lbxElements->count() > 0)
        lbxElementsClick();
    preview.SetEnabled(true);
    memPreview->SetTextBytes(QByteArray::fromStdString(preview.SampleText()));
}

TTokenAttribute* TdlgSynColor::SelectedAttribute() const
{
    return PreviewHighlighter().AttributeAt(lbxElements->currentRow());
}

void TdlgSynColor::lbxElementsClick()
{
    const TTokenAttribute* attribute = SelectedAttribute();
    if (attribute == nullptr)
        return;
    // Each box that changes runs AttrChange, which writes back the bit the attribute has.
    cbxBold->setChecked((attribute->Style() & fsBold) != 0);
    cbxItalic->setChecked((attribute->Style() & fsItalic) != 0);
    cbxUnderline->setChecked((attribute->Style() & fsUnderline) != 0);
    cmbForegroundColor->SetColor(attribute->Foreground());
    cmbBackgroundColor->SetColor(attribute->Background());
}

void TdlgSynColor::AttrChange(const QCheckBox& sender)
{
    TFontStyles bit = 0;
    if (&sender == cbxBold)
        bit = fsBold;
    else if (&sender == cbxItalic)
        bit = fsItalic;
    else if (&sender == cbxUnderline)
        bit = fsUnderline;
    TTokenAttribute* attribute = SelectedAttribute();
    if (attribute == nullptr || bit == 0)
        return;
    const TFontStyles style = attribute->Style();
    attribute->SetStyle(
        static_cast<TFontStyles>(sender.isChecked() ? (style | bit) : (style & ~bit)));
}

void TdlgSynColor::ColorChange()
{
    TTokenAttribute* attribute = SelectedAttribute();
    if (attribute == nullptr)
        return;
    attribute->SetForeground(cmbForegroundColor->Color());
    attribute->SetBackground(cmbBackgroundColor->Color());
}

void TdlgSynColor::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Cancel)) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}
