// The benchmarks' entry point: the game logs to standard output, so its lines go to /dev/null
// while the library's report goes to a copy of the original standard output. The report is the
// library's own, so --benchmark_format, --benchmark_out and the other output flags work as
// they do for any Google Benchmark program.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <ext/stdio_filebuf.h>
#include <iostream>

int main(int argc, char** argv) {
  std::fflush(stdout);
  const int report = dup(STDOUT_FILENO);
  const int nowhere = open("/dev/null", O_WRONLY);
  if (report < 0 || nowhere < 0 || dup2(nowhere, STDOUT_FILENO) < 0) return 1;
  close(nowhere);
  // The library writes its report to std::cout, the game its log through stdio.
  __gnu_cxx::stdio_filebuf<char> reportBuffer(report, std::ios::out);
  std::streambuf* const logBuffer = std::cout.rdbuf(&reportBuffer);

  benchmark::Initialize(&argc, argv);
  const bool argumentsKnown = !benchmark::ReportUnrecognizedArguments(argc, argv);
  if (argumentsKnown) benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::cout.flush();
  std::cout.rdbuf(logBuffer);
  return argumentsKnown ? 0 : 1;
}
