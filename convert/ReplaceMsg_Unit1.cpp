#include "ReplaceMsg_Unit1.h"

#include "Convert_Unit2.h"

namespace {
QLabel* Label(QWidget* parent, const QString& text, int x, int y) {
  auto* label = new QLabel(text, parent);
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(12);
  label->setFont(font);
  label->move(x, y);
  label->adjustSize();
  return label;
}

}  // namespace

TReplaceMsgForm::TReplaceMsgForm(QWidget* owner) : QDialog(owner) {
  setWindowTitle(QStringLiteral("Warning"));
  ssSkinForm1 = new TssSkinForm(this);
  ssSkinForm1->SetPicture(QImage(QStringLiteral(":/forms/replace_bg.bmp")));
  lblMsg = Label(this, QString(), 60, 66);
  TntRadioButton1 = new QRadioButton(this);
  TntRadioButton1->setGeometry(60, 101, 16, 16);
  TntRadioButton2 = new QRadioButton(this);
  TntRadioButton2->setGeometry(60, 130, 16, 16);
  TntLabel1 = Label(this, QStringLiteral("Apply to all"), 80, 99);
  TntLabel2 = Label(this, QStringLiteral("Just for this time"), 80, 128);
  btnOk = NewSkinButton(this, "replace_btn_ok", 332, 181);
  btnOk->OnClick = [this](QWidget*) { ssSkinButton1Click(); };
  btnCancel = NewSkinButton(this, "replace_btn_cancel", 419, 181);
  btnCancel->OnClick = [this](QWidget*) { btnCancelClick(); };
  if (owner) move(owner->geometry().center() - rect().center());
}

void TReplaceMsgForm::SetQuestion(ConvertThread* thread, const QString& text) {
  FThread = thread;
  lblMsg->setText(text);
  lblMsg->adjustSize();
  TntRadioButton2->setChecked(true);
}

void TReplaceMsgForm::ssSkinButton1Click() {
  FThread->FApplyToAll = TntRadioButton1->isChecked();
  FThread->FReplace = true;
  done(1);
}

void TReplaceMsgForm::btnCancelClick() {
  FThread->FApplyToAll = TntRadioButton1->isChecked();
  FThread->FReplace = false;
  done(2);
}
