#include <QCoreApplication>
#include <QThread>
#include <QTimer>
#include <stdexcept>

#include <gtest/gtest.h>

#include "TThread.h"

namespace {

// A worker made of a function.
class Worker : public TThread {
 public:
  explicit Worker(std::function<void(Worker&)> body) : FBody(std::move(body)) {}
  ~Worker() override { WaitFor(); }  // before the body's captures go

 protected:
  void Execute() override { FBody(*this); }

 private:
  std::function<void(Worker&)> FBody;
};

TEST(TThread, CreatedSuspendedStartedOnce) {
  std::atomic<int> runs{0};
  Worker worker([&](Worker&) { ++runs; });
  QThread::msleep(50);
  EXPECT_EQ(runs, 0);
  worker.Start();
  worker.Start();
  worker.WaitFor();
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(worker.Finished());
}

TEST(TThread, SynchronizeRunsOnTheGuiThreadAndBlocksTheWorker) {
  QThread* gui = QThread::currentThread();
  std::vector<std::string> order;
  Worker worker([&](Worker& w) {
    w.Synchronize([&] {
      EXPECT_EQ(QThread::currentThread(), gui);
      order.push_back("call");
    });
    order.push_back("after");
  });
  worker.Start();
  worker.WaitFor();
  EXPECT_EQ(order, (std::vector<std::string>{"call", "after"}));
}

TEST(TThread, AWaitServesALastSynchronizeInsteadOfDeadlocking) {
  int served = 0;
  {
    Worker worker([&](Worker& w) {
      for (int i = 0; i < 3; ++i) w.Synchronize([&] { ++served; });
    });
    worker.Start();
    worker.WaitFor();  // no event loop runs: the wait itself serves the calls
    EXPECT_EQ(served, 3);
  }
  {
    auto* worker = new Worker([&](Worker& w) { w.Synchronize([&] { ++served; }); });
    worker->Start();
    delete worker;  // destruction waits the same way
    EXPECT_EQ(served, 4);
  }
}

TEST(TThread, TheEventLoopServesCallsToo) {
  bool served = false;
  Worker worker([&](Worker& w) { w.Synchronize([&] { served = true; }); });
  worker.Start();
  QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (worker.Finished()) QCoreApplication::exit(0);
  });
  poll.start(10);
  EXPECT_EQ(QCoreApplication::exec(), 0);
  EXPECT_TRUE(served);
}

TEST(TThread, TerminateIsAFlagAndErrorsReachTheWorker) {
  bool caught = false;
  Worker worker([&](Worker& w) {
    while (!w.Terminated()) QThread::msleep(1);
    try {
      w.Synchronize([] { throw std::runtime_error("in the call"); });
    } catch (const std::runtime_error&) {
      caught = true;
    }
  });
  worker.Start();
  worker.Terminate();
  worker.WaitFor();
  EXPECT_TRUE(caught);
}

}  // namespace
