#include "AddFileTipMui_Unit1.h"

#include "AddFileThread.h"
#include "MessageBox.h"

TAddFileTipForm::TAddFileTipForm(QWidget* mainForm) : QDialog(mainForm), FMainForm(mainForm) {
  setWindowTitle(QStringLiteral("Add File"));
  lblInfo = new QLabel(QStringLiteral("lblInfo"), this);
  lblInfo->setGeometry(34, 72, 457, 65);
  lblInfo->setWordWrap(true);
  lblInfo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(12);
  lblInfo->setFont(font);
  ssSkinForm1 = new TssSkinForm(this);
  ssSkinForm1->SetPicture(QImage(QStringLiteral(":/forms/addfile_bg.bmp")));
  btnClose = NewSkinButton(this, "addfile_btn_close", 491, 7);
  btnClose->OnClick = [this](QWidget*) { btnCloseClick(); };
  btnOK = NewSkinButton(this, "addfile_btn_ok", 331, 181);
  btnOK->setEnabled(false);
  btnOK->OnClick = [this](QWidget*) { btnOKClick(); };
  btnCancel = NewSkinButton(this, "addfile_btn_cancel", 416, 181);
  btnCancel->OnClick = [this](QWidget*) { btnCancelClick(); };
  FWorker = std::make_unique<AddFileThread>(this);
  if (mainForm) move(mainForm->geometry().center() - rect().center());
}

TAddFileTipForm::~TAddFileTipForm() {
  FItems.clear();
  FWorker->Terminate();
  FWorker.reset();
}

void TAddFileTipForm::SetFileList(const QStringList& paths, bool reportOpenFailures) {
  FWorker->SetFileList(paths, reportOpenFailures);
}

void TAddFileTipForm::SetExistingItems(const QList<TItemInfo*>& items) {
  FWorker->SetExistingItems(items);
}

void TAddFileTipForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FWorker->Start();
}

bool TAddFileTipForm::event(QEvent* event) {
  if (event->type() == WM_ADDFILESDONE) {
    btnOKClick();  // whether or not OK is enabled yet
    return true;
  }
  return QDialog::event(event);
}

void TAddFileTipForm::btnOKClick() {
  FWorker->WaitFor();
  done(1);
}

void TAddFileTipForm::btnCancelClick() {
  if (ShowMessageBox(this, QMessageBox::NoIcon, QStringLiteral("Cancel"),
                     QStringLiteral("Are you sure to cry off adding files."),
                     QMessageBox::Yes | QMessageBox::No) == QMessageBox::No)
    return;
  FWorker->Terminate();
  done(2);
}

void TAddFileTipForm::btnCloseClick() {
  if (btnOK->isEnabled())
    btnOKClick();
  else
    btnCancelClick();
}

// The window's own close (Escape, the window manager) is the close cross.
void TAddFileTipForm::reject() {
  btnCloseClick();
}
