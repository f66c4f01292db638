#include "Launcher.h"

namespace {
bool IsBase64Char(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' ||
         c == '/';
}
}  // namespace

std::string Base64Decode(const std::string& text, const std::string& alphabet) {
  std::string out;
  unsigned group[4] = {};
  int n = 0;
  auto emit = [&](int bytes) {
    const unsigned char b[3] = {
        static_cast<unsigned char>((group[0] << 2) + (group[1] >> 4)),
        static_cast<unsigned char>(((group[1] & 0x0f) << 4) + (group[2] >> 2)),
        static_cast<unsigned char>(((group[2] & 0x03) << 6) + group[3])};
    out.append(reinterpret_cast<const char*>(b), bytes);
  };
  for (const char c : text) {
    const auto index = IsBase64Char(c) ? alphabet.find(c) : std::string::npos;
    if (index == std::string::npos) break;
    group[n++] = static_cast<unsigned>(index);
    if (n == 4) {
      emit(3);
      n = 0;
    }
  }
  if (n > 1) {
    for (int i = n; i < 4; ++i) group[i] = 0;
    emit(n - 1);
  }
  return out;
}
