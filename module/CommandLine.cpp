#include <fstream>
#include <iterator>

#include "MuiContext.h"

void ReadCommandLine(MuiContext& context, const std::vector<std::string>& arguments) {
  const std::size_t n = arguments.size();
  if (n < 2) return;
  // Positions 1..n-1: the last argument is never an option. The scan goes on after an
  // option, so its values are looked at as options too.
  for (std::size_t i = 1; i < n; ++i) {
    const std::string& argument = arguments[i - 1];
    if (argument == "-s") {
      context.SuiteLink = QString::fromLocal8Bit(arguments[i]);
    } else if (argument == "-f") {
      for (std::size_t j = i; j < n; ++j)
        context.StartupFiles.append(QString::fromLocal8Bit(arguments[j]));
    }
  }
}

std::vector<std::string> ProcessCommandLine() {
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  const std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> arguments;
  std::size_t start = 0;
  while (start < all.size()) {
    const std::size_t end = all.find('\0', start);
    arguments.push_back(all.substr(start, end == std::string::npos ? end : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return arguments;
}

std::vector<std::string> ProcessArguments() {
  std::vector<std::string> arguments = ProcessCommandLine();
  if (!arguments.empty()) arguments.erase(arguments.begin());  // the program path
  return arguments;
}
