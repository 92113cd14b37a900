#pragma once

// Collects what is written to standard error (the game's reasons for what it cannot do) for as
// long as it lives, instead of letting it reach the terminal; standard error comes back when it
// goes.

#include <cstdio>
#include <string>

class StderrCapture {
 public:
  StderrCapture();
  ~StderrCapture();
  StderrCapture(const StderrCapture&) = delete;
  StderrCapture& operator=(const StderrCapture&) = delete;

  // Everything written to standard error since the capture began.
  std::string text() const;

 private:
  std::FILE* file_;  // where standard error goes meanwhile; null when none could be made
  int saved_;        // the standard error from before
};
