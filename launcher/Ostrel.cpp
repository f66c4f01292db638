#include "Launcher.h"

int main() {
  return RunLauncher();
}
