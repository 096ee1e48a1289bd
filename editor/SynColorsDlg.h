#pragma once
// "Syntax Highlighter Colors": the dialog in which the user sets the colours and font styles of
// a highlighter's attributes. It never touches that highlighter while it is open: every change
// goes to a private highlighter that colours a preview of the sample text, and OK copies the
// private highlighter back. Cancel, or the close box, throws it away.

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QListWidget;
class QPushButton;
class TColorPicker;
class TGCodeEditor;
class THighlighter;
class TTokenAttribute;

class TdlgSynColor : public QDialog
{
    Q_OBJECT

public:
    // Creates the controls and the private highlighter (FormCreate).
    explicit TdlgSynColor(QWidget* parent = nullptr);

    // Shows a new dialog for the highlighter, modally and centred on the active window. On OK the
    // highlighter takes the edited attributes and is enabled, which restyles its editors; on
    // Cancel it stays as it was. The dialog and its private highlighter are released once the
    // event being handled is over.
    static void EditColors(THighlighter& highlighter);

    // The private highlighter: the one attached to memPreview, which owns it.
    THighlighter& PreviewHighlighter() const;

    // Fills the dialog from the highlighter: the private copy, the element list with its first
    // element selected and shown, and the preview, which is coloured even while the
    // highlighter is switched off.
    void LoadHighlighter(const THighlighter& highlighter);

    // Event handlers. Each works on the private attribute of the selected element.
    void FormCreate();
    // Shows the selected element's styles in the check boxes and its colours in the pickers.
    void lbxElementsClick();
    // Writes the state of one check box into its bit of the style; the other bits stay.
    void AttrChange(const QCheckBox& sender);
    // Writes both pickers' colours: a picker the user has not touched keeps the colour it was
    // given, even one that it does not list.
    void ColorChange();

protected:
    // Escape is bound to no button, so it leaves the dialog open.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreateControls();
    void CreateTextAttributes();
    void SetTabOrder();
    void ConnectHandlers();
    TTokenAttribute* SelectedAttribute() const;

    QLabel* Label1 = nullptr;
    QListWidget* lbxElements = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QCheckBox* cbxBold = nullptr;
    QCheckBox* cbxItalic = nullptr;
    QCheckBox* cbxUnderline = nullptr;
    QLabel* Label2 = nullptr;
    TColorPicker* cmbForegroundColor = nullptr;
    QLabel* Label3 = nullptr;
    TColorPicker* cmbBackgroundColor = nullptr;
    TGCodeEditor* memPreview = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
};
