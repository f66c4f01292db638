// The page pipeline. The calling thread owns the document: it loads each page and records
// its display list. The work is cut into horizontal bands; render threads, each with a cloned
// context, rasterise and encode bands of any recorded page, and whichever thread finishes the
// next band of a page in order appends it to that page's hidden temporary file. Bands bound
// the memory on any page size, and a short document still uses every core. The calling
// thread renames finished pages in page order and calls back for each.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "Engine.h"

namespace rastmond {

namespace {

std::atomic<int> renderThreads{0};
std::atomic<std::size_t> bandBytes{0};
constexpr std::size_t kDefaultBandBytes = 8u << 20;
constexpr int kMaxBandRows = 256;

int ThreadCount() {
  const int chosen = renderThreads.load();
  if (chosen > 0) return chosen;
  return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

struct Job {
  int page = 0;
  fz_display_list* list = nullptr;  // nullptr: the page could not be loaded
  fz_matrix ctm{};
  fz_irect box{};
  int bandRows = 1, bands = 0;
  std::string finalPath;
  std::string tempPath;  // while a temporary file exists
  FILE* file = nullptr;
  std::unique_ptr<PageEncoder> encoder;
  int channels = 3;  // 1 gray, 3 RGB
  fz_cookie cookie{};
  // Guarded by the pipeline's mutex:
  int unrendered = 0;                // bands not yet rendered (or skipped)
  int nextWrite = 0;                 // the next band to append to the file
  std::map<int, std::string> ready;  // encoded bands waiting for their turn
  bool writing = false;              // a thread is appending to the file
  bool failed = false;
  bool done = false, ok = false;
};

struct Task {
  Job* job;
  int band;
};

// Creates a hidden temporary file in `folder`; "" on failure.
std::string MakeTemp(const std::string& folder, FILE** file) {
  std::string path = folder + ".rastmond-XXXXXX";
  const int fd = mkostemp(path.data(), O_CLOEXEC);
  if (fd < 0) return {};
  fchmod(fd, FileMode());
  *file = fdopen(fd, "wb");
  if (!*file) {
    close(fd);
    unlink(path.c_str());
    return {};
  }
  return path;
}

bool FolderWritable(const std::string& folder) {
  FILE* file = nullptr;
  const std::string probe = MakeTemp(folder, &file);
  if (probe.empty()) return false;
  std::fclose(file);
  unlink(probe.c_str());
  return true;
}

std::string Padded(int page, int digits) {
  std::string text = std::to_string(page);
  return std::string(std::max(0, digits - static_cast<int>(text.size())), '0') + text;
}

class Pipeline {
 public:
  Pipeline(const ImageFormat& format, const std::string& folder, int xdpi, int ydpi, int threads)
      : FFormat(format),
        FFolder(folder),
        FXdpi(xdpi),
        FYdpi(ydpi),
        FThreads(threads),
        FChannels(format.gray ? 1 : 3) {}

  int Run(fz_context* ctx, const Document& document, const char* base, int first, int last,
          ProgressCallback callback) {
    FDigits = static_cast<int>(std::to_string(document.pageCount).size());
    FBase = base;
    FScale = fz_scale(FXdpi / 72.0f, FYdpi / 72.0f);
    return FThreads == 1 ? RunAlone(ctx, document, first, last, callback)
                         : RunParallel(ctx, document, first, last, callback);
  }

 private:
  // One thread does everything: the single-threaded baseline, and the way on one core.
  int RunAlone(fz_context* ctx, const Document& document, int first, int last,
               ProgressCallback callback) {
    bool failed = false;
    for (int page = first; page <= last; ++page) {
      std::unique_ptr<Job> job = MakeJob(ctx, document, page);
      for (int band = 0; band < job->bands; ++band) Process(ctx, {job.get(), band});
      if (job->bands == 0) Complete(ctx, *job);
      failed = !Publish(*job) || failed;
      if (callback && callback(0, 0, page) == 0) return -4;
    }
    return failed ? -1 : 0;
  }

  int RunParallel(fz_context* ctx, const Document& document, int first, int last,
                  ProgressCallback callback) {
    std::vector<std::thread> workers;
    try {
      for (int i = 0; i < FThreads; ++i) workers.emplace_back([this] { Worker(); });
    } catch (...) {
      Stop(workers);
      return -1;
    }
    // Pages recorded and not yet rendered: enough that no render thread waits for the
    // recording, few enough that a stop leaves little work behind. Finished pages wait for
    // their turn as files, so a slow page does not hold up the ones behind it.
    const int window = 2 * FThreads;
    const std::size_t waiting = 16 * static_cast<std::size_t>(FThreads);
    std::deque<std::unique_ptr<Job>> pending;  // recorded, not yet reported, in page order
    int next = first;
    bool failed = false, aborted = false;
    const auto canRecord = [&] {  // called with FMutex held
      return next <= last && FUnfinished < window && pending.size() < waiting;
    };
    while (!aborted && (next <= last || !pending.empty())) {
      while ([&] {
        std::lock_guard<std::mutex> lock(FMutex);
        return canRecord();
      }()) {
        pending.push_back(MakeJob(ctx, document, next++));
        Job& job = *pending.back();
        {
          std::lock_guard<std::mutex> lock(FMutex);
          for (int band = 0; band < job.bands; ++band) FQueue.push_back({&job, band});
          ++FUnfinished;
        }
        if (job.bands == 0) Complete(ctx, job);
        FWork.notify_all();
      }
      Job& head = *pending.front();
      {
        std::unique_lock<std::mutex> lock(FMutex);
        FDone.wait(lock, [&] { return head.done || canRecord(); });
        if (!head.done) continue;
        // No band starts while the caller is being told about this page: a caller that
        // stops to ask the user really pauses the work.
        FHold = true;
      }
      failed = !Publish(head) || failed;
      const int page = head.page;
      pending.pop_front();
      aborted = callback && callback(0, 0, page) == 0;
      {
        std::lock_guard<std::mutex> lock(FMutex);
        FHold = false;
      }
      FWork.notify_all();
    }
    // Stop: bands not started are skipped, bands in flight cancelled, files removed.
    {
      std::lock_guard<std::mutex> lock(FMutex);
      for (const auto& job : pending) {
        job->cookie.abort = 1;
        job->failed = true;
      }
    }
    FWork.notify_all();
    {
      std::unique_lock<std::mutex> lock(FMutex);
      FDone.wait(lock, [&] {
        return std::all_of(pending.begin(), pending.end(), [](const auto& j) { return j->done; });
      });
    }
    Stop(workers);
    for (const auto& job : pending) Publish(*job, false);
    return aborted ? -4 : failed ? -1 : 0;
  }

  void Worker() {
    fz_context* ctx = NewContext();
    for (;;) {
      Task task{};
      {
        std::unique_lock<std::mutex> lock(FMutex);
        auto eligible = FQueue.end();
        FWork.wait(lock, [&] {
          if (FStopping) return true;
          if (FHold) return false;
          eligible = std::find_if(FQueue.begin(), FQueue.end(), [&](const Task& t) {
            return t.job->failed || t.band < t.job->nextWrite + 4 * FThreads;
          });
          return eligible != FQueue.end();
        });
        if (FStopping) break;
        task = *eligible;
        FQueue.erase(eligible);
      }
      if (ctx)
        Process(ctx, task);
      else
        Skip(task);
    }
    fz_drop_context(ctx);
  }

  // Renders and encodes one band, then appends every band of the page that is next in turn.
  void Process(fz_context* ctx, const Task& task) {
    Job& job = *task.job;
    bool skip;
    {
      std::lock_guard<std::mutex> lock(FMutex);
      skip = job.failed;
    }
    std::string chunk;
    bool ok = false;
    if (!skip) {
      if (fz_pixmap* pixmap = RenderBand(ctx, job, task.band)) {
        ok = job.encoder->EncodeBand(task.band, pixmap->samples, pixmap->stride, pixmap->h, chunk);
        fz_drop_pixmap(ctx, pixmap);
      }
    }
    std::unique_lock<std::mutex> lock(FMutex);
    --job.unrendered;
    if (ok)
      job.ready[task.band] = std::move(chunk);
    else
      job.failed = true;
    if (job.writing) return;  // the thread appending to the file takes it
    while (!job.failed && job.ready.count(job.nextWrite)) {
      const std::string next = std::move(job.ready[job.nextWrite]);
      job.ready.erase(job.nextWrite);
      job.writing = true;
      lock.unlock();
      const bool written = Write(job, next);
      lock.lock();
      job.writing = false;
      if (written)
        ++job.nextWrite;
      else
        job.failed = true;
      FWork.notify_all();  // bands further down may start now
    }
    const bool finished = job.nextWrite == job.bands || (job.failed && job.unrendered == 0);
    if (!finished || job.done || job.writing) return;
    lock.unlock();
    Complete(ctx, job);
  }

  void Skip(const Task& task) {
    {
      std::lock_guard<std::mutex> lock(FMutex);
      task.job->failed = true;
      if (--task.job->unrendered > 0 || task.job->writing) return;
    }
    Complete(nullptr, *task.job);
  }

  fz_pixmap* RenderBand(fz_context* ctx, Job& job, int band) {
    const int top = job.box.y0 + band * job.bandRows;
    const fz_irect box{job.box.x0, top, job.box.x1, std::min(top + job.bandRows, job.box.y1)};
    fz_pixmap* volatile pixmap = nullptr;
    fz_device* volatile device = nullptr;
    fz_try(ctx) {
      pixmap = fz_new_pixmap_with_bbox(
          ctx, job.channels == 1 ? fz_device_gray(ctx) : fz_device_rgb(ctx), box, nullptr, 0);
      fz_clear_pixmap_with_value(ctx, pixmap, 255);
      device = fz_new_draw_device(ctx, fz_identity, pixmap);
      fz_run_display_list(ctx, job.list, device, job.ctm, fz_rect_from_irect(box), &job.cookie);
      fz_close_device(ctx, device);
      if (job.cookie.abort) fz_throw(ctx, FZ_ERROR_ABORT, "stopped");
    }
    fz_always(ctx) {
      fz_drop_device(ctx, device);
    }
    fz_catch(ctx) {
      fz_drop_pixmap(ctx, pixmap);
      pixmap = nullptr;
    }
    return pixmap;
  }

  // Called by one thread at a time per page, bands in order.
  bool Write(Job& job, const std::string& chunk) {
    if (job.nextWrite == 0) {
      job.tempPath = MakeTemp(FFolder, &job.file);
      if (job.tempPath.empty()) return false;
    }
    return !job.cookie.abort && job.encoder->Append(job.file, job.nextWrite, chunk);
  }

  // The page's last band is in (or it failed): close its file and tell the calling thread.
  void Complete(fz_context* ctx, Job& job) {
    bool ok;
    {
      std::lock_guard<std::mutex> lock(FMutex);
      ok = !job.failed && job.nextWrite == job.bands && job.bands > 0;
      job.ready.clear();
    }
    if (ok) ok = job.encoder->Finish(job.file);
    job.encoder.reset();
    if (job.file) ok = std::fclose(job.file) == 0 && ok;
    job.file = nullptr;
    if (ctx) fz_drop_display_list(ctx, job.list);
    job.list = nullptr;
    {
      std::lock_guard<std::mutex> lock(FMutex);
      job.ok = ok;
      job.done = true;
      --FUnfinished;
    }
    FDone.notify_all();
  }

  // Gives a finished page its real name (when `keep`); false when it has none to give.
  static bool Publish(Job& job, bool keep = true) {
    const bool ok = keep && job.ok && std::rename(job.tempPath.c_str(), job.finalPath.c_str()) == 0;
    if (!ok && !job.tempPath.empty()) unlink(job.tempPath.c_str());
    job.tempPath.clear();
    return ok;
  }

  void Stop(std::vector<std::thread>& workers) {
    {
      std::lock_guard<std::mutex> lock(FMutex);
      FStopping = true;
    }
    FWork.notify_all();
    for (std::thread& worker : workers) worker.join();
  }

  // Loads the page and records its display list on the calling thread, and cuts it into
  // bands. The cut depends on the page alone, never on the number of threads: MuPDF clips
  // edges to the band, which moves their anti-aliasing by a few levels, so the same cut keeps
  // the output the same on every machine.
  std::unique_ptr<Job> MakeJob(fz_context* ctx, const Document& document, int page) {
    auto job = std::make_unique<Job>();
    job->page = page;
    job->finalPath = FFolder + FBase + "-" + Padded(page, FDigits) + FFormat.extension;
    job->ctm = FScale;
    fz_page* volatile loaded = nullptr;
    fz_try(ctx) {
      loaded = fz_load_page(ctx, &document.pdf->super, page - 1);
      job->box = fz_round_rect(fz_transform_rect(fz_bound_page(ctx, loaded), FScale));
      job->list = fz_new_display_list_from_page(ctx, loaded);
    }
    fz_always(ctx) {
      fz_drop_page(ctx, loaded);
    }
    fz_catch(ctx) {
      job->list = nullptr;
    }

    const int width = job->box.x1 - job->box.x0, height = job->box.y1 - job->box.y0;
    if (!job->list || width <= 0 || height <= 0 || width > FFormat.maxDimension ||
        height > FFormat.maxDimension) {
      job->failed = true;  // skipped: no bands, nothing written
      return job;
    }
    const std::size_t budget = bandBytes.load() ? bandBytes.load() : kDefaultBandBytes;
    job->channels = FChannels;
    if (FFormat.pageIsGray && FFormat.pageIsGray(ctx, job->list)) job->channels = 1;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * job->channels;
    int rows = static_cast<int>(std::clamp<std::size_t>(budget / rowBytes, 1, height));
    rows = std::min(rows, kMaxBandRows);  // a page of one band would keep the other cores idle
    rows = std::max(FFormat.bandAlign, rows / FFormat.bandAlign * FFormat.bandAlign);
    job->bandRows = std::min(rows, height);
    job->bands = (height + job->bandRows - 1) / job->bandRows;
    job->unrendered = job->bands;
    job->encoder = FFormat.makeEncoder(
        PageShape{width, height, job->channels, FXdpi, FYdpi, job->bandRows}, FFormat.options);
    return job;
  }

  const ImageFormat& FFormat;
  const std::string FFolder;
  const int FXdpi, FYdpi, FThreads, FChannels;
  int FDigits = 1;
  std::string FBase;
  fz_matrix FScale{};
  std::mutex FMutex;
  std::condition_variable FWork, FDone;
  std::deque<Task> FQueue;  // bands waiting for a render thread, in page order
  int FUnfinished = 0;      // pages recorded and not yet done
  bool FHold = false;       // no band starts while set
  bool FStopping = false;
};

}  // namespace

void SetRenderThreads(int threads) {
  renderThreads = std::max(0, threads);
}
void SetBandBytes(std::size_t bytes) {
  bandBytes = bytes;
}

int RenderPages(int handle, const char* folder, const char* base, int xdpi, int ydpi, int first,
                int last, ProgressCallback callback, const ImageFormat& format) {
  try {
    const std::shared_ptr<Document> document = FindDocument(handle);
    if (!document || !folder || !*folder || !base || !*base || xdpi <= 0 || ydpi <= 0) return -1;
    if (document->needsPassword) return -2;
    first = std::max(first, 1);
    last = std::min(last, document->pageCount);
    if (first > last) return 0;
    std::string dir = folder;
    if (dir.back() != '/') dir += '/';
    if (!FolderWritable(dir)) return -1;

    fz_context* ctx = NewContext();
    if (!ctx) return -1;
    int result = -1;
    {
      Pipeline pipeline(format, dir, xdpi, ydpi, ThreadCount());
      result = pipeline.Run(ctx, *document, base, first, last, callback);
    }
    fz_drop_context(ctx);
    return result;
  } catch (...) {
    return -1;
  }
}

}  // namespace rastmond
