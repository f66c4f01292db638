// Shows the main window with a few files in its list, to look at it as a user would.
//
//   mainwindow_demo file.pdf ...
#include <QApplication>

#include "ConverterForm1_Unit1.h"
#include "MuiContext.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  MuiContext context;
  context.Title = QStringLiteral("Ostrel PDF to JPEG");
  context.StudioName = QString::fromLatin1(STUDIO_NAME);
  TConverterForm1 window(&context);
  for (const QString& path : app.arguments().mid(1)) {
    TItemInfo* item = NewItem();
    item->SourcePath = path;
    item->FileName = FileNameOf(path);
    item->PageCount = 1 + static_cast<int>(ItemList.size()) * 7;
    item->OutputType = otJpeg;
    item->OutputName = OutputNameOf(item->FileName);
    window.AddRow(item);
    window.FillColorBox(item);
  }
  window.UpdateListView();
  window.show();
  return app.exec();
}
