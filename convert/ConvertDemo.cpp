// Shows the conversion dialog in the middle of a run, or the overwrite prompt, to look at them
// as a user would.
//
//   convert_demo progress <data folder> <pdf> <output folder>
//   convert_demo prompt
#include <QApplication>
#include <QFile>
#include <algorithm>

#include "Convert_Unit1.h"
#include "Data_unit1.h"
#include "MuiContext.h"
#include "Rastmond.h"
#include "ReplaceMsg_Unit1.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationDisplayName(QStringLiteral("Ostrel PDF to JPEG"));
  const QStringList args = app.arguments();
  if (args.value(1) == QStringLiteral("prompt")) {
    TReplaceMsgForm prompt(nullptr);
    prompt.SetQuestion(nullptr, QStringLiteral("File 'report-1.jpg' exists, replace it?"));
    prompt.show();
    return app.exec();
  }
  MuiContext context;
  context.DataFolder = args.value(2) + u'/';
  SetContextTag(&context);
  TItemInfo* item = NewItem();
  item->SourcePath = args.value(3);
  item->FileName = FileNameOf(item->SourcePath);
  item->OutputName = OutputNameOf(item->FileName);
  item->OutputType = otJpeg;
  const int handle = OpenPDF(QFile::encodeName(item->SourcePath).constData(), 0);
  item->PageCount = std::max(1, GetPageCount(handle));
  ClosePDF(handle);
  item->Resolution = 300;
  item->Checked = 1;
  TConvertForm1 dialog(nullptr, args.value(4));
  dialog.exec();
  ClearItems();
  return 0;
}
