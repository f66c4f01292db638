// Shows the add-file dialog adding the files named on the command line, to look at it as a
// user would (a file that cannot be opened stops it with its message).
//
//   addfiles_demo file.pdf ...
#include <QApplication>

#include "AddFileTipMui_Unit1.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationDisplayName(QStringLiteral("Ostrel PDF to JPEG"));
  TAddFileTipForm dialog(nullptr);
  dialog.SetFileList(app.arguments().mid(1), true);
  dialog.SetExistingItems(ItemList);
  return dialog.exec() == 1 ? 0 : 1;
}
