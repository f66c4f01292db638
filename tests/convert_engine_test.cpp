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

// Every message is recorded and answered No.
class ConversionWithTheEngine : public ::testing::Test {
 protected:
  void SetUp() override {
    context.DataFolder = DATA_FOLDER;
    SetContextTag(&context);
    SetMessageBoxHook([this](QWidget*, QMessageBox::Icon, const QString&, const QString& text,
                             QMessageBox::StandardButtons) {
      messages.push_back(text);
      return QMessageBox::No;
    });
  }
  void TearDown() override {
    ClearItems();
    SetMessageBoxHook(nullptr);
    SetModalHook(nullptr);
    SetContextTag(nullptr);
  }
  TempDir dir;
  MuiContext context;
  QStringList messages;
};

TEST_F(ConversionWithTheEngine, WritesThePagesAndKeepsAnExistingImage) {
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

}

TEST_F(ConversionWithTheEngine, EveryOutputTypeConverts) {
  const QString root = QString::fromStdString(dir.Path().string());
  ASSERT_TRUE(MakeSamplePdf((dir.Path() / "guide.pdf").string(), 2));
  const struct {
    int type;
    const char* outputName;
    QStringList files;  // below the output folder
  } cases[] = {
      {otTxt, "guide.txt", {"Document/guide.txt"}},
      {otWord, "guide.doc", {"Document/guide.doc"}},
      {otRtf, "guide.rtf", {"Document/guide.rtf"}},
      {otPng, "guide.jpg", {"Image/guide/guide-1.png", "Image/guide/guide-2.png"}},
      {otGif, "guide.jpg", {"Image/guide/guide-1.gif", "Image/guide/guide-2.gif"}},
      {otBmp, "guide.jpg", {"Image/guide/guide-1.bmp", "Image/guide/guide-2.bmp"}},
      {otPcx, "guide.jpg", {"Image/guide/guide-1.pcx", "Image/guide/guide-2.pcx"}},
      {otTga, "guide.jpg", {"Image/guide/guide-1.tga", "Image/guide/guide-2.tga"}},
      {otTiff, "guide.jpg", {"Image/guide/guide-1.tif", "Image/guide/guide-2.tif"}},
  };
  for (const auto& c : cases) {
    const QString out = root + "/out" + QString::number(c.type);
    TItemInfo* item = NewItem();
    item->FileName = "guide.pdf";
    item->SourcePath = root + "/guide.pdf";
    item->PageCount = 2;
    item->OutputType = c.type;
    item->OutputName = c.outputName;
    item->Resolution = 30;
    item->Checked = 1;
    messages.clear();
    {
      TConvertForm1 dialog(nullptr, out);
      dialog.exec();
    }
    EXPECT_EQ(messages, QStringList{"Conversion is completed. Open output folder?"}) << c.type;
    for (const QString& file : c.files)
      EXPECT_GT(QFileInfo(out + "/" + file).size(), 0) << file.toStdString();
    ClearItems();
  }
  EXPECT_TRUE(Read(root + "/out0/Document/guide.txt").contains("Page 2"));
  EXPECT_TRUE(Read(root + "/out2/Document/guide.rtf").startsWith("{\\rtf1"));
}

}  // namespace
