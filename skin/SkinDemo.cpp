// Shows the product's skinned windows with their artwork, to look at them as a user would:
// the main window's background with its buttons, the add-file dialog and the conversion
// dialog with its bar at 60 %. One button of each window is shown under the mouse and one
// held down.
//
//   skin_demo <data folder>     (the folder holding Skins/progress.bmp)
#include <QApplication>
#include <QDialog>

#include "Skin.h"

namespace {

QImage Art(const char* name) {
  return QImage(QStringLiteral(":/forms/%1.bmp").arg(name));
}

QDialog* Window(const char* background, int x, int y) {
  auto* form = new QDialog;
  auto* skin = new TssSkinForm(form);
  skin->SetPicture(Art(background));
  form->move(x, y);
  return form;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString data = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();

  QDialog* main = Window("main_bg", 0, 0);
  NewSkinButton(main, "main_btn_min", 760, 5);
  NewSkinButton(main, "main_btn_close", 782, 5);
  const char* actions[] = {"main_btn_addfile", "main_btn_addfolder", "main_btn_selectall",
                           "main_btn_delete", "main_btn_clearall"};
  for (int i = 0; i < 5; ++i) NewSkinButton(main, actions[i], 47 + 69 * i, 384);
  NewSkinButton(main, "main_btn_convert", 452, 384)->MouseEntered();
  NewSkinButton(main, "main_btn_browse", 340, 518)->MouseDownAt(Qt::LeftButton, 1, 1);
  NewSkinButton(main, "main_btn_open", 419, 518);
  main->show();

  QDialog* add = Window("addfile_bg", 860, 0);
  NewSkinButton(add, "addfile_btn_close", 491, 7);
  NewSkinButton(add, "addfile_btn_ok", 331, 181)->MouseEntered();
  NewSkinButton(add, "addfile_btn_cancel", 416, 181);
  add->show();

  QDialog* convert = Window("convert_bg", 860, 260);
  NewSkinButton(convert, "convert_btn_close", 422, 8)->MouseEntered();
  NewSkinButton(convert, "convert_btn_stop", 351, 126)->MouseDownAt(Qt::LeftButton, 1, 1);
  auto* bar = new TSkinProcess(convert);
  bar->setGeometry(23, 82, 411, 22);
  bar->SetImage2(data + QStringLiteral("/Skins/progress.bmp"));
  bar->SetBaseLine(bar->height() / 2 + 1);
  bar->SetExtRange(0, bar->width());
  bar->Setprocess(60);
  convert->show();
  return app.exec();
}
