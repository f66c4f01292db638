#include "Convert_Unit1.h"

#include <QApplication>

#include "Convert_Unit2.h"
#include "MessageBox.h"
#include "ModalSeam.h"
#include "MuiContext.h"

namespace {
QLabel* Label(QWidget* parent, int x, int y, int w, int h) {
  auto* label = new QLabel(parent);
  label->setGeometry(x, y, w, h);
  return label;
}

}  // namespace

TConvertForm1::TConvertForm1(QWidget* owner, const QString& outputFolder) : QDialog(owner) {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(12);
  setFont(font);
  ssSkinForm1 = new TssSkinForm(this);
  ssSkinForm1->SetPicture(QImage(QStringLiteral(":/forms/convert_bg.bmp")));
  lblTitle = Label(this, 10, 7, 71, 16);
  lblTitle->setText(QStringLiteral("Conversion"));
  QFont title(QStringLiteral("Arial"));
  title.setPixelSize(13);
  title.setBold(true);
  lblTitle->setFont(title);
  lblTitle->setStyleSheet(QStringLiteral("color: white"));  // on the title band
  ssSBClose = NewSkinButton(this, "convert_btn_close", 422, 8);
  ssSBClose->SetModalResult(2);
  ssSBStop = NewSkinButton(this, "convert_btn_stop", 351, 126);
  ssSBStop->SetModalResult(2);
  lblFile = Label(this, 24, 43, 409, 16);
  lblPage = Label(this, 24, 62, 201, 16);
  TimerProg = new QTimer(this);
  TimerProg->setInterval(300);
  connect(TimerProg, &QTimer::timeout, this, &TConvertForm1::TimerProgTimer);
  TimerProg->start();
  SkinProcess1 = new TSkinProcess(this);
  SkinProcess1->setGeometry(23, 82, 411, 22);

  FThread = std::make_unique<ConvertThread>(this);
  FThread->FOutputFolder = outputFolder;
  const MuiContext* context = ContextTag();
  SkinProcess1->SetImage2((context ? context->DataFolder : QString()) +
                          QStringLiteral("Skins/progress.bmp"));
  SkinProcess1->SetBaseLine(SkinProcess1->height() / 2 + 1);
  SkinProcess1->SetExtRange(0, SkinProcess1->width());
  SkinProcess1->Setprocess(0);
  FConvType = 0;
  if (owner) move(owner->geometry().center() - rect().center());
}

TConvertForm1::~TConvertForm1() {
  FThread.reset();
}

void TConvertForm1::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FThread->Start();
}

void TConvertForm1::StartFile(const QString& name, int total) {
  FPageTotal = total;
  FPageDone = 0;
  FCurPage = 0;
  lblFile->setText(QStringLiteral("Converting %1.").arg(name));
}

void TConvertForm1::TimerProgTimer() {
  const int total = FPageTotal, done = FPageDone;
  const bool twice = FConvType == 1 || FConvType == 2;  // reported twice per page
  const int percent = total == 0 ? 0 : std::min(100, done * (twice ? 50 : 100) / total);
  SkinProcess1->Setprocess(percent);
  lblPage->setText(QStringLiteral("Converting Page %1.").arg(twice ? done / 2 : int(FCurPage)));
}

void TConvertForm1::WorkerFinished() {
  FWorkerDone = true;
  // While the stop question is open, or the dialog waits for a stopping worker, the answer
  // decides how the dialog closes.
  if (!FAsking && !FClosing) done(1);
}

void TConvertForm1::AskOpenFolder(const QString& text) {
  if (ShowMessageBox(this, QMessageBox::NoIcon, QApplication::applicationDisplayName(), text,
                     QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes)
    ShellOpenTarget(FThread->FOutputFolder);
}

bool TConvertForm1::FormCloseQuery(int result) {
  if (result != 2) {
    AskOpenFolder(QStringLiteral("Conversion is completed. Open output folder?"));
    return true;
  }
  FThread->FPause = true;
  FAsking = true;
  const auto answer = ShowMessageBox(this, QMessageBox::Information, QStringLiteral("Convert"),
                                     QStringLiteral("Are your sure to stop the conversion?"),
                                     QMessageBox::Yes | QMessageBox::No);
  FAsking = false;
  if (answer != QMessageBox::Yes) {
    FThread->FPause = false;
    // The run ended while the question was open: it closes as completed.
    if (FWorkerDone) return FormCloseQuery(1);
    return false;
  }
  FThread->FStop = true;
  FClosing = true;
  TimerProg->stop();
  FThread->WaitFor();
  AskOpenFolder(QStringLiteral("Conversion stoped. Open output folder?"));
  return true;
}

void TConvertForm1::done(int result) {
  if (FClosing && !FWorkerDone) return;  // a close request while waiting for the worker
  const bool stopping = FClosing;
  if (!stopping && !FormCloseQuery(result)) {
    setResult(0);
    return;
  }
  FClosing = true;
  QDialog::done(1);  // the run always ends as done
}

void TConvertForm1::reject() {
  done(2);
}
