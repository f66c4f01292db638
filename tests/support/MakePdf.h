// Writes PDF files for the tests and the benchmark, with MuPDF.
#pragma once

#include <string>
#include <vector>

struct TestPage {
  float width = 612, height = 792;  // points
  std::string content;              // content stream; "" draws SampleContent
};

struct PdfOptions {
  std::string userPassword;  // non-empty: encrypted (AES-256)
  std::string ownerPassword;
  int permissions = -1;  // PDF permission bits when encrypted
};

// Shapes, colour bars, curves and the text "Page <n>", scaled to the page.
std::string SampleContent(int page, float width, float height);

// Writes the pages to `path`; false when MuPDF fails.
bool MakePdf(const std::string& path, const std::vector<TestPage>& pages,
             const PdfOptions& options = {});

// `count` letter-size sample pages.
bool MakeSamplePdf(const std::string& path, int count);
