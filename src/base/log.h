#pragma once

// The game's running log: plain lines, one logPrint call per line, on standard output unless
// a sink is installed in its place (the tests read the log that way).

#include <functional>
#include <string_view>

// printf-style output to the log; the format carries its own "\n".
int logPrint(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Receives the text of each logPrint call, already formatted.
using LogSink = std::function<void(std::string_view text)>;

// Sends the log to `sink` from now on (an empty sink: back to standard output) and returns the
// sink that was installed before, so that it can be put back.
LogSink setLogSink(LogSink sink);
