#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QThread>
#include <deque>

#include <gtest/gtest.h>

#include "Convert_Unit1.h"
#include "Convert_Unit2.h"
#include "FakeEngine.h"
#include "MessageBox.h"
#include "ModalSeam.h"
#include "MuiContext.h"
#include "ReplaceMsg_Unit1.h"
#include "TestSupport.h"

namespace {

const QString kStopQuestion = "Are your sure to stop the conversion?";
const QString kCompleted = "Conversion is completed. Open output folder?";
const QString kStopped = "Conversion stoped. Open output folder?";

TConvertForm1* running = nullptr;

class Conversion : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeReset();
    context.DataFolder = DATA_FOLDER;
    SetContextTag(&context);
    out = QString::fromStdString(dir.Path().string()) + "/out";
    SetMessageBoxHook([this](QWidget*, QMessageBox::Icon, const QString&, const QString& text,
                             QMessageBox::StandardButtons) {
      messages.push_back(text);
      if (text == kStopQuestion) return onStopQuestion ? onStopQuestion() : QMessageBox::Yes;
      return openFolder ? QMessageBox::Yes : QMessageBox::No;
    });
    SetModalHook([this](QDialog& dialog) {
      auto& prompt = dynamic_cast<TReplaceMsgForm&>(dialog);
      questions.push_back(prompt.lblMsg->text());
      presetJustThisTime.push_back(prompt.TntRadioButton2->isChecked() &&
                                   !prompt.TntRadioButton1->isChecked());
      const auto [ok, all] = answers.empty() ? std::pair{true, false} : answers.front();
      if (!answers.empty()) answers.pop_front();
      prompt.TntRadioButton1->setChecked(all);
      if (ok)
        prompt.ssSkinButton1Click();
      else
        prompt.btnCancelClick();
      return prompt.result();
    });
    SetShellHook([this](const QString& target) { opened.push_back(target); });
  }
  void TearDown() override {
    ClearItems();
    SetMessageBoxHook(nullptr);
    SetModalHook(nullptr);
    SetShellHook(nullptr);
    SetContextTag(nullptr);
  }

  TItemInfo* Add(const QString& name, int pages, const QString& selection = {}) {
    TItemInfo* item = NewItem();
    item->FileName = name;
    item->SourcePath = "/pdfs/" + name;
    item->PageCount = pages;
    item->OutputType = otJpeg;
    item->OutputName = OutputNameOf(name);
    item->Checked = 1;
    if (!selection.isEmpty()) {
      item->PageMode = 2;
      item->PageText = selection;
    }
    return item;
  }

  void Convert() {
    TConvertForm1 dialog(nullptr, out);
    running = &dialog;
    dialog.exec();
    pageTotal = dialog.FPageTotal;
    pageDone = dialog.FPageDone;
    running = nullptr;
  }

  std::vector<FakeCall> Renders() {
    std::vector<FakeCall> renders;
    for (const FakeCall& c : FakeCalls())
      if (c.function.rfind("PDF2", 0) == 0) renders.push_back(c);
    return renders;
  }

  TempDir dir;
  QString out;
  MuiContext context;
  QStringList messages, questions, opened;
  std::vector<bool> presetJustThisTime;
  std::deque<std::pair<bool, bool>> answers;  // OK?, "Apply to all"?
  std::function<QMessageBox::StandardButton()> onStopQuestion;
  bool openFolder = false;
  int pageTotal = 0, pageDone = 0;
};

TEST_F(Conversion, OneJpegRecordIsOneOpenRenderClose) {
  Add("report.pdf", 5);
  openFolder = true;
  Convert();
  const std::vector<FakeCall> calls = FakeCalls();
  ASSERT_EQ(FakeCallNames(), (std::vector<std::string>{"OpenPDF", "PDF2JPG", "ClosePDF"}));
  EXPECT_EQ(calls[0].path, "/pdfs/report.pdf");
  EXPECT_EQ(calls[1].handle, calls[0].handle);
  EXPECT_EQ(calls[1].path, (out + "/Image/report/").toStdString());
  EXPECT_EQ(calls[1].base, "report");
  EXPECT_EQ(std::tie(calls[1].xdpi, calls[1].ydpi, calls[1].first, calls[1].last),
            std::make_tuple(150, 150, 1, 5));
  EXPECT_EQ(calls[1].extra, (std::vector<int>{75, 0}));
  EXPECT_EQ(calls[2].handle, calls[0].handle);
  EXPECT_TRUE(QDir(out + "/Image/report").exists());
  EXPECT_EQ(messages, QStringList{kCompleted});
  EXPECT_EQ(opened, QStringList{out});
}

TEST_F(Conversion, RangesUncheckedRecordsAndGray) {
  TItemInfo* skipped = Add("skipped.pdf", 3);
  skipped->Checked = 0;
  TItemInfo* item = Add("scan.2010.pdf", 6, "1-2, 4");
  item->ColorDepth = 8;
  item->Resolution = 300;
  item->JpegQuality = 90;
  Convert();
  const std::vector<FakeCall> renders = Renders();
  ASSERT_EQ(renders.size(), 2u);
  EXPECT_EQ(std::tie(renders[0].first, renders[0].last), std::make_tuple(1, 2));
  EXPECT_EQ(std::tie(renders[1].first, renders[1].last), std::make_tuple(4, 4));
  EXPECT_EQ(renders[0].base, "scan.2010");
  EXPECT_EQ(renders[0].xdpi, 300);
  EXPECT_EQ(renders[1].extra, (std::vector<int>{90, 1}));
  EXPECT_EQ(FakeCallNames(), (std::vector<std::string>{"OpenPDF", "PDF2JPG", "ClosePDF", "OpenPDF",
                                                       "PDF2JPG", "ClosePDF"}));
  EXPECT_EQ(pageTotal, 3);
  EXPECT_EQ(pageDone, 3);  // counted across both ranges
  EXPECT_FALSE(QDir(out + "/Image/skipped").exists());
}

TEST_F(Conversion, EngineFailuresAreReportedAndTheRunGoesOn) {
  for (const char* name : {"a.pdf", "b.pdf", "c.pdf", "d.pdf", "e.pdf"}) Add(name, 1);
  FakeRenderResults({-1, -2, -3, -7, 3});
  Convert();
  EXPECT_EQ(messages, (QStringList{"Internal error occurs while converting files.\n",
                                   "File is encrypted.\n", "No file copy rights.\n", kCompleted}));
  EXPECT_EQ(Renders().size(), 5u);
}

TEST_F(Conversion, AFileThatCannotBeOpenedIsReportedPerRange) {
  Add("broken.pdf", 9, "1,3,5-6");
  FakeOpenResult("/pdfs/broken.pdf", -1);
  Convert();
  EXPECT_EQ(messages, (QStringList{"File is invalid.\n", "File is invalid.\n", "File is invalid.\n",
                                   kCompleted}));
  EXPECT_TRUE(Renders().empty());
  // Each attempt closes what OpenPDF returned, then the handle it keeps (0).
  std::vector<int> closed;
  for (const FakeCall& c : FakeCalls())
    if (c.function == "ClosePDF") closed.push_back(c.handle);
  EXPECT_EQ(closed, (std::vector<int>{-1, 0, -1, 0, -1, 0}));
}

TEST_F(Conversion, EachImageTypeCallsItsEngineOperation) {
  const std::pair<int, const char*> types[] = {{otPng, "PDF2PNG"}, {otGif, "PDF2GIF"},
                                               {otBmp, "PDF2BMP"}, {otPcx, "PDF2PCX"},
                                               {otTga, "PDF2TGA"}, {otTiff, "PDF2TIF"}};
  for (const auto& [code, name] : types) Add(QString("f%1.pdf").arg(code), 2)->OutputType = code;
  ItemList.last()->ColorDepth = 8;
  Convert();
  std::vector<std::string> names;
  for (const FakeCall& r : Renders()) names.push_back(r.function);
  EXPECT_EQ(names, (std::vector<std::string>{"PDF2PNG", "PDF2GIF", "PDF2BMP", "PDF2PCX", "PDF2TGA",
                                             "PDF2TIF"}));
  EXPECT_EQ(Renders().back().extra, (std::vector<int>{1, 8, 0}));  // compression, depth, option
}

TEST_F(Conversion, DocumentTypesGetOnePageList) {
  TItemInfo* item = Add("notes.pdf", 9, "1-3,5,7-9");
  item->OutputType = otRtf;
  item->OutputName = "notes.rtf";
  Convert();
  const std::vector<FakeCall> renders = Renders();
  ASSERT_EQ(renders.size(), 1u);
  EXPECT_EQ(renders[0].function, "PDF2RTF");
  EXPECT_EQ(renders[0].base, "1-3,5,7-9");
  EXPECT_EQ(renders[0].path, (out + "/Document/notes.rtf").toStdString());
  EXPECT_EQ(pageDone, 14);  // two reports per page
}

// Five records named r1..r5 whose first page image already exists.
struct Existing {
  static void Make(const QString& out, int count) {
    for (int i = 1; i <= count; ++i) {
      const QString name = QStringLiteral("r%1").arg(i);
      QDir().mkpath(out + "/Image/" + name);
      QFile file(out + "/Image/" + name + "/" + name + "-1.jpg");
      file.open(QIODevice::WriteOnly);
    }
  }
};

TEST_F(Conversion, TheFourAnswersOfTheOverwritePrompt) {
  const struct {
    bool ok, all;
    std::vector<std::string> bases;  // of r1, r2, r3 (r3's pages do not exist yet)
    int questions;
  } cases[] = {
      {true, false, {"r1", "r2", "r3"}, 2},        // OK, just this time: asked again
      {false, false, {"r1-0", "r2-0", "r3"}, 2},   // Cancel, just this time
      {true, true, {"r1", "r2", "r3"}, 1},         // OK to all: no more questions
      {false, true, {"r1-0", "r2-0", "r3-0"}, 1},  // Cancel to all: numbered, even r3
  };
  for (const auto& c : cases) {
    SetUp();
    ClearItems();
    const QString caseOut = out + QString::number(&c - cases);
    out = caseOut;
    Existing::Make(out, 2);
    for (int i = 1; i <= 3; ++i) Add(QStringLiteral("r%1.pdf").arg(i), 1);
    questions.clear();
    presetJustThisTime.clear();
    answers = {{c.ok, c.all}, {c.ok, c.all}};
    Convert();
    std::vector<std::string> bases;
    for (const FakeCall& r : Renders()) bases.push_back(r.base);
    EXPECT_EQ(bases, c.bases) << c.ok << c.all;
    ASSERT_EQ(questions.size(), static_cast<qsizetype>(c.questions));
    EXPECT_EQ(questions[0], "File 'r1-1.jpg' exists, replace it?");
    for (const bool preset : presetJustThisTime) EXPECT_TRUE(preset);
    FakeReset();
  }
}

TEST_F(Conversion, AKeptOutputTakesTheFirstFreeNumber) {
  Existing::Make(out, 1);
  QFile(out + "/Image/r1/r1-0-1.jpg").open(QIODevice::WriteOnly);
  Add("r1.pdf", 1);
  answers = {{false, false}};
  Convert();
  ASSERT_EQ(Renders().size(), 1u);
  EXPECT_EQ(Renders()[0].base, "r1-1");
}

TEST_F(Conversion, StopPausesTheWorkerAndAConfirmedStopEndsTheRun) {
  Add("long.pdf", 5);
  Add("later.pdf", 2);
  FakeBeforePage([](int page) {
    if (page != 2) return;
    QMetaObject::invokeMethod(
        running->ssSBStop,
        [] { QTest::mouseClick(running->ssSBStop, Qt::LeftButton, {}, QPoint(5, 5)); },
        Qt::QueuedConnection);
    while (!CurrentConvertThread->FPause) QThread::msleep(5);
  });
  int doneWhilePaused = -1;
  onStopQuestion = [&] {
    QThread::msleep(400);
    doneWhilePaused = running->FPageDone;  // the worker waits in its progress report
    return QMessageBox::Yes;
  };
  Convert();
  EXPECT_EQ(doneWhilePaused, 1);
  EXPECT_EQ(pageDone, 1);
  EXPECT_EQ(messages, (QStringList{kStopQuestion, kStopped}));
  // The later record is neither started nor opened.
  EXPECT_EQ(FakeCallNames(), (std::vector<std::string>{"OpenPDF", "PDF2JPG", "ClosePDF"}));
}

TEST_F(Conversion, StopAnsweredNoResumesAndCloseButtonsAskTheSame) {
  for (const bool closeButton : {false, true}) {
    SetUp();
    ClearItems();
    Add("long.pdf", 5);
    messages.clear();
    static std::atomic<bool> asked;
    asked = false;
    FakeBeforePage([closeButton](int page) {
      if (page != 2) return;
      TssSkinButton* button = closeButton ? running->ssSBClose : running->ssSBStop;
      QMetaObject::invokeMethod(
          button, [button] { QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5)); },
          Qt::QueuedConnection);
      while (!asked) QThread::msleep(5);
    });
    onStopQuestion = [] {
      asked = true;
      return QMessageBox::No;
    };
    Convert();
    EXPECT_EQ(pageDone, 5);
    EXPECT_EQ(messages, (QStringList{kStopQuestion, kCompleted}));
    FakeReset();
  }
}

TEST_F(Conversion, TheRunEndingDuringTheStopQuestionClosesTheDialog) {
  for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
    SetUp();
    ClearItems();
    Add("short.pdf", 1);
    messages.clear();
    FakeBeforePage([](int) {
      QMetaObject::invokeMethod(
          running->ssSBStop,
          [] { QTest::mouseClick(running->ssSBStop, Qt::LeftButton, {}, QPoint(5, 5)); },
          Qt::QueuedConnection);
      while (!CurrentConvertThread->FPause) QThread::msleep(5);
      CurrentConvertThread->FPause = false;  // the page goes on despite the question
    });
    onStopQuestion = [answer] {
      while (!running->FThread->Finished()) QCoreApplication::processEvents();
      return answer;
    };
    Convert();
    EXPECT_EQ(messages,
              (QStringList{kStopQuestion, answer == QMessageBox::Yes ? kStopped : kCompleted}));
    FakeReset();
  }
}

TEST_F(Conversion, PercentageAndPageLine) {
  TConvertForm1 dialog(nullptr, out);
  dialog.TimerProgTimer();  // before any record
  EXPECT_EQ(dialog.SkinProcess1->Image2()->width(), 0);
  const struct {
    int type, total, done, page, width;
    const char* line;
  } cases[] = {
      {otJpeg, 8, 2, 7, 102, "Converting Page 7."},
      {otWord, 8, 4, 3, 102, "Converting Page 2."},
      {otRtf, 8, 16, 8, 411, "Converting Page 8."},
      {otJpeg, 8, 12, 8, 411, "Converting Page 8."},  // never above 100 %
      {otJpeg, 0, 3, 1, 0, "Converting Page 1."},
  };
  for (const auto& c : cases) {
    dialog.FConvType = c.type;
    dialog.FPageTotal = c.total;
    dialog.FPageDone = c.done;
    dialog.FCurPage = c.page;
    dialog.TimerProgTimer();
    EXPECT_EQ(dialog.SkinProcess1->Image2()->width(), c.width) << c.type << " " << c.done;
    EXPECT_EQ(dialog.lblPage->text(), c.line);
  }
  dialog.StartFile("report.pdf", 5);
  EXPECT_EQ(dialog.lblFile->text(), "Converting report.pdf.");
}

}  // namespace
