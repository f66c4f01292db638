#include "About.h"

#include <QEvent>
#include <QFile>
#include <QMouseEvent>
#include <stdexcept>

#include "ModalSeam.h"
#include "MuiContext.h"

namespace {

QLabel* Label(QWidget* parent, const char* caption, int x, int y, int size, bool bold = false) {
  auto* label = new QLabel(QString::fromLatin1(caption), parent);
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(size);
  font.setBold(bold);
  label->setFont(font);
  label->move(x, y);
  label->adjustSize();
  return label;
}

QImage Banner(const QString& path) {
  QImage banner(path);
  if (banner.isNull())
    throw std::runtime_error(
        QStringLiteral("Cannot open the picture '%1'.").arg(path).toStdString());
  return banner;
}

}  // namespace

TAboutForm::TAboutForm(QWidget* owner) : QDialog(owner) {
  setWindowTitle(QStringLiteral("AboutForm"));
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPixelSize(12);
  setFont(font);
  ssSkinForm1 = new TssSkinForm(this);
  ssSkinForm1->SetPicture(QImage(QStringLiteral(":/forms/about_bg.bmp")));

  const MuiContext* context = ContextTag();
  const QString dataFolder = context ? context->DataFolder : QString();
  TntImage1 = new QLabel(this);
  TntImage1->move(12, 69);
  TntImage1->setPixmap(QPixmap::fromImage(Banner(dataFolder + QStringLiteral("Skins/about.bmp"))));
  TntImage1->adjustSize();

  lblTitle = Label(this, "About", 14, 3, 13, true);
  lblTitle->setStyleSheet(QStringLiteral("color: white"));  // on the title band
  const QString gold = QStringLiteral("color: rgb(138,112,36)");
  lblVersionTag = Label(this, "Version", 313, 200, 13, true);
  lblVersionTag->setStyleSheet(gold);
  lblVersion = Label(this, "1.0.1", 367, 200, 13, true);
  lblVersion->setStyleSheet(gold);
  lblVersion->setFixedSize(45, 15);
  lblSupportTag = Label(this, "Support:", 14, 204, 12);
  lblSupport = Label(this, "aa", 64, 204, 12);
  lblHomeTag = Label(this, "Home Page:", 14, 222, 12);
  lblHome = Label(this, "dd", 87, 222, 12);
  lblCopyright = Label(this, "df", 14, 241, 12);
  for (QLabel* link : {lblSupport, lblHome}) {
    link->setCursor(Qt::PointingHandCursor);
    link->installEventFilter(this);
  }

  ssSBOk = NewSkinButton(this, "about_btn_ok", 318, 220);
  ssSBOk->SetModalResult(1);  // the OK result
  ssSBClose = NewSkinButton(this, "about_btn_close", 381, 3);
  ssSBClose->SetModalResult(2);  // the cancel result

  if (context) {
    lblVersion->setText(context->Version);
    lblSupport->setText(context->SupportLink);
    lblHome->setText(context->HomeLink);
    lblCopyright->setText(context->Copyright);
  }
  for (QLabel* label : {lblSupport, lblHome, lblCopyright}) label->adjustSize();
  if (owner) move(owner->geometry().center() - rect().center());
}

void TAboutForm::LinkLabelClick(QLabel* sender) {
  ShellOpenTarget(sender->text());
}

bool TAboutForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    auto* label = static_cast<QLabel*>(watched);
    if (label->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint()))
      LinkLabelClick(label);
    return true;
  }
  return QDialog::eventFilter(watched, event);
}
