#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <thread>

#include <gtest/gtest.h>

#include "Engine.h"
#include "MakePdf.h"
#include "ReadJpeg.h"
#include "TestSupport.h"

namespace fs = std::filesystem;

namespace {

// The names in `dir`, sorted.
std::vector<std::string> Listing(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

class Engine : public ::testing::Test {
 protected:
  void TearDown() override {
    rastmond::SetRenderThreads(0);
    rastmond::SetBandBytes(0);
  }
  std::string Pdf(const std::string& name, int pages) {
    const std::string path = (dir.Path() / name).string();
    EXPECT_TRUE(MakeSamplePdf(path, pages));
    return path;
  }
  fs::path OutDir(const std::string& name) {
    const fs::path out = dir.Path() / name;
    fs::create_directories(out);
    return out;
  }
  TempDir dir;
};

TEST_F(Engine, OpenRefusesWhatIsNotADocumentWithPages) {
  const fs::path d = dir.Path();
  std::ofstream(d / "empty.pdf").close();
  std::ofstream(d / "text.pdf") << "This is not a PDF at all, just some words.\n";
  std::ofstream(d / "nopages.pdf") << "%PDF-1.4\n1 0 obj <</Type/Catalog>> endobj\n"
                                      "trailer <</Root 1 0 R/Size 2>>\n%%EOF\n";
  fs::create_directories(d / "folder.pdf");
  for (const char* name : {"missing.pdf", "empty.pdf", "text.pdf", "nopages.pdf", "folder.pdf"})
    EXPECT_LT(OpenPDF((d / name).c_str(), 0), 0) << name;
  EXPECT_LT(OpenPDF(nullptr, 0), 0);
  EXPECT_LT(OpenPDF("", 0), 0);
  if (geteuid() != 0) {  // root reads anything
    const std::string locked = Pdf("locked.pdf", 1);
    chmod(locked.c_str(), 0);
    EXPECT_LT(OpenPDF(locked.c_str(), 0), 0);
  }
}

TEST_F(Engine, CountsPagesAndIgnoresWhatIsNotOpen) {
  const int a = OpenPDF(Pdf("three.pdf", 3).c_str(), 0);
  const int b = OpenPDF(Pdf("none.pdf", 0).c_str(), 0);
  ASSERT_GT(a, 0);
  ASSERT_GT(b, 0);
  EXPECT_NE(a, b);
  EXPECT_EQ(GetPageCount(a), 3);
  EXPECT_EQ(GetPageCount(b), 0);  // a page tree without pages opens
  EXPECT_EQ(ClosePDF(a), 0);
  EXPECT_EQ(GetPageCount(a), -1);
  for (const int h : {a, 0, -1, -4, 999}) {
    EXPECT_EQ(ClosePDF(h), -1) << h;
    EXPECT_EQ(PDF2JPG(h, OutDir("out").c_str(), "x", 72, 72, 1, 1, nullptr, 75, 0), -1) << h;
  }
  EXPECT_EQ(Listing(dir.Path() / "out"), std::vector<std::string>{});
  ClosePDF(b);
}

TEST_F(Engine, RepairsABrokenCrossReferenceTable) {
  const std::string path = Pdf("broken.pdf", 2);
  std::string bytes;
  {
    std::ifstream in(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  bytes.resize(bytes.rfind("xref"));  // no table, no trailer
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  const int h = OpenPDF(path.c_str(), 0);
  ASSERT_GT(h, 0);
  EXPECT_EQ(GetPageCount(h), 2);
  ClosePDF(h);
}

TEST_F(Engine, APasswordProtectedDocumentOpensButDoesNotConvert) {
  const std::string path = (dir.Path() / "secret.pdf").string();
  ASSERT_TRUE(MakePdf(path, std::vector<TestPage>(2), {"user", "owner", -1}));
  const int h = OpenPDF(path.c_str(), 0);
  ASSERT_GT(h, 0);
  EXPECT_EQ(GetPageCount(h), 2);
  EXPECT_EQ(PDF2JPG(h, OutDir("out").c_str(), "secret", 72, 72, 1, 2, nullptr, 75, 0), -2);
  EXPECT_EQ(Listing(dir.Path() / "out"), std::vector<std::string>{});
  ClosePDF(h);
}

TEST_F(Engine, NamesPadsAndClampsPages) {
  const int h = OpenPDF(Pdf("twelve.pdf", 12).c_str(), 0);
  const fs::path some = OutDir("some"), all = OutDir("all");
  EXPECT_EQ(PDF2JPG(h, some.c_str(), "report", 20, 20, 3, 5, nullptr, 75, 0), 0);
  EXPECT_EQ(Listing(some),
            (std::vector<std::string>{"report-03.jpg", "report-04.jpg", "report-05.jpg"}));
  EXPECT_EQ(PDF2JPG(h, all.c_str(), "r", 20, 20, -3, 40, nullptr, 75, 0), 0);  // no "/" at end
  EXPECT_EQ(Listing(all).size(), 12u);
  EXPECT_EQ(Listing(all).front(), "r-01.jpg");
  EXPECT_EQ(Listing(all).back(), "r-12.jpg");
  EXPECT_EQ(PDF2JPG(h, some.c_str(), "none", 20, 20, 13, 20, nullptr, 75, 0), 0);
  EXPECT_EQ(Listing(some).size(), 3u);
  ClosePDF(h);

  const int five = OpenPDF(Pdf("five.pdf", 5).c_str(), 0);
  const fs::path single = OutDir("single");
  EXPECT_EQ(PDF2JPG(five, single.c_str(), "f", 20, 20, 5, 5, nullptr, 75, 0), 0);
  EXPECT_EQ(Listing(single), std::vector<std::string>{"f-5.jpg"});
  ClosePDF(five);
}

TEST_F(Engine, SizeChannelsAndDensityFollowTheSettings) {
  const int h = OpenPDF(Pdf("letter.pdf", 1).c_str(), 0);  // 612 x 792 points
  const struct {
    int xdpi, ydpi, gray;
  } cases[] = {{72, 72, 0}, {150, 150, 1}, {20, 20, 0}, {100, 50, 0}, {33, 97, 1}};
  for (const auto& c : cases) {
    const fs::path out = OutDir("out-" + std::to_string(c.xdpi) + "-" + std::to_string(c.ydpi));
    ASSERT_EQ(PDF2JPG(h, out.c_str(), "p", c.xdpi, c.ydpi, 1, 1, nullptr, 90, c.gray), 0);
    const JpegImage image = ReadJpeg((out / "p-1.jpg").string());
    ASSERT_TRUE(image.ok);
    EXPECT_NEAR(image.width, 612.0 * c.xdpi / 72, 1) << c.xdpi;
    EXPECT_NEAR(image.height, 792.0 * c.ydpi / 72, 1) << c.ydpi;
    EXPECT_EQ(image.components, c.gray ? 1 : 3);
    EXPECT_EQ(image.densityUnit, 1);
    EXPECT_EQ(image.xDensity, c.xdpi);
    EXPECT_EQ(image.yDensity, c.ydpi);
  }
  // The sample page's background is a pale blue: colour shows in colour output.
  const JpegImage colour = ReadJpeg((dir.Path() / "out-72-72" / "p-1.jpg").string());
  const std::size_t at = (10 * colour.width + 10) * 3;
  EXPECT_GT(colour.pixels[at + 2] - colour.pixels[at], 20);
  ClosePDF(h);
}

TEST_F(Engine, QualityChangesTheFileAndIsClamped) {
  const int h = OpenPDF(Pdf("q.pdf", 1).c_str(), 0);
  std::vector<std::uintmax_t> sizes;
  for (const int quality : {-5, 1, 50, 100, 400}) {
    const fs::path out = OutDir("q" + std::to_string(quality));
    ASSERT_EQ(PDF2JPG(h, out.c_str(), "p", 72, 72, 1, 1, nullptr, quality, 0), 0);
    sizes.push_back(fs::file_size(out / "p-1.jpg"));
  }
  EXPECT_EQ(sizes[0], sizes[1]);
  EXPECT_LT(sizes[1], sizes[2]);
  EXPECT_LT(sizes[2], sizes[3]);
  EXPECT_EQ(sizes[3], sizes[4]);
  ClosePDF(h);
}

std::vector<int> calls;
std::thread::id caller;
bool onCaller = true;
int stopAfter = 0;
int Record(int, int, int page) {
  calls.push_back(page);
  onCaller = onCaller && std::this_thread::get_id() == caller;
  return stopAfter && page >= stopAfter ? 0 : 1;
}

TEST_F(Engine, CallsBackOncePerPageInOrderOnTheCallingThread) {
  const int h = OpenPDF(Pdf("eight.pdf", 8).c_str(), 0);
  for (const int threads : {1, 2, 4}) {
    rastmond::SetRenderThreads(threads);
    calls.clear();
    caller = std::this_thread::get_id();
    stopAfter = 0;
    EXPECT_EQ(PDF2JPG(h, OutDir("cb").c_str(), "p", 40, 40, 2, 7, Record, 75, 0), 0);
    EXPECT_EQ(calls, (std::vector<int>{2, 3, 4, 5, 6, 7})) << threads;
    EXPECT_TRUE(onCaller);
  }
  ClosePDF(h);
}

TEST_F(Engine, StoppingLeavesOnlyCompletePages) {
  const int h = OpenPDF(Pdf("ten.pdf", 10).c_str(), 0);
  for (const int threads : {1, 2, 4}) {
    rastmond::SetRenderThreads(threads);
    const fs::path out = OutDir("stop" + std::to_string(threads));
    calls.clear();
    stopAfter = 2;
    EXPECT_EQ(PDF2JPG(h, out.c_str(), "p", 150, 150, 1, 10, Record, 75, 0), -4);
    EXPECT_EQ(calls, (std::vector<int>{1, 2}));
    EXPECT_EQ(Listing(out), (std::vector<std::string>{"p-01.jpg", "p-02.jpg"})) << threads;
    EXPECT_TRUE(ReadJpeg((out / "p-02.jpg").string()).ok);
  }
  stopAfter = 0;
  ClosePDF(h);
}

TEST_F(Engine, AFolderThatCannotBeWrittenFails) {
  const int h = OpenPDF(Pdf("one.pdf", 1).c_str(), 0);
  std::ofstream(dir.Path() / "file") << "x";
  for (const fs::path& folder : {dir.Path() / "missing", dir.Path() / "file"})
    EXPECT_EQ(PDF2JPG(h, folder.c_str(), "p", 72, 72, 1, 1, nullptr, 75, 0), -1) << folder;
  EXPECT_EQ(PDF2JPG(h, "", "p", 72, 72, 1, 1, nullptr, 75, 0), -1);
  EXPECT_EQ(PDF2JPG(h, OutDir("ok").c_str(), "p", 0, 72, 1, 1, nullptr, 75, 0), -1);
  ClosePDF(h);
}

TEST_F(Engine, APageTooLargeForJpegIsSkippedAndTheRestConverts) {
  // 14400 points at 600 dpi is 120000 pixels, beyond JPEG's 65500.
  const std::string path = (dir.Path() / "huge.pdf").string();
  ASSERT_TRUE(MakePdf(path, {TestPage{14400, 200, ""}, TestPage{}}));
  const int h = OpenPDF(path.c_str(), 0);
  const fs::path out = OutDir("out");
  calls.clear();
  EXPECT_EQ(PDF2JPG(h, out.c_str(), "p", 600, 72, 1, 2, Record, 75, 0), -1);
  EXPECT_EQ(calls, (std::vector<int>{1, 2}));
  EXPECT_EQ(Listing(out), std::vector<std::string>{"p-2.jpg"});
  ClosePDF(h);
}

// The decoded pixels of pages 1..3 rendered with these settings.
std::vector<unsigned char> Render(int handle, const fs::path& out, int threads, std::size_t band) {
  rastmond::SetRenderThreads(threads);
  rastmond::SetBandBytes(band);
  fs::create_directories(out);
  EXPECT_EQ(PDF2JPG(handle, out.c_str(), "p", 50, 50, 1, 3, nullptr, 100, 0), 0);
  std::vector<unsigned char> all;
  for (int page = 1; page <= 3; ++page) {
    const JpegImage image = ReadJpeg((out / ("p-" + std::to_string(page) + ".jpg")).string());
    EXPECT_TRUE(image.ok);
    all.insert(all.end(), image.pixels.begin(), image.pixels.end());
  }
  return all;
}

TEST_F(Engine, ThreadsDoNotChangeThePixels) {
  const int h = OpenPDF(Pdf("threads.pdf", 3).c_str(), 0);
  const std::vector<unsigned char> alone = Render(h, dir.Path() / "1", 1, 0);
  for (const int threads : {2, 3, 8})
    EXPECT_TRUE(Render(h, dir.Path() / std::to_string(threads), threads, 0) == alone) << threads;
  ClosePDF(h);
}

TEST_F(Engine, ABandedPageMatchesThePageRenderedWhole) {
  const int h = OpenPDF(Pdf("bands.pdf", 3).c_str(), 0);
  const std::vector<unsigned char> whole = Render(h, dir.Path() / "whole", 1, 0);
  // Seven rows per band, and one: the page is cut at hundreds of places.
  for (const std::size_t band : {std::size_t{3 * 425 * 7}, std::size_t{1}}) {
    const std::vector<unsigned char> banded = Render(h, dir.Path() / std::to_string(band), 2, band);
    ASSERT_EQ(banded.size(), whole.size());
    // MuPDF clips each edge to the band it draws into, which moves the anti-aliasing of
    // sloped edges by a few levels; nothing else may differ.
    long total = 0;
    int worst = 0;
    for (std::size_t i = 0; i < whole.size(); ++i) {
      const int d = std::abs(int{whole[i]} - int{banded[i]});
      total += d;
      worst = std::max(worst, d);
    }
    EXPECT_LE(worst, 48) << band;
    EXPECT_LT(static_cast<double>(total) / whole.size(), 0.25) << band;
  }
  ClosePDF(h);
}

TEST_F(Engine, SaysNothingOnStandardOutputOrError) {
  const std::string capture = (dir.Path() / "capture").string();
  std::fflush(stdout);
  std::fflush(stderr);
  const int out = dup(1), err = dup(2);
  const int fd = open(capture.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  dup2(fd, 1);
  dup2(fd, 2);
  // A damaged document makes MuPDF complain, a text file makes it give up.
  std::ofstream(dir.Path() / "text.pdf") << "%PDF-1.4\ngarbage\n";
  OpenPDF((dir.Path() / "text.pdf").c_str(), 0);
  const std::string path = Pdf("damaged.pdf", 2);
  std::fstream(path, std::ios::in | std::ios::out | std::ios::binary).seekp(60) << "~~~~~~~~";
  const int h = OpenPDF(path.c_str(), 0);
  PDF2JPG(h, OutDir("o").c_str(), "p", 30, 30, 1, 2, nullptr, 75, 0);
  ClosePDF(h);
  std::fflush(stdout);
  std::fflush(stderr);
  dup2(out, 1);
  dup2(err, 2);
  close(fd);
  EXPECT_EQ(fs::file_size(capture), 0u);
}

}  // namespace
