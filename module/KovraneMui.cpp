#include "KovraneMui.h"

#include <dlfcn.h>

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "ConverterForm1_Unit1.h"
#include "MessageBox.h"
#include "MuiContext.h"

TConverterForm1* ConverterForm1 = nullptr;

namespace {

Plug::AutoReg registrar("KovraneMui", &CreateKovraneMui);

// Qt and what it brings along (libb2's OpenMP runtime among them) are not made to be
// unloaded with this library and loaded again: they stay once loaded.
const bool qtPinned = dlopen("libQt6Core.so.6", RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE) != nullptr;

QIcon IconOf(const void* handle) {
  QIcon icon;
  if (const auto* set = static_cast<const Plug::IconSet*>(handle))
    for (uint32_t i = 0; i < set->count; ++i) {
      QPixmap image;
      if (image.loadFromData(set->images[i].data, set->images[i].size)) icon.addPixmap(image);
    }
  return icon;
}

}  // namespace

I_Plug* CreateKovraneMui() {
  return new KovraneMui;
}

bool KovraneMui::InitInstance() {
  return true;
}

int32_t KovraneMui::AddRef() {
  return ++FRefCount;
}

void KovraneMui::Release() {
  if (--FRefCount == 0) delete this;
}

bool KovraneMui::Ready() {
  return true;
}

bool KovraneMui::Run(const void* icon, const char* title, const char* purchase) {
  // QApplication keeps argc and argv for its whole life.
  std::vector<std::string> commandLine = ProcessCommandLine();
  if (commandLine.empty()) commandLine.push_back("Ostrel");  // Qt wants a program name
  std::vector<char*> argv;
  for (std::string& argument : commandLine) argv.push_back(argument.data());
  argv.push_back(nullptr);
  int argc = static_cast<int>(argv.size()) - 1;
  std::optional<QApplication> application;
  try {
    application.emplace(argc, argv.data());
    QApplication::setWindowIcon(IconOf(icon));
    MuiContext context;
    struct TagScope {  // the context is reachable exactly while it lives
      ~TagScope() { SetContextTag(nullptr); }
    } tagScope;
    SetupFolders(context, LauncherFolder(), title, purchase);
    SetContextTag(&context);
    ReadConfiguration(context);
    ReadCommandLine(context, ProcessArguments());
    QApplication::setApplicationDisplayName(QString::fromLocal8Bit(title));
    ConverterForm1 = new TConverterForm1(&context);
    struct FormScope {
      ~FormScope() {
        delete ConverterForm1;
        ConverterForm1 = nullptr;
      }
    } formScope;
    ConverterForm1->show();
    QApplication::exec();
  } catch (const std::exception& error) {
    if (application) ShowException(nullptr, QString::fromLocal8Bit(error.what()));
  } catch (...) {
    if (application) ShowException(nullptr, QString());
  }
  return true;
}
