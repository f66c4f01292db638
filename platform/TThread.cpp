#include "TThread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

struct TThread::Pending {
  std::function<void()> call;
  bool done = false;
  std::exception_ptr error;
};

TThread::TThread() : FGuiAnchor(std::make_unique<QObject>()) {}

TThread::~TThread() {
  if (FStarted) {
    WaitFor();
    FThread.join();
  }
}

void TThread::Start() {
  if (FStarted) return;
  FStarted = true;
  FThread = std::thread([this] {
    try {
      Execute();
    } catch (...) {
      // A worker reports its own failures; nothing may escape the thread.
    }
    {
      std::lock_guard<std::mutex> lock(FMutex);
      FFinished = true;
    }
    FChanged.notify_all();
  });
}

void TThread::WaitFor() {
  if (!FStarted) return;
  std::unique_lock<std::mutex> lock(FMutex);
  while (!FFinished) {
    if (!FQueue.empty()) {
      lock.unlock();
      RunPending();
      lock.lock();
      continue;
    }
    FChanged.wait(lock, [&] { return FFinished || !FQueue.empty(); });
  }
  lock.unlock();
  RunPending();  // nothing may stay queued
}

void TThread::Synchronize(const std::function<void()>& call) {
  if (QThread::currentThread() == FGuiAnchor->thread()) {
    call();
    return;
  }
  auto pending = std::make_shared<Pending>();
  pending->call = call;
  {
    std::lock_guard<std::mutex> lock(FMutex);
    FQueue.push_back(pending);
  }
  FChanged.notify_all();
  QMetaObject::invokeMethod(
      FGuiAnchor.get(), [this] { RunPending(); }, Qt::QueuedConnection);
  std::unique_lock<std::mutex> lock(FMutex);
  FChanged.wait(lock, [&] { return pending->done; });
  if (pending->error) std::rethrow_exception(pending->error);
}

void TThread::RunPending() {
  for (;;) {
    std::shared_ptr<Pending> next;
    {
      std::lock_guard<std::mutex> lock(FMutex);
      if (FQueue.empty()) return;
      next = FQueue.front();
      FQueue.pop_front();
    }
    try {
      next->call();
    } catch (...) {
      next->error = std::current_exception();
    }
    {
      std::lock_guard<std::mutex> lock(FMutex);
      next->done = true;
    }
    FChanged.notify_all();
  }
}
