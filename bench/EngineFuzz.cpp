// libFuzzer target for the engine: each input is written to a file, opened, counted, its
// first page rendered as a small JPEG and its text extracted, then closed. With
// OSTREL_FUZZ_SEEDS=<folder> in the environment it writes the seed PDFs instead and exits.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "Engine.h"
#include "MakePdf.h"

namespace fs = std::filesystem;

namespace {

fs::path WorkFolder() {
  static const fs::path folder = [] {
    std::string pattern = (fs::temp_directory_path() / "engine-fuzz-XXXXXX").string();
    return fs::path(mkdtemp(pattern.data()));
  }();
  return folder;
}

void WriteSeeds(const fs::path& folder) {
  fs::create_directories(folder);
  MakeSamplePdf((folder / "one.pdf").string(), 1);
  MakeSamplePdf((folder / "three.pdf").string(), 3);
  MakePdf((folder / "text.pdf").string(),
          {TestPage{300, 200,
                    "BT /F1 12 Tf 20 100 Td (Fuzz \\(text\\)) Tj ET 0 0 1 rg 5 5 50 50 re f"}});
  MakePdf((folder / "wide.pdf").string(), {TestPage{2000, 50, ""}});
  PdfOptions locked;
  locked.userPassword = "user";
  MakePdf((folder / "locked.pdf").string(), {TestPage{}}, locked);
  PdfOptions noCopy;
  noCopy.ownerPassword = "owner";
  noCopy.permissions = 4;
  MakePdf((folder / "nocopy.pdf").string(), {TestPage{}}, noCopy);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (const char* seeds = std::getenv("OSTREL_FUZZ_SEEDS")) {
    WriteSeeds(seeds);
    std::exit(0);
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fs::path folder = WorkFolder();
  const std::string input = (folder / "in.pdf").string();
  if (FILE* file = std::fopen(input.c_str(), "wb")) {
    std::fwrite(data, 1, size, file);
    std::fclose(file);
  }
  const int handle = OpenPDF(input.c_str(), 0);
  if (handle > 0) {
    if (GetPageCount(handle) > 0) {
      PDF2JPG(handle, folder.c_str(), "p", 9, 9, 1, 1, nullptr, 50, 0);
      PDF2TXT(handle, "1", (folder / "t.txt").c_str(), 0, nullptr);
    }
    ClosePDF(handle);
  }
  for (const auto& entry : fs::directory_iterator(folder)) fs::remove(entry.path());
  return 0;
}
