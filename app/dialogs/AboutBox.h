#pragma once
// Help > About Zorvit...: a message box with the program's name and version, what it is, and
// its licence.

#include <QMessageBox>

class TAboutBox : public QMessageBox
{
    Q_OBJECT

public:
    explicit TAboutBox(QWidget* parent);
};
