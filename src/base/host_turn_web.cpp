#include <emscripten.h>

#include "base/host_turn.h"

namespace {

constexpr double kMostMillisecondsBetweenTurns = 50.0;

double lastTurn = 0.0;

// The body is JavaScript, which clang-format would break.
// clang-format off
EM_ASYNC_JS(void, awaitAnimationFrame, (), {
  await new Promise(resolve => requestAnimationFrame(resolve));
});
// clang-format on

}  // namespace

void giveHostATurn() {
  // Built without ASYNCIFY (the benchmarks' measure of what it costs), the game cannot wait.
  if (!emscripten_has_asyncify()) return;
  if (emscripten_get_now() - lastTurn < kMostMillisecondsBetweenTurns) return;
  awaitAnimationFrame();
  lastTurn = emscripten_get_now();
}
