#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

// A second thread for a large liquid's search, contact passes and per-particle work. Run hands it a
// job and returns at once; Wait returns when the job is done, and runs it on the calling thread if
// the worker has not started it yet, so a worker that other programs keep off the cores costs no
// waiting. A liquid step hands over several jobs in quick succession, so the worker spins a little
// while for the next one before it sleeps.
class WorkerThread {
 public:
  WorkerThread();
  ~WorkerThread();
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Starts job on the worker; call Wait before the next Run.
  void Run(std::function<void()> job);
  // Blocks until the job given to the last Run has finished.
  void Wait();
  // Runs work(first, last) over 0 .. count-1: all on this thread without a worker, else the
  // upper half on the worker and the lower half here. Each half must stand alone.
  template <typename Work>
  static void SplitInHalves(WorkerThread* worker, size_t count, const Work& work);

 private:
  void Loop();
  bool AwaitJob(uint32_t done);
  bool Claim(uint32_t job);

  std::mutex mutex_;
  std::condition_variable wake_;
  std::function<void()> job_;
  std::atomic<uint32_t> posted_{0};    // jobs handed over
  std::atomic<uint32_t> claimed_{0};   // jobs taken by either thread
  std::atomic<uint32_t> finished_{0};  // jobs done
  bool stopping_ = false;              // guarded by mutex_
  std::thread thread_;
};

template <typename Work>
void WorkerThread::SplitInHalves(WorkerThread* worker, size_t count, const Work& work) {
  if (worker == nullptr) {
    work(size_t{0}, count);
    return;
  }
  const size_t middle = count / 2;
  worker->Run([&] { work(middle, count); });
  work(size_t{0}, middle);
  worker->Wait();
}
