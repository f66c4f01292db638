// A test plug-in that plays the user of the real program: loaded by the launcher beside the
// product's own plug-ins, it starts with the application and, on a short timer, answers every
// message box (No when offered, else OK), presses Convert once the main window lists
// ROBOT_ROWS files, and closes the main window after the conversion. Everything it sees goes
// to the file OSTREL_TEST_LOG, one line each. It registers no module.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QMessageBox>
#include <QTimer>
#include <QTreeWidget>
#include <QWidget>

namespace {

void Log(const QString& line) {
  QFile log(qEnvironmentVariable("OSTREL_TEST_LOG"));
  if (log.open(QIODevice::Append | QIODevice::Text)) log.write((line + u'\n').toUtf8());
}

QWidget* MainWindow() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && w->findChild<QTreeWidget*>()) return w;
  return nullptr;
}

enum class Stage { Waiting, Converting, Done };
Stage stage = Stage::Waiting;
int ticks = 0;

void Tick() {
  if (++ticks > 1200) {  // a minute at 50 ms: give up visibly rather than hang
    Log(QStringLiteral("robot: timed out"));
    QCoreApplication::exit(3);
    return;
  }
  QWidget* modal = QApplication::activeModalWidget();
  if (auto* box = qobject_cast<QMessageBox*>(modal)) {
    Log(QStringLiteral("box: %1: %2").arg(box->windowTitle(), box->text()));
    QAbstractButton* answer = box->button(QMessageBox::No);
    if (!answer) answer = box->button(QMessageBox::Ok);
    if (!answer && !box->buttons().isEmpty()) answer = box->buttons().first();
    if (answer) answer->click();
    return;
  }
  if (modal || stage != Stage::Waiting) return;
  QWidget* window = MainWindow();
  if (!window) return;
  const int rows = window->findChild<QTreeWidget*>()->topLevelItemCount();
  if (rows != qEnvironmentVariableIntValue("ROBOT_ROWS")) return;
  Log(QStringLiteral("title: %1").arg(window->windowTitle()));
  Log(QStringLiteral("application: %1").arg(QGuiApplication::applicationDisplayName()));
  Log(QStringLiteral("icon: %1").arg(QGuiApplication::windowIcon().availableSizes().size()));
  Log(QStringLiteral("rows: %1").arg(rows));
  for (QAction* action : window->findChildren<QAction*>())
    if (action->text() == QStringLiteral("Convert")) {
      stage = Stage::Converting;
      Log(QStringLiteral("convert"));
      // Outside this tick: a timer does not fire again while its own slot runs, and the
      // conversion's questions must still be answered.
      QTimer::singleShot(0, action, [action, window] {
        action->trigger();  // returns when the conversion dialog has closed
        stage = Stage::Done;
        Log(QStringLiteral("converted"));
        window->close();
      });
      return;
    }
}

void Start() {
  Log(QStringLiteral("robot: started"));
  auto* timer = new QTimer(qApp);
  QObject::connect(timer, &QTimer::timeout, &Tick);
  timer->start(50);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(Start)
