#pragma once

// The files of one table of the asset list, decoded on worker threads in list order while the
// main thread takes each one in turn, as soon as it is ready, to make the game object of it.
// `Asset` (Bitmap or Sound) provides `Asset::Decoded` and a thread-safe `Asset::decode(path)`.

#include <SDL.h>

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

template <typename Asset>
class DecodedFiles {
 public:
  using Decoded = typename Asset::Decoded;

  // Starts `workers` threads on `paths`. With none (or when no thread can be made), each file
  // is decoded when it is taken, on the taking thread: one file after another. They are SDL's
  // threads because SDL frees a thread's error text only when one of its own threads ends.
  DecodedFiles(std::vector<std::string> paths, unsigned workers)
      : paths_(std::move(paths)), decoded_(paths_.size()), finished_(paths_.size(), false) {
    for (unsigned i = 0; i < workers; ++i) {
      SDL_Thread* worker = SDL_CreateThread(runWorker, "asset decoder", this);
      if (worker != nullptr) workers_.push_back(worker);
    }
  }
  // Files not begun are left alone; decoded ones that were never taken are freed.
  ~DecodedFiles() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      next_ = paths_.size();
    }
    for (SDL_Thread* worker : workers_) SDL_WaitThread(worker, nullptr);
  }
  DecodedFiles(const DecodedFiles&) = delete;
  DecodedFiles& operator=(const DecodedFiles&) = delete;

  size_t size() const { return paths_.size(); }
  const std::string& path(size_t index) const { return paths_[index]; }

  // The decoded file at `index`, waiting until a worker has finished it. Each is taken once.
  Decoded take(size_t index) {
    if (workers_.empty()) return Asset::decode(paths_[index]);
    std::unique_lock<std::mutex> lock(mutex_);
    finishedOne_.wait(lock, [&] { return finished_[index]; });
    return std::move(decoded_[index]);
  }

 private:
  static int runWorker(void* files) {
    static_cast<DecodedFiles*>(files)->work();
    return 0;
  }

  void work() {
    for (size_t index = claimNext(); index < paths_.size(); index = claimNext()) {
      Decoded decoded = Asset::decode(paths_[index]);
      {
        std::lock_guard<std::mutex> lock(mutex_);
        decoded_[index] = std::move(decoded);
        finished_[index] = true;
      }
      finishedOne_.notify_all();
    }
  }

  size_t claimNext() {
    std::lock_guard<std::mutex> lock(mutex_);
    return next_ < paths_.size() ? next_++ : paths_.size();
  }

  const std::vector<std::string> paths_;
  std::mutex mutex_;
  std::condition_variable finishedOne_;
  size_t next_ = 0;               // the first file no worker has claimed
  std::vector<Decoded> decoded_;  // each written by its worker, then moved out by take()
  std::vector<bool> finished_;
  std::vector<SDL_Thread*> workers_;  // last: they start once everything above is made
};
