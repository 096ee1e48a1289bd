#include "app/dialogs/AboutBox.h"

#include "common/Version.h"

TAboutBox::TAboutBox(QWidget* parent)
    : QMessageBox(
          QMessageBox::Information, QStringLiteral("About Zorvit"),
          QStringLiteral("<h3>Zorvit %1</h3><p>%2.</p>"
                         "<p>Licensed under the GNU General Public License, version 3 or "
                         "later (GPL-3.0-or-later).</p>")
              .arg(QString::fromLatin1(kZorvitVersion), QString::fromLatin1(kZorvitDescription)),
          QMessageBox::Ok, parent)
{
    setObjectName(QStringLiteral("dlgAbout"));
    setTextFormat(Qt::RichText);
}
