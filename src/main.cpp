#include <SDL.h>

#include <cstdio>
#include <string>

#include "app/app_context.h"
#include "app/application.h"
#include "app/asset_directory.h"
#include "base/platform.h"

namespace {

// Where the assets were looked for, when they were not found: told once the game is over.
std::string assetsNotFound;

void reportExit(int result) {
  if (!assetsNotFound.empty()) std::fputs(assetsNotFound.c_str(), stderr);
  logPrint("Tarnwick exiting code %d\n", result);
}

}  // namespace

int main(int, char**) {
  // The log is read as it grows (and must survive a crash): one line at a time. With nowhere to
  // write it (a windowed program started without a console), it is dropped.
  if (!platform::writeStandardOutputByLine()) setLogSink([](std::string_view) {});
  logPrint("Tarnwick starting...\n");
  // Found from anywhere, the assets are still read as assets/..., so the log is the same.
  const AssetDirectory assets = AssetDirectory::ofThisProgram();
  if (!assets.enter()) assetsNotFound = assets.whereLooked();
  // In the browser the game goes on in the page after main has returned, and reports its end
  // from there.
  return runApplication(reportExit);
}

#ifdef TARNWICK_SANITIZE
// Sanitized builds check the game's own memory in the tests. The window system's libraries
// leave allocations behind at exit that are not the game's, so the game itself does not count
// leaks; every other sanitizer report still ends it.
extern "C" const char* __asan_default_options() {
  return "detect_leaks=0";
}
#endif
