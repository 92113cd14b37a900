#include "physics/worker_thread.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// About sixty microseconds of polling: longer than most gaps between a step's jobs; a worker
// spinning for longer took a core from the owner whenever other programs kept the machine busy.
constexpr int kSpinsBeforeSleep = 6000;
constexpr int kSpinsBeforeYield = 2000;

// Tells the core that this is a busy wait, so that it yields resources to its sibling thread.
void Relax() {
#if defined(__SSE2__)
  _mm_pause();
#endif
}

}  // namespace

WorkerThread::WorkerThread() : thread_([this] { Loop(); }) {}

WorkerThread::~WorkerThread() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

void WorkerThread::Run(std::function<void()> job) {
  job_ = std::move(job);
  {
    // Under the lock, so that a worker going to sleep cannot miss the job.
    std::lock_guard<std::mutex> lock(mutex_);
    posted_.fetch_add(1, std::memory_order_release);
  }
  wake_.notify_one();
}

// Runs the job here if the worker has not taken it yet (on a busy machine it may not be running
// at all); else polls gently at first, then gives the core away in case the worker needs it.
void WorkerThread::Wait() {
  const uint32_t posted = posted_.load(std::memory_order_relaxed);
  if (Claim(posted)) {
    job_();
    finished_.store(posted, std::memory_order_release);
    return;
  }
  for (int spin = 0; finished_.load(std::memory_order_acquire) != posted; ++spin) {
    if (spin < kSpinsBeforeYield) {
      Relax();
    } else {
      std::this_thread::yield();
    }
  }
}

void WorkerThread::Loop() {
  uint32_t done = 0;
  while (AwaitJob(done)) {
    ++done;
    if (!Claim(done)) continue;  // the owner ran it
    job_();
    finished_.store(done, std::memory_order_release);
  }
}

// Takes job number `job` for the calling thread; false when the other thread has it.
bool WorkerThread::Claim(uint32_t job) {
  uint32_t previous = job - 1;
  return claimed_.compare_exchange_strong(previous, job, std::memory_order_acq_rel);
}

// Waits until a job beyond the `done` first is posted (true) or the thread is to stop (false).
bool WorkerThread::AwaitJob(uint32_t done) {
  for (int spin = 0; spin < kSpinsBeforeSleep; ++spin) {
    if (posted_.load(std::memory_order_acquire) != done) return true;
    Relax();
  }
  std::unique_lock<std::mutex> lock(mutex_);
  wake_.wait(lock, [&] { return stopping_ || posted_.load(std::memory_order_acquire) != done; });
  return posted_.load(std::memory_order_acquire) != done;
}
