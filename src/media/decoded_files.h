#pragma once

// The files of one table of the asset list, decoded on worker threads while the main thread
// takes each one in list order, as soon as it is ready, to make the game object of it. The
// largest files are decoded first, so that the last to finish is a small one; and the taking
// thread, rather than wait for a file, may decode the next one itself.
// `Asset` (Bitmap or Sound) provides `Asset::Decoded`; the decoder given must be thread-safe
// when there are workers.

#include <SDL.h>

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

template <typename Asset>
class DecodedFiles {
 public:
  using Decoded = typename Asset::Decoded;
  using Decode = Decoded (*)(const std::string& path);

  // Starts `workers` threads decoding `paths` with `decode`. With none (or when no thread can be
  // made), each file is decoded when it is taken, on the taking thread: one file after another.
  // They are SDL's threads because SDL frees a thread's error text only when one of its own threads
  // ends.
  DecodedFiles(std::vector<std::string> paths, Decode decode, unsigned workers)
      : paths_(std::move(paths)),
        decode_(decode),
        order_(largestFirst(paths_)),
        decoded_(paths_.size()),
        finished_(paths_.size(), false) {
    for (unsigned i = 0; i < workers; ++i) {
      SDL_Thread* worker = SDL_CreateThread(runWorker, "asset decoder", this);
      if (worker != nullptr) workers_.push_back(worker);
    }
  }
  // Files not begun are left alone; decoded ones that were never taken are freed.
  ~DecodedFiles() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      next_ = order_.size();
    }
    for (SDL_Thread* worker : workers_) SDL_WaitThread(worker, nullptr);
  }
  DecodedFiles(const DecodedFiles&) = delete;
  DecodedFiles& operator=(const DecodedFiles&) = delete;

  size_t size() const { return paths_.size(); }
  const std::string& path(size_t index) const { return paths_[index]; }

  // The decoded file at `index`, once it is finished. Each is taken once.
  Decoded take(size_t index) {
    if (workers_.empty()) return decode_(paths_[index]);
    std::unique_lock<std::mutex> lock(mutex_);
    while (!finished_[index] && next_ < order_.size()) {
      lock.unlock();
      decodeOne(claimNext());
      lock.lock();
    }
    finishedOne_.wait(lock, [&] { return finished_[index]; });
    return std::move(decoded_[index]);
  }

 private:
  static int runWorker(void* files) {
    static_cast<DecodedFiles*>(files)->work();
    return 0;
  }

  static std::vector<size_t> largestFirst(const std::vector<std::string>& paths) {
    std::vector<std::uintmax_t> sizes;
    for (const std::string& path : paths) {
      std::error_code unreadable;  // a file that is not there is decoded (and reported) soon
      const std::uintmax_t size =
          std::filesystem::file_size(std::filesystem::u8path(path), unreadable);
      sizes.push_back(unreadable ? 0 : size);
    }
    std::vector<size_t> order(paths.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return sizes[a] > sizes[b]; });
    return order;
  }

  void work() {
    for (size_t index = claimNext(); index < paths_.size(); index = claimNext()) {
      decodeOne(index);
    }
  }

  void decodeOne(size_t index) {
    if (index >= paths_.size()) return;
    Decoded decoded = decode_(paths_[index]);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      decoded_[index] = std::move(decoded);
      finished_[index] = true;
    }
    finishedOne_.notify_all();
  }

  // The next file to decode, or size() when every file is claimed.
  size_t claimNext() {
    std::lock_guard<std::mutex> lock(mutex_);
    return next_ < order_.size() ? order_[next_++] : paths_.size();
  }

  const std::vector<std::string> paths_;
  const Decode decode_;
  const std::vector<size_t> order_;  // the order in which files are claimed
  std::mutex mutex_;
  std::condition_variable finishedOne_;
  size_t next_ = 0;               // how many files of order_ are claimed
  std::vector<Decoded> decoded_;  // each written by its decoder, then moved out by take()
  std::vector<bool> finished_;
  std::vector<SDL_Thread*> workers_;  // last: they start once everything above is made
};
