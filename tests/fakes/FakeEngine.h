// A stand-in for the PDF engine that records every call and answers as the test scripts it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#define FAKE_API __attribute__((visibility("default")))

struct FakeCall {
  std::string function;  // "OpenPDF", "ClosePDF", "PDF2JPG", ...
  int handle = 0;
  std::string path;  // OpenPDF's file, a render call's folder, a document call's output
  std::string base;  // image calls: the base name; document calls: the page list
  int xdpi = 0, ydpi = 0, first = 0, last = 0;
  std::vector<int> extra;  // quality and gray flag, or compression, depth and option
};

// Forgets calls and scripts. Opening succeeds with handles 1, 2, ... unless scripted.
FAKE_API void FakeReset();
FAKE_API std::vector<FakeCall> FakeCalls();
FAKE_API std::vector<std::string> FakeCallNames();
// OpenPDF of `path` returns `handle` (a negative one for a file that cannot be opened).
FAKE_API void FakeOpenResult(const std::string& path, int handle);
// The results of the next render calls, in order (0 once the list is used up).
FAKE_API void FakeRenderResults(const std::vector<int>& results);
// Runs inside every render call before each progress report, with the page about to be
// reported; the worker's thread.
FAKE_API void FakeBeforePage(std::function<void(int page)> hook);
