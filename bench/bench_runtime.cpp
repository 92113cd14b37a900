#include "bench_runtime.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "media/asset_registry.h"
#include "support/headless_runtime.h"

void startBenchRuntime() {
  static bool started = false;
  if (started) return;
  started = true;
  if (chdir(TARNWICK_SOURCE_DIR) != 0 || !startHeadlessRuntime()) std::exit(1);
  AssetRegistry::instance()->loadAll();
}

void FrameTimes::stop() {
  const auto elapsed = std::chrono::steady_clock::now() - begun_;
  add(std::chrono::duration<double, std::milli>(elapsed).count());
}

double FrameTimes::medianMs() {
  if (ms_.empty()) return 0.0;
  std::nth_element(ms_.begin(), ms_.begin() + ms_.size() / 2, ms_.end());
  return ms_[ms_.size() / 2];
}
