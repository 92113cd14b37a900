#include "e2e/real_game.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <thread>

namespace {

constexpr double kPollSeconds = 0.05;
// How long a loaded machine may take to start the virtual display, and then the game's window.
constexpr int kDisplayStartMilliseconds = 30000;
constexpr double kWindowSeconds = 30.0;
// The root window's property that the window manager sets once it manages windows.
constexpr const char* kWindowManagerReady = "TARNWICK_WINDOW_MANAGER_READY";
// Where the pointer rests, in window pixels: buttons act on the window under it.
constexpr const char* kPointerInWindow = "400 300";
// Numbers the logs of the games one test process starts.
int gamesStarted = 0;

void sleepFor(double seconds) {
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

pid_t spawn(const char* const argv[], const std::string& directory, const std::string& output,
            const std::string& display, const std::string& errors = "") {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  setenv("DISPLAY", display.c_str(), 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  // Only X: without it SDL would fall back to another driver and run with no window to find.
  setenv("SDL_VIDEODRIVER", "x11", 1);
  unsetenv("SDL_RENDER_DRIVER");
  // The C library reports a corrupted heap on standard error, not on a terminal there may be.
  setenv("LIBC_FATAL_STDERR_", "1", 1);
  if (chdir(directory.c_str()) != 0) _exit(126);
  if (!output.empty() && freopen(output.c_str(), "w", stdout) == nullptr) _exit(126);
  if (!errors.empty() && freopen(errors.c_str(), "w", stderr) == nullptr) _exit(126);
  execv(argv[0], const_cast<char* const*>(argv));
  _exit(127);
}

// Reads up to a newline from `fd`, giving up after `milliseconds`; empty on end of file.
std::string readLine(int fd, int milliseconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  std::string line;
  char c = 0;
  while (true) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd ready{fd, POLLIN, 0};
    if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) <= 0) return "";
    if (read(fd, &c, 1) != 1) return "";
    if (c == '\n') return line;
    line += c;
  }
}

std::string contentsOf(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void stop(pid_t pid, int signal) {
  if (pid <= 0) return;
  kill(pid, signal);
  waitpid(pid, nullptr, 0);
}

// Starts Xvfb on a display it picks itself (the first whose socket is free, which keeps tests run
// side by side apart) and waits until it accepts clients, which it tells by writing the display
// number to a pipe. -noreset: by default Xvfb resets whenever its last client leaves, and a
// client connecting meanwhile is refused (about one in two hundred, connecting one after
// another), so that an xdotool query ending just as the game starts could fail the game's start.
std::string startVirtualDisplay(pid_t& xvfb, const std::string& size) {
  int ends[2];
  if (pipe(ends) != 0) return "";
  const std::string writeEnd = std::to_string(ends[1]);
  const char* argv[] = {
      "/usr/bin/Xvfb", "-displayfd", writeEnd.c_str(), "-screen", "0", size.c_str(),
      "-nolisten",     "tcp",        "-noreset",       nullptr};
  xvfb = spawn(argv, "/", "/dev/null", "");
  close(ends[1]);
  const std::string number = readLine(ends[0], kDisplayStartMilliseconds);
  close(ends[0]);
  return number.empty() ? "" : ":" + number;
}

}  // namespace

RealGame::RealGame(const std::string& workingDirectory, const std::string& program,
                   const VirtualScreen& screen)
    : display_(startVirtualDisplay(xvfb_, screen.size)),
      logPath_("/tmp/tarnwick-e2e-" + std::to_string(getpid()) + "-" +
               std::to_string(gamesStarted++) + ".log"),
      errorsPath_(logPath_ + ".errors") {
  if (display_.empty()) std::cerr << "the virtual display did not start\n";
  if (screen.windowManager) startWindowManager();
  const char* game[] = {program.c_str(), nullptr};
  game_ = spawn(game, workingDirectory, logPath_, display_, errorsPath_);
}

RealGame::~RealGame() {
  stop(game_, SIGKILL);
  stop(windowManager_, SIGTERM);
  stop(xvfb_, SIGTERM);
  std::cerr << errors();
  std::remove(logPath_.c_str());
  std::remove(errorsPath_.c_str());
}

void RealGame::startWindowManager() {
  // Openbox claims the screen early, then reads its settings, theme and fonts before it handles
  // any window; a game started meanwhile waits for its window to be mapped, on the game's own
  // time. Openbox runs its start-up command once it manages windows: that marks the root window.
  const std::string marker = std::string("xprop -root -f ") + kWindowManagerReady + " 8s -set " +
                             kWindowManagerReady + " yes";
  const char* argv[] = {"/usr/bin/openbox", "--startup", marker.c_str(), nullptr};
  windowManager_ = spawn(argv, "/", "/dev/null", display_);
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::duration<double>(kWindowSeconds);
  while (toolOutput(std::string("xprop -root ") + kWindowManagerReady).find("\"yes\"") ==
             std::string::npos &&
         std::chrono::steady_clock::now() < deadline)
    sleepFor(kPollSeconds);
}

std::string RealGame::toolOutput(const std::string& command) const {
  const std::string outputFile = logPath_ + ".tool";
  runTool(command + " > " + outputFile + " 2>/dev/null");
  const std::string output = contentsOf(outputFile);
  std::remove(outputFile.c_str());
  return output;
}

int RealGame::runTool(const std::string& command) const {
  return std::system(("DISPLAY=" + display_ + " " + command).c_str());
}

std::string RealGame::windowId() {
  if (!window_.empty()) return window_;
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::duration<double>(kWindowSeconds);
  while (window_.empty() && std::chrono::steady_clock::now() < deadline && !gameEnded()) {
    std::istringstream(toolOutput("xdotool search --onlyvisible --name '^Game$'")) >> window_;
    if (window_.empty()) sleepFor(kPollSeconds);
  }
  if (window_.empty()) {
    reportMissingWindow();
  } else {
    runTool("xdotool mousemove --window " + window_ + " " + kPointerInWindow);
  }
  return window_;
}

void RealGame::reportMissingWindow() {
  std::cerr << "no game window on display '" << display_ << "'; the game "
            << (gameEnded() ? "ended with status " + std::to_string(exitStatus_)
                            : std::string("is still running"))
            << "; its log:\n"
            << log();
}

bool RealGame::gameEnded() {
  if (game_ <= 0) return true;
  int status = 0;
  if (waitpid(game_, &status, WNOHANG) != game_) return false;
  game_ = -1;
  exitStatus_ =
      WIFEXITED(status) ? static_cast<signed char>(WEXITSTATUS(status)) : -WTERMSIG(status);
  return true;
}

void RealGame::pressKeyDown(const std::string& key) {
  windowId();
  runTool("xdotool keydown " + key);
}

void RealGame::releaseKey(const std::string& key) {
  runTool("xdotool keyup " + key);
}

void RealGame::holdKey(const std::string& key, double seconds) {
  pressKeyDown(key);
  sleepFor(seconds);
  releaseKey(key);
}

void RealGame::holdButton(int button, double seconds) {
  pressButtonDown(button);
  sleepFor(seconds);
  releaseButton(button);
}

void RealGame::pressButtonDown(int button) {
  windowId();
  runTool("xdotool mousedown " + std::to_string(button));
}

void RealGame::releaseButton(int button) {
  runTool("xdotool mouseup " + std::to_string(button));
}

void RealGame::closeWindow() {
  runOnWindow(
      [](const std::string& window) { return std::string(TARNWICK_CLOSE_WINDOW) + " " + window; });
}

void RealGame::endDisplay() {
  stop(windowManager_, SIGKILL);
  windowManager_ = -1;
  stop(xvfb_, SIGKILL);
  xvfb_ = -1;
}

void RealGame::sendSignal(int signal) {
  if (game_ > 0) kill(game_, signal);
}

void RealGame::resizeWindow(int width, int height) {
  runOnWindow([width, height](const std::string& window) {
    return "xdotool windowsize " + window + " " + std::to_string(width) + " " +
           std::to_string(height);
  });
}

std::string RealGame::windowProperty(const std::string& name) {
  return toolOutput("xprop -id " + windowId() + " -notype 32c " + name);
}

bool RealGame::screenshot(const std::string& pngPath) {
  return runOnWindow([&pngPath](const std::string& window) {
           return "xwd -id " + window + " -silent | convert xwd:- " + pngPath;
         }) == 0;
}

int RealGame::runOnWindow(const std::function<std::string(const std::string& window)>& command) {
  const int status = runTool(command(windowId()));
  if (status == 0) return 0;
  // SDL may make the window anew for its renderer just after it was first found.
  window_.clear();
  return runTool(command(windowId()));
}

int RealGame::waitForExit(double seconds) {
  for (double waited = 0; waited < seconds; waited += kPollSeconds) {
    if (gameEnded()) return exitStatus_;
    sleepFor(kPollSeconds);
  }
  return -1000;
}

std::string RealGame::log() const {
  return contentsOf(logPath_);
}

std::string RealGame::errors() const {
  return contentsOf(errorsPath_);
}

bool RealGame::logContains(const std::string& line) const {
  return log().find(line + "\n") != std::string::npos;
}

bool RealGame::waitForLog(const std::string& line, double seconds) {
  return waitForLogAfter("", line, seconds);
}

bool RealGame::waitForLogAfter(const std::string& earlier, const std::string& line,
                               double seconds) {
  for (double waited = 0; waited < seconds; waited += kPollSeconds) {
    const std::string text = log();
    const size_t from = earlier.empty() ? 0 : text.rfind(earlier + "\n");
    if (from != std::string::npos && text.find(line + "\n", from) != std::string::npos) {
      return true;
    }
    sleepFor(kPollSeconds);
  }
  return false;
}
