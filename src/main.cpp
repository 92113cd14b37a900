#include <SDL.h>

#include <cstdio>

#include "app/app_context.h"
#include "app/application.h"
#include "app/asset_directory.h"
#include "base/platform.h"

int main(int, char**) {
  // The log is read as it grows (and must survive a crash): one line at a time. With nowhere to
  // write it (a windowed program started without a console), it is dropped.
  if (!platform::writeStandardOutputByLine()) setLogSink([](std::string_view) {});
  logPrint("Tarnwick starting...\n");
  // Found from anywhere, the assets are still read as assets/..., so the log is the same.
  const AssetDirectory assets = AssetDirectory::ofThisProgram();
  const bool assetsFound = assets.enter();
  const int result = runApplication();
  if (!assetsFound) std::fputs(assets.whereLooked().c_str(), stderr);
  logPrint("Tarnwick exiting code %d\n", result);
  return result;
}

#ifdef TARNWICK_SANITIZE
// Sanitized builds check the game's own memory in the tests. The window system's libraries
// leave allocations behind at exit that are not the game's, so the game itself does not count
// leaks; every other sanitizer report still ends it.
extern "C" const char* __asan_default_options() {
  return "detect_leaks=0";
}
#endif
