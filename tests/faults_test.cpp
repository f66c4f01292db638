// Faults during a conversion: the source gone, the output folder gone, a write that fails
// part-way, and the dialog closed while a page renders. Nothing crashes, failures are
// reported, and only complete page files are ever left.
#include <signal.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "Convert_Unit1.h"
#include "Data_unit1.h"
#include "MakePdf.h"
#include "MessageBox.h"
#include "MuiContext.h"
#include "Rastmond.h"
#include "ReadJpeg.h"
#include "TestSupport.h"

namespace {

class Faults : public ::testing::Test {
 protected:
  void SetUp() override {
    root = QString::fromStdString(dir.Path().string()) + "/";
    context.DataFolder = DATA_FOLDER;
    SetContextTag(&context);
    SetMessageBoxHook([this](QWidget*, QMessageBox::Icon, const QString&, const QString& text,
                             QMessageBox::StandardButtons) {
      messages.push_back(text.trimmed());
      if (onMessage) return onMessage(text);
      return QMessageBox::No;
    });
  }
  void TearDown() override {
    ClearItems();
    SetMessageBoxHook(nullptr);
    SetContextTag(nullptr);
  }
  TItemInfo* Record(const QString& name, int pages, int dpi = 30) {
    EXPECT_TRUE(MakeSamplePdf((root + name).toStdString(), pages));
    TItemInfo* item = NewItem();
    item->FileName = name;
    item->SourcePath = root + name;
    item->PageCount = pages;
    item->OutputType = otJpeg;
    item->OutputName = OutputNameOf(name);
    item->Resolution = dpi;
    item->Checked = 1;
    return item;
  }
  void Convert() {
    TConvertForm1 dialog(nullptr, root + "out");
    dialog.exec();
  }
  // Every file below the output folder, hidden ones included; each JPEG must decode.
  QStringList Outputs() {
    QStringList files;
    const QString out = root + "out/";
    std::function<void(const QString&)> walk = [&](const QString& folder) {
      for (const QFileInfo& info : QDir(folder).entryInfoList(
               QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot)) {
        if (info.isDir()) {
          walk(info.filePath());
          continue;
        }
        files.push_back(info.filePath().mid(out.size()));
        EXPECT_TRUE(ReadJpeg(info.filePath().toStdString()).ok) << info.filePath().toStdString();
      }
    };
    walk(out);
    files.sort();
    return files;
  }

  TempDir dir;
  QString root;
  MuiContext context;
  QStringList messages;
  std::function<QMessageBox::StandardButton(const QString&)> onMessage;
};

TEST_F(Faults, ASourceDeletedOrDamagedAfterAddingIsInvalid) {
  Record("gone.pdf", 2);
  TItemInfo* damaged = Record("damaged.pdf", 2);
  Record("fine.pdf", 1);
  QFile::remove(root + "gone.pdf");
  QFile file(damaged->SourcePath);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write("%PDF-1.7\n garbage");
  file.close();
  Convert();
  EXPECT_EQ(messages, (QStringList{"File is invalid.", "File is invalid.",
                                   "Conversion is completed. Open output folder?"}));
  EXPECT_EQ(Outputs(), QStringList{"Image/fine/fine-1.jpg"});
}

TEST_F(Faults, TheOutputFolderRemovedDuringARun) {
  // The engine: the folder goes away after page 1; the later pages fail, the call says so.
  ASSERT_TRUE(MakeSamplePdf((root + "a.pdf").toStdString(), 4));
  static QString folder;
  folder = root + "out/Image/a/";
  QDir().mkpath(folder);
  const int handle = OpenPDF((root + "a.pdf").toUtf8().constData(), 0);
  const ProgressCallback removeAfterFirst = [](int, int, int page) {
    if (page == 1) QDir(folder).removeRecursively();
    return 1;
  };
  EXPECT_EQ(
      PDF2JPG(handle, folder.toUtf8().constData(), "a", 30, 30, 1, 4, removeAfterFirst, 75, 0), -1);
  ClosePDF(handle);
  EXPECT_FALSE(QDir(folder).exists());

  // The worker: an output folder that cannot be made (a file is in its place) is reported.
  Record("b.pdf", 2);
  QDir().mkpath(root + "out/Image");
  QFile blocker(root + "out/Image/b");
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  Convert();
  EXPECT_EQ(messages, (QStringList{"Internal error occurs while converting files.",
                                   "Conversion is completed. Open output folder?"}));
}

TEST_F(Faults, AWriteThatFailsPartWayLeavesNoPartialFile) {
  Record("big.pdf", 2, 300);
  // Files may not grow beyond 20 kB: each page of 300 dpi is larger, so every write of a
  // page fails part-way.
  signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit small = saved;
  small.rlim_cur = 20000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  Convert();
  setrlimit(RLIMIT_FSIZE, &saved);
  EXPECT_EQ(messages, (QStringList{"Internal error occurs while converting files.",
                                   "Conversion is completed. Open output folder?"}));
  EXPECT_TRUE(Outputs().isEmpty()) << Outputs().join(",").toStdString();
}

TEST_F(Faults, TheDialogClosedWhileAPageRenders) {
  Record("slow.pdf", 20, 300);
  TConvertForm1 dialog(nullptr, root + "out");
  onMessage = [](const QString& text) {
    return text.startsWith("Are your sure") ? QMessageBox::Yes : QMessageBox::No;
  };
  // Close as soon as the first page is done, while the next ones render.
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (dialog.FPageDone > 0 && dialog.isVisible()) {
      poll.stop();
      QTest::mouseClick(dialog.ssSBClose, Qt::LeftButton, {}, QPoint(5, 5));
    }
  });
  poll.start(1);
  dialog.exec();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(messages.first(), "Are your sure to stop the conversion?");
  const QStringList files = Outputs();  // whole pages only, no temporary file left
  EXPECT_GE(files.size(), 1);
  EXPECT_LT(files.size(), 20);
}

}  // namespace
