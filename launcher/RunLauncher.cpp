#include <cstdio>

#include "Launcher.h"

int RunLauncher() {
  const std::string title = PRODUCT_TITLE;
  const std::string number = PRODUCT_NUMBER;

  std::string alphabet;
  for (char c = 'A'; c <= 'Z'; ++c) alphabet += c;
  for (char c = 'a'; c <= 'z'; ++c) alphabet += c;
  for (char c = '0'; c <= '9'; ++c) alphabet += c;
  alphabet += "+/";
  const std::string purchase = Base64Decode(PURCHASE_PREFIX_B64, alphabet) + number;

  PlugLibraryList libraries;
  libraries.LoadFolder("dll/");
  libraries.LoadFolder("PlugDll/");

  // The registry hands out an I_Plug; the module registered under this name offers the
  // converter's interface.
  auto* module = static_cast<I_KovraneMui*>(Plug::CreateModule(MODULE_NAME));
  if (!module) {
    const std::string folder = ModuleFolder();
    std::fprintf(stderr,
                 "%s: no plug-in offers the module \"%s\" (searched %sdll/ and %sPlugDll/)\n",
                 title.c_str(), MODULE_NAME, folder.c_str(), folder.c_str());
    libraries.FreeAll();
    return 1;
  }
  module->Run(&AppIcon(), title.c_str(), purchase.c_str());
  module->Release();
  libraries.FreeAll();
  return 0;
}
