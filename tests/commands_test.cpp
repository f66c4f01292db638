// The main window's commands with the real engine and dialogs: adding files from paths,
// folders, drops and the command line, converting, the help and web links and the about box.
#include <QDir>
#include <QMimeData>
#include <QTest>
#include <QWindow>
#include <fstream>

#include <gtest/gtest.h>

#include "About.h"
#include "ConverterForm1_Unit1.h"
#include "MakePdf.h"
#include "MessageBox.h"
#include "ModalSeam.h"
#include "MuiContext.h"
#include "ReadJpeg.h"
#include "TestSupport.h"

namespace {

class Commands : public ::testing::Test {
 protected:
  void SetUp() override {
    root = QString::fromStdString(dir.Path().string()) + "/";
    qputenv("HOME", QFile::encodeName(root + "home"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(root + "home/.config"));
    context.Title = "T";
    context.StudioName = "Glimmerhof Studio";
    context.DataFolder = DATA_FOLDER;
    context.Version = "1.0.0";
    context.SupportLink = "https://www.glimmerhof.com/support/";
    context.HomeLink = "https://www.glimmerhof.com/";
    context.Copyright = QString::fromUtf16(COPYRIGHT_LINE);
    SetContextTag(&context);
    SetMessageBoxHook([this](QWidget*, QMessageBox::Icon icon, const QString&, const QString& text,
                             QMessageBox::StandardButtons) {
      messages.push_back(text);
      if (icon == QMessageBox::Critical) messages.back().prepend("critical: ");
      return QMessageBox::No;
    });
    SetShellHook([this](const QString& target) { opened.push_back(target); });
    window = std::make_unique<TConverterForm1>(&context, "http://127.0.0.1:9/none.html");
  }
  void TearDown() override {
    window.reset();
    ClearItems();
    SetContextTag(nullptr);
    SetMessageBoxHook(nullptr);
    SetModalHook(nullptr);
    SetChooserHook(nullptr);
    SetShellHook(nullptr);
  }
  QString Pdf(const QString& name, int pages) {
    QDir().mkpath(QFileInfo(root + name).path());
    EXPECT_TRUE(MakeSamplePdf((root + name).toStdString(), pages));
    return root + name;
  }
  // Runs every add-file dialog for real and records the paths each one was given.
  void CountDialogs() {
    SetModalHook([this](QDialog& dialog) {
      ++dialogs;
      return dialog.exec();
    });
  }
  QStringList Column(int column) {
    QStringList texts;
    for (int i = 0; i < window->TntLV->topLevelItemCount(); ++i)
      texts.push_back(window->TntLV->topLevelItem(i)->text(column));
    return texts;
  }

  TempDir dir;
  QString root;
  MuiContext context;
  QStringList messages, opened;
  int dialogs = 0;
  std::unique_ptr<TConverterForm1> window;
};

TEST_F(Commands, AddingThreeFilesGivesCheckedRowsWithTheFirstFocused) {
  window->AddFiles({Pdf("a.pdf", 2), Pdf("b.pdf", 5), Pdf("c.d.pdf", 9)}, true);
  EXPECT_EQ(Column(0), (QStringList{"a.pdf", "b.pdf", "c.d.pdf"}));
  EXPECT_EQ(Column(1), (QStringList{"JPEG Format", "JPEG Format", "JPEG Format"}));
  EXPECT_EQ(Column(2), (QStringList{"1-2", "1-5", "1-9"}));
  EXPECT_EQ(window->CheckedCount(), 3);
  EXPECT_EQ(window->TntLV->currentItem(), window->TntLV->topLevelItem(0));
  EXPECT_TRUE(window->TntLV->topLevelItem(0)->isSelected());
  EXPECT_FALSE(window->TntLV->isHidden());
  ASSERT_EQ(ItemList.size(), 3);
  EXPECT_EQ(ItemList[2]->OutputType, otJpeg);
  EXPECT_EQ(ItemList[2]->OutputName, "c.d.jpg");
  EXPECT_EQ(ItemList[2]->SourcePath, root + "c.d.pdf");
  EXPECT_TRUE(window->ConvertAct->isEnabled());
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(Commands, ACancelledAddLeavesTheListAndTheFocus) {
  window->AddFiles({Pdf("a.pdf", 2), Pdf("b.pdf", 3)}, true);
  window->TntLV->setCurrentItem(window->TntLV->topLevelItem(1));
  SetModalHook([](QDialog&) { return 2; });
  window->AddFiles({Pdf("c.pdf", 4)}, true);
  EXPECT_EQ(Column(0), (QStringList{"a.pdf", "b.pdf"}));
  EXPECT_EQ(window->TntLV->currentItem(), window->TntLV->topLevelItem(1));
  EXPECT_EQ(ItemList.size(), 2);
}

TEST_F(Commands, AFolderGivesItsPdfsByNameInAnyCase) {
  Pdf("f/b.PDF", 1);
  Pdf("f/A.pdf", 2);
  Pdf("f/c.Pdf", 3);
  Pdf("f/sub/d.pdf", 1);                 // sub-folders are not searched
  QDir().mkpath(root + "f/folder.pdf");  // a folder named like a PDF is not a file
  std::ofstream((root + "f/notes.txt").toStdString()) << "x";
  CountDialogs();
  window->AddFolder(root + "f");
  EXPECT_EQ(dialogs, 1);
  EXPECT_EQ(Column(0), (QStringList{"A.pdf", "b.PDF", "c.Pdf"}));
}

TEST_F(Commands, AFolderWithoutPdfsShowsNoDialog) {
  QDir().mkpath(root + "only/one");
  QDir().mkpath(root + "only/two");
  CountDialogs();
  window->AddFolder(root + "only");
  window->AddFolder(root + "does-not-exist");
  EXPECT_EQ(dialogs, 0);
  EXPECT_EQ(window->TntLV->topLevelItemCount(), 0);
}

TEST_F(Commands, ADropOfFileFolderFileRunsThreeDialogsInOrder) {
  const QString a = Pdf("a.pdf", 1), b = Pdf("b.pdf", 2);
  Pdf("F/x.pdf", 3);
  Pdf("F/y.pdf", 4);
  const QString junk = root + "junk.dat";  // dropped files are not filtered; the engine refuses it
  std::ofstream(junk.toStdString()) << "not a pdf";
  CountDialogs();
  // Through the window system's drag and drop; the dialogs run once the drop has ended.
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(a), QUrl::fromLocalFile(root + "F"), QUrl::fromLocalFile(b),
                QUrl::fromLocalFile(junk), QUrl("https://example.com/remote.pdf")});
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  QWindow* native = window->windowHandle();
  QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(native, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(native, &drop);
  EXPECT_TRUE(drop.isAccepted());
  EXPECT_EQ(dialogs, 0);
  EXPECT_TRUE(QTest::qWaitFor([this] { return dialogs == 3; }, 20000));
  EXPECT_EQ(Column(0), (QStringList{"a.pdf", "x.pdf", "y.pdf", "b.pdf"}));
  EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
}

TEST_F(Commands, StartupFilesAreAddedOnFirstShowWithFailuresReported) {
  context.StartupFiles = {Pdf("good.pdf", 3), root + "missing.pdf"};
  window->show();
  ASSERT_TRUE(QTest::qWaitFor([this] { return window->TntLV->topLevelItemCount() == 1; }, 20000));
  EXPECT_EQ(messages, QStringList{"Fail to open file '" + root + "missing.pdf'."});
  window->hide();
  window->show();  // shown again: nothing is added twice
  QTest::qWait(50);
  EXPECT_EQ(window->TntLV->topLevelItemCount(), 1);
}

TEST_F(Commands, ConvertCommitsTheFocusedRowAndConvertsTheCheckedOnes) {
  window->AddFiles({Pdf("a.pdf", 2), Pdf("b.pdf", 3)}, true);
  window->TntLV->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
  window->edtResolution->setText("72");  // typed, not yet committed to the focused record a
  const QString out = root + "out";
  window->edtOutputFolder->setText(out);
  SetModalHook([](QDialog& dialog) { return dialog.exec(); });
  window->ConvertAct->trigger();
  EXPECT_EQ(ItemList[0]->Resolution, 72);
  EXPECT_EQ(ItemList[0]->Checked, 1);
  EXPECT_EQ(ItemList[1]->Checked, 0);
  EXPECT_EQ(messages, QStringList{"Conversion is completed. Open output folder?"});
  EXPECT_TRUE(opened.isEmpty());  // answered No
  const JpegImage page = ReadJpeg((out + "/Image/a/a-2.jpg").toStdString());
  EXPECT_TRUE(page.ok);
  EXPECT_EQ(page.width, 612);  // letter width at 72 dpi
  EXPECT_TRUE(QFile::exists(out + "/Image/a/a-1.jpg"));
  EXPECT_FALSE(QDir(out + "/Image/b").exists());
  // The list, its checks and its selection stay.
  EXPECT_EQ(window->CheckedCount(), 1);
  EXPECT_EQ(window->TntLV->currentItem(), window->TntLV->topLevelItem(0));
}

TEST_F(Commands, TheOpenCommandsOpenTheirTargets) {
  window->edtOutputFolder->setText(root + "out");
  for (QAction* act :
       {window->OpenAct, window->HelpContentAct, window->SupportAct, window->HomePageAct})
    act->trigger();
  EXPECT_EQ(opened, (QStringList{root + "out", QString(DATA_FOLDER) + "help.html",
                                 context.SupportLink, context.HomeLink}));
  QFile help(QString(DATA_FOLDER) + "help.html");
  ASSERT_TRUE(help.open(QIODevice::ReadOnly));
  EXPECT_TRUE(help.readAll().contains("Ostrel PDF to JPEG"));
}

TEST_F(Commands, TheAddCommandsUseTheChoosers) {
  const QString a = Pdf("a.pdf", 1);
  Pdf("dir/b.pdf", 2);
  QStringList titles;
  SetChooserHook([&](ChooserKind kind, const QString& title) {
    titles.push_back(title);
    return kind == ChooserKind::PdfFiles ? QStringList{a} : QStringList{root + "dir"};
  });
  window->AddFileAct->trigger();
  window->AddFolderAct->trigger();
  SetChooserHook([](ChooserKind, const QString&) { return QStringList{}; });  // cancelled
  window->AddFileAct->trigger();
  window->AddFolderAct->trigger();
  EXPECT_EQ(titles, (QStringList{"Select PDF File", "Please Select PDF Folder"}));
  EXPECT_EQ(Column(0), (QStringList{"a.pdf", "b.pdf"}));
}

TEST_F(Commands, AboutShowsTheContextAndOpensOnlyItsLinks) {
  TAboutForm about(window.get());
  EXPECT_EQ(about.lblVersion->text(), "1.0.0");
  EXPECT_EQ(about.lblSupport->text(), context.SupportLink);
  EXPECT_EQ(about.lblHome->text(), context.HomeLink);
  EXPECT_EQ(about.lblCopyright->text(), context.Copyright);
  EXPECT_EQ(about.TntImage1->pixmap().size(), QSize(396, 62));
  about.show();
  for (QLabel* label : {about.lblVersion, about.lblCopyright, about.lblSupport, about.lblHome})
    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(3, 3));
  EXPECT_EQ(opened, (QStringList{context.SupportLink, context.HomeLink}));
}

TEST_F(Commands, AboutClosesWithOkAndWithTheCross) {
  for (auto [button, result] : {std::pair{&TAboutForm::ssSBOk, 1}, {&TAboutForm::ssSBClose, 2}}) {
    int shown = -1;
    SetModalHook([&, button = button](QDialog& dialog) {
      auto& about = static_cast<TAboutForm&>(dialog);
      dialog.show();
      QTest::mouseClick(about.*button, Qt::LeftButton, {}, QPoint(5, 5));
      shown = dialog.isVisible();
      return dialog.result();
    });
    window->AboutActExecute();
    EXPECT_EQ(shown, 0) << result;
  }
  SetModalHook([](QDialog& dialog) { return ExecModal(dialog); });
}

TEST_F(Commands, AboutWithoutItsBannerShowsOneErrorAndNoDialog) {
  context.DataFolder = root + "no-data/";
  CountDialogs();
  window->AboutActExecute();
  EXPECT_EQ(dialogs, 0);
  ASSERT_EQ(messages.size(), 1);
  EXPECT_TRUE(messages[0].startsWith("critical: ")) << messages[0].toStdString();
  EXPECT_TRUE(messages[0].contains("about.bmp"));
}

}  // namespace
