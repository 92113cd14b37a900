// The benchmarks' entry point: the game logs to standard output, so the report goes to a copy
// of the original standard output while the game's lines go to /dev/null.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <ext/stdio_filebuf.h>
#include <ostream>

int main(int argc, char** argv) {
  std::fflush(stdout);
  const int report = dup(STDOUT_FILENO);
  const int nowhere = open("/dev/null", O_WRONLY);
  if (report < 0 || nowhere < 0 || dup2(nowhere, STDOUT_FILENO) < 0) return 1;
  close(nowhere);
  __gnu_cxx::stdio_filebuf<char> reportBuffer(report, std::ios::out);
  std::ostream reportStream(&reportBuffer);

  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::ConsoleReporter reporter;
  reporter.SetOutputStream(&reportStream);
  reporter.SetErrorStream(&reportStream);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
