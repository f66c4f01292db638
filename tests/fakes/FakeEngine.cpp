#include "FakeEngine.h"

#include <deque>
#include <map>
#include <mutex>

#include "Rastmond.h"

namespace {
std::mutex mutex;
std::vector<FakeCall> calls;
std::map<std::string, int> openResults;
std::deque<int> renderResults;
std::function<void(int)> beforePage;
int nextHandle = 1;

FakeCall Call(const char* function, int handle, const char* path = nullptr,
              const char* base = nullptr) {
  FakeCall call;
  call.function = function;
  call.handle = handle;
  call.path = path ? path : "";
  call.base = base ? base : "";
  return call;
}

void Record(const FakeCall& call) {
  std::lock_guard<std::mutex> lock(mutex);
  calls.push_back(call);
}

int NextResult() {
  std::lock_guard<std::mutex> lock(mutex);
  if (renderResults.empty()) return 0;
  const int result = renderResults.front();
  renderResults.pop_front();
  return result;
}

// Reports `pages` (each `times` times) and returns the scripted result, or -4 when stopped.
int Report(const std::vector<int>& pages, int times, ProgressCallback callback) {
  for (const int page : pages)
    for (int i = 0; i < times; ++i) {
      if (beforePage) beforePage(page);
      if (callback && callback(0, 0, page) == 0) {
        NextResult();
        return -4;
      }
    }
  return NextResult();
}

std::vector<int> Range(int first, int last) {
  std::vector<int> pages;
  for (int p = first; p <= last; ++p) pages.push_back(p);
  return pages;
}

int Image(const char* name, int handle, const char* folder, const char* base, int xdpi, int ydpi,
          int first, int last, ProgressCallback callback, std::vector<int> extra) {
  FakeCall call = Call(name, handle, folder, base);
  call.xdpi = xdpi;
  call.ydpi = ydpi;
  call.first = first;
  call.last = last;
  call.extra = std::move(extra);
  Record(call);
  return Report(Range(first, last), 1, callback);
}

// The pages of a list such as "1-3,5".
std::vector<int> Pages(const std::string& list) {
  std::vector<int> pages;
  std::size_t at = 0;
  while (at < list.size()) {
    std::size_t end = list.find(',', at);
    if (end == std::string::npos) end = list.size();
    const std::string piece = list.substr(at, end - at);
    const std::size_t dash = piece.find('-');
    const int first = std::stoi(piece);
    const int last = dash == std::string::npos ? first : std::stoi(piece.substr(dash + 1));
    for (int p = first; p <= last; ++p) pages.push_back(p);
    at = end + 1;
  }
  return pages;
}
}  // namespace

void FakeReset() {
  std::lock_guard<std::mutex> lock(mutex);
  calls.clear();
  openResults.clear();
  renderResults.clear();
  beforePage = nullptr;
  nextHandle = 1;
}

std::vector<FakeCall> FakeCalls() {
  std::lock_guard<std::mutex> lock(mutex);
  return calls;
}

std::vector<std::string> FakeCallNames() {
  std::vector<std::string> names;
  for (const FakeCall& call : FakeCalls()) names.push_back(call.function);
  return names;
}

void FakeOpenResult(const std::string& path, int handle) {
  std::lock_guard<std::mutex> lock(mutex);
  openResults[path] = handle;
}

void FakeRenderResults(const std::vector<int>& results) {
  std::lock_guard<std::mutex> lock(mutex);
  renderResults.assign(results.begin(), results.end());
}

void FakeBeforePage(std::function<void(int)> hook) {
  beforePage = std::move(hook);
}

extern "C" {

int SetRCPath(const char* folder) {
  Record(Call("SetRCPath", 0, folder));
  return 0;
}

int OpenPDF(const char* path, int) {
  int handle;
  {
    std::lock_guard<std::mutex> lock(mutex);
    const auto scripted = openResults.find(path ? path : "");
    handle = scripted != openResults.end() ? scripted->second : nextHandle++;
  }
  Record(Call("OpenPDF", handle, path));
  return handle;
}

int GetPageCount(int handle) {
  Record(Call("GetPageCount", handle));
  return 1;
}

int ClosePDF(int handle) {
  Record(Call("ClosePDF", handle));
  return 0;
}

int PDF2JPG(int h, const char* folder, const char* base, int x, int y, int first, int last,
            ProgressCallback cb, int quality, int gray) {
  return Image("PDF2JPG", h, folder, base, x, y, first, last, cb, {quality, gray});
}
int PDF2TIF(int h, const char* folder, const char* base, int x, int y, int first, int last,
            ProgressCallback cb, int compression, int depth, int option) {
  return Image("PDF2TIF", h, folder, base, x, y, first, last, cb, {compression, depth, option});
}
int PDF2PNG(int h, const char* f, const char* b, int x, int y, int first, int last,
            ProgressCallback cb) {
  return Image("PDF2PNG", h, f, b, x, y, first, last, cb, {});
}
int PDF2GIF(int h, const char* f, const char* b, int x, int y, int first, int last,
            ProgressCallback cb) {
  return Image("PDF2GIF", h, f, b, x, y, first, last, cb, {});
}
int PDF2BMP(int h, const char* f, const char* b, int x, int y, int first, int last,
            ProgressCallback cb) {
  return Image("PDF2BMP", h, f, b, x, y, first, last, cb, {});
}
int PDF2PCX(int h, const char* f, const char* b, int x, int y, int first, int last,
            ProgressCallback cb) {
  return Image("PDF2PCX", h, f, b, x, y, first, last, cb, {});
}
int PDF2TGA(int h, const char* f, const char* b, int x, int y, int first, int last,
            ProgressCallback cb) {
  return Image("PDF2TGA", h, f, b, x, y, first, last, cb, {});
}
int PDF2TXT(int h, const char* pages, const char* out, int, ProgressCallback cb) {
  Record(Call("PDF2TXT", h, out, pages));
  return Report(Pages(pages ? pages : ""), 1, cb);
}
int PDF2RTF(int h, const char* pages, const char* out, ProgressCallback cb) {
  Record(Call("PDF2RTF", h, out, pages));
  return Report(Pages(pages ? pages : ""), 2, cb);
}
}
