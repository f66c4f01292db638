#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include "Convert_Unit1.h"
#include "Data_unit1.h"
#include "MakePdf.h"
#include "MessageBox.h"
#include "ModalSeam.h"
#include "MuiContext.h"
#include "ReplaceMsg_Unit1.h"
#include "TestSupport.h"

namespace {

QByteArray Read(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(ConversionWithTheEngine, WritesThePagesAndKeepsAnExistingImage) {
  TempDir dir;
  MuiContext context;
  context.DataFolder = DATA_FOLDER;
  SetContextTag(&context);
  QStringList messages;
  SetMessageBoxHook([&](QWidget*, QMessageBox::Icon, const QString&, const QString& text,
                        QMessageBox::StandardButtons) {
    messages.push_back(text);
    return QMessageBox::No;
  });
  int prompts = 0;
  SetModalHook([&](QDialog& dialog) {
    ++prompts;
    auto& prompt = dynamic_cast<TReplaceMsgForm&>(dialog);
    prompt.btnCancelClick();  // keep, just this time
    return prompt.result();
  });

  const QString root = QString::fromStdString(dir.Path().string());
  ASSERT_TRUE(MakeSamplePdf((dir.Path() / "guide.pdf").string(), 3));
  TItemInfo* item = NewItem();
  item->FileName = "guide.pdf";
  item->SourcePath = root + "/guide.pdf";
  item->PageCount = 3;
  item->OutputType = otJpeg;
  item->OutputName = "guide.jpg";
  item->Resolution = 40;
  item->Checked = 1;

  const QString folder = root + "/out/Image/guide/";
  for (int run = 0; run < 2; ++run) {
    TConvertForm1 dialog(nullptr, root + "/out");
    dialog.exec();
  }
  QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden);
  files.sort();
  EXPECT_EQ(files, (QStringList{"guide-0-1.jpg", "guide-0-2.jpg", "guide-0-3.jpg", "guide-1.jpg",
                                "guide-2.jpg", "guide-3.jpg"}));
  EXPECT_EQ(prompts, 1);
  EXPECT_EQ(messages, (QStringList{"Conversion is completed. Open output folder?",
                                   "Conversion is completed. Open output folder?"}));
  EXPECT_EQ(Read(folder + "guide-1.jpg").left(2), QByteArray("\xFF\xD8"));
  EXPECT_EQ(Read(folder + "guide-1.jpg"),
            Read(folder + "guide-0-1.jpg"));  // same page, same settings

  ClearItems();
  SetMessageBoxHook(nullptr);
  SetModalHook(nullptr);
  SetContextTag(nullptr);
}

}  // namespace
