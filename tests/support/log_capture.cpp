#include "support/log_capture.h"

#include <utility>

LogCapture::LogCapture()
    : previous_(setLogSink([this](std::string_view text) { text_.append(text); })) {}

LogCapture::~LogCapture() {
  setLogSink(std::move(previous_));
}
