#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QTimer>
#include <fstream>

#include <gtest/gtest.h>

#include "AddFileThread.h"
#include "AddFileTipMui_Unit1.h"
#include "MakePdf.h"
#include "MessageBox.h"
#include "TestSupport.h"

namespace {

const QString kCancelQuestion = "Are you sure to cry off adding files.";

// Counts the completion events a dialog receives; can hold them back.
struct CompletionCounter : QObject {
  int count = 0;
  bool swallow = false;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != WM_ADDFILESDONE) return false;
    ++count;
    return swallow;
  }
};

class AddFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    root = QString::fromStdString(dir.Path().string());
    EXPECT_TRUE(MakeSamplePdf(Path("a.pdf").toStdString(), 2));
    EXPECT_TRUE(MakeSamplePdf(Path("b.pdf").toStdString(), 3));
    EXPECT_TRUE(MakePdf(Path("empty.pdf").toStdString(), {}));
    std::ofstream(Path("text.pdf").toStdString()) << "not a pdf";
    SetMessageBoxHook([this](QWidget*, QMessageBox::Icon, const QString&, const QString& text,
                             QMessageBox::StandardButtons) {
      messages.push_back(text);
      if (text == kCancelQuestion) return onCancelQuestion ? onCancelQuestion() : QMessageBox::Yes;
      if (onMessage) onMessage(text);
      return QMessageBox::Ok;
    });
  }
  void TearDown() override {
    SetMessageBoxHook(nullptr);
    ClearItems();
  }
  QString Path(const QString& name) { return root + "/" + name; }

  int Run(const QStringList& paths, bool report) {
    dialog = std::make_unique<TAddFileTipForm>(nullptr);
    dialog->installEventFilter(&completions);
    dialog->SetFileList(paths, report);
    dialog->SetExistingItems(ItemList);
    return dialog->exec();
  }
  QStringList Names() {
    QStringList names;
    for (const TItemInfo& item : dialog->GetItems()) names.append(item.FileName);
    return names;
  }

  TempDir dir;
  QString root;
  QStringList messages;
  std::function<void(const QString&)> onMessage;
  std::function<QMessageBox::StandardButton()> onCancelQuestion;
  CompletionCounter completions;
  std::unique_ptr<TAddFileTipForm> dialog;
};

TEST_F(AddFiles, AcceptsCountsAndRefuses) {
  TItemInfo* listed = NewItem();
  listed->SourcePath = Path("b.pdf");
  TItemInfo* otherCase = NewItem();
  otherCase->SourcePath = Path("A.PDF");
  const QStringList paths = {Path("a.pdf"), Path("text.pdf"), Path("empty.pdf"),
                             Path("b.pdf"), Path("a.pdf"),    Path("missing.pdf")};
  for (const bool report : {true, false}) {
    messages.clear();
    completions.count = 0;
    EXPECT_EQ(Run(paths, report), 1);
    // Twice within one request is not a duplicate; another letter case is not either.
    EXPECT_EQ(Names(), (QStringList{"a.pdf", "a.pdf"}));
    const TItemInfo first = dialog->GetItems().value(0);
    EXPECT_EQ(first.PageCount, 2);
    EXPECT_EQ(first.SourcePath, Path("a.pdf"));
    EXPECT_TRUE(first.OutputName.isEmpty() && first.PageText.isEmpty());
    QStringList expected;
    if (report) expected << QString("Fail to open file '%1'.").arg(Path("text.pdf"));
    expected << QString("File '%1' is in the list already.").arg(Path("b.pdf"));
    if (report) expected << QString("Fail to open file '%1'.").arg(Path("missing.pdf"));
    EXPECT_EQ(messages, expected);
    EXPECT_EQ(dialog->lblInfo->text(), "Adding files done.");
    EXPECT_TRUE(dialog->btnOK->isEnabled());
    EXPECT_FALSE(dialog->btnCancel->isEnabled());
    EXPECT_EQ(completions.count, 1);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // the hourglass is gone
  }
}

TEST_F(AddFiles, APathWithoutAFolderIsItsOwnFileName) {
  const QString previous = QDir::currentPath();
  QDir::setCurrent(root);
  EXPECT_EQ(Run({"a.pdf"}, true), 1);
  QDir::setCurrent(previous);
  EXPECT_EQ(Names(), QStringList{"a.pdf"});
  EXPECT_EQ(dialog->GetItems()[0].SourcePath, "a.pdf");
}

TEST_F(AddFiles, ARequestWhoseEveryFileIsRefusedClosesWithOk) {
  EXPECT_EQ(Run({Path("text.pdf"), Path("empty.pdf")}, false), 1);
  EXPECT_TRUE(dialog->GetItems().isEmpty());
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(AddFiles, CancelDuringTheThirdOfTenFiles) {
  QStringList paths = {Path("a.pdf"), Path("b.pdf"), Path("text.pdf")};
  for (int i = 4; i <= 10; ++i) paths << Path(QString("missing-%1.pdf").arg(i));
  // The third file's failure box is up: the worker is inside the third file.
  onMessage = [this](const QString&) { dialog->btnCancelClick(); };
  EXPECT_EQ(Run(paths, true), 2);
  // Files four to ten are never opened: none of their failures is reported.
  EXPECT_EQ(messages, (QStringList{QString("Fail to open file '%1'.").arg(Path("text.pdf")),
                                   kCancelQuestion}));
}

TEST_F(AddFiles, TheRunEndingDuringTheCancelQuestion) {
  for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
    messages.clear();
    // The completion is held back and delivered while the question is open.
    completions.swallow = true;
    onCancelQuestion = [this, answer] {
      completions.swallow = false;
      QCoreApplication::postEvent(dialog.get(), new QEvent(WM_ADDFILESDONE));
      QDeadlineTimer deadline(10000);
      while (dialog->isVisible() && !deadline.hasExpired()) QCoreApplication::processEvents();
      return answer;
    };
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [this, &poll] {
      if (dialog && dialog->Worker()->Finished() && completions.count == 1) {
        poll.stop();
        dialog->btnCancelClick();
      }
    });
    completions.count = 0;
    poll.start(5);
    const int result = Run({Path("a.pdf")}, true);
    EXPECT_EQ(result, answer == QMessageBox::No ? 1 : 2);
    EXPECT_EQ(messages, QStringList{kCancelQuestion});
    EXPECT_EQ(Names(), QStringList{"a.pdf"});
  }
}

TEST_F(AddFiles, TheCloseCrossAsksWhileAddingAndIsOkWhenDone) {
  // The first file's failure box is up: the worker is still adding.
  onMessage = [this](const QString& text) {
    if (text.startsWith("Fail")) dialog->btnCloseClick();
  };
  onCancelQuestion = [] { return QMessageBox::No; };
  EXPECT_EQ(Run({Path("text.pdf"), Path("a.pdf")}, true), 1);
  EXPECT_EQ(messages.count(kCancelQuestion), 1);
  EXPECT_EQ(Names(), QStringList{"a.pdf"});

  // Done, with the completion held back: the cross closes with OK and asks nothing.
  messages.clear();
  onMessage = nullptr;
  completions.swallow = true;
  dialog = std::make_unique<TAddFileTipForm>(nullptr);
  dialog->installEventFilter(&completions);
  dialog->SetFileList({Path("b.pdf")}, true);
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [this] {
    if (dialog->btnOK->isEnabled()) dialog->btnCloseClick();
  });
  poll.start(10);
  EXPECT_EQ(dialog->exec(), 1);
  EXPECT_TRUE(messages.isEmpty());
  EXPECT_EQ(Names(), QStringList{"b.pdf"});
}

}  // namespace
