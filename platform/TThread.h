// A worker thread with the rules the windows rely on: created suspended and started by its
// dialog; Synchronize runs a call on the GUI thread and blocks the worker until it has run;
// every wait for the worker on the GUI thread (WaitFor, destruction) keeps running the
// worker's queued calls, and nothing else, so a worker whose last step is a Synchronize call
// never deadlocks its dialog.
#pragma once

#include <QObject>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class TThread {
 public:
  TThread();           // suspended
  virtual ~TThread();  // waits for the worker, serving its calls
  TThread(const TThread&) = delete;
  TThread& operator=(const TThread&) = delete;

  void Start();  // once; later calls do nothing
  void Terminate() { FTerminated = true; }
  bool Terminated() const { return FTerminated; }
  bool Finished() const { return FFinished; }
  // On the GUI thread: waits until Execute has returned, running the worker's queued calls.
  void WaitFor();

  // On the worker: runs `call` on the GUI thread and waits until it has run. Exceptions of
  // the call are passed on to the worker.
  void Synchronize(const std::function<void()>& call);

 protected:
  virtual void Execute() = 0;

 private:
  struct Pending;
  // Runs the queued calls; on the GUI thread.
  void RunPending();

  std::thread FThread;
  std::atomic<bool> FTerminated{false};
  std::atomic<bool> FFinished{false};
  bool FStarted = false;
  std::mutex FMutex;
  std::condition_variable FChanged;  // a call queued or run, or the worker finished
  std::deque<std::shared_ptr<Pending>> FQueue;
  std::unique_ptr<QObject> FGuiAnchor;  // lives on the GUI thread; queued calls are posted to it
};
