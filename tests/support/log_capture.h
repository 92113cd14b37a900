#pragma once

// Collects the game's log for as long as it lives, instead of letting it reach standard output;
// the sink that was installed before comes back when it goes.

#include <string>

#include "base/log.h"

class LogCapture {
 public:
  LogCapture();
  ~LogCapture();
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  // Every line logged since the capture began.
  const std::string& text() const { return text_; }

 private:
  std::string text_;
  LogSink previous_;
};
