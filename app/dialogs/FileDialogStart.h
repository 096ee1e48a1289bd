#pragma once
// Where the open and save dialogs start: in the open document's folder; without one (or when it
// is gone) in the folder last chosen in a dialog; else in the home folder. The save dialog also
// offers the document's own file name.

#include <QString>

QString DialogStartPath(const QString& documentFile, const QString& lastFolder, bool offerName);
