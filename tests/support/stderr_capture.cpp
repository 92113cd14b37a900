#include "support/stderr_capture.h"

#include <unistd.h>

StderrCapture::StderrCapture() : file_(std::tmpfile()), saved_(dup(STDERR_FILENO)) {
  std::fflush(stderr);
  if (file_ != nullptr) dup2(fileno(file_), STDERR_FILENO);
}

StderrCapture::~StderrCapture() {
  std::fflush(stderr);
  if (saved_ >= 0) {
    dup2(saved_, STDERR_FILENO);
    close(saved_);
  }
  if (file_ != nullptr) std::fclose(file_);
}

// Read from the start to the end, which leaves the offset that standard error shares with the
// file where its next line goes.
std::string StderrCapture::text() const {
  std::fflush(stderr);
  std::string text;
  if (file_ == nullptr || lseek(fileno(file_), 0, SEEK_SET) != 0) return text;
  char buffer[4096];
  while (true) {
    const auto got = read(fileno(file_), buffer, sizeof buffer);
    if (got <= 0) return text;
    text.append(buffer, static_cast<size_t>(got));
  }
}
