#include "e2e/real_game.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

constexpr double kPollSeconds = 0.05;
// Where the pointer rests, in window pixels: buttons act on the window under it.
constexpr const char* kPointerInWindow = "400 300";

void sleepFor(double seconds) {
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

// A display number nobody uses yet: its lock file is absent.
std::string freeDisplay() {
  for (int number = 90 + getpid() % 400;; ++number) {
    if (access(("/tmp/.X" + std::to_string(number) + "-lock").c_str(), F_OK) != 0) {
      return ":" + std::to_string(number);
    }
  }
}

pid_t spawn(const char* const argv[], const std::string& directory, const std::string& output,
            const std::string& display) {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  setenv("DISPLAY", display.c_str(), 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  unsetenv("SDL_VIDEODRIVER");
  unsetenv("SDL_RENDER_DRIVER");
  if (chdir(directory.c_str()) != 0) _exit(126);
  if (!output.empty() && freopen(output.c_str(), "w", stdout) == nullptr) _exit(126);
  execv(argv[0], const_cast<char* const*>(argv));
  _exit(127);
}

}  // namespace

RealGame::RealGame(const std::string& workingDirectory, const std::string& program)
    : display_(freeDisplay()),
      logPath_("/tmp/tarnwick-e2e-" + std::to_string(getpid()) + display_.substr(1) + ".log") {
  const char* xvfb[] = {"/usr/bin/Xvfb", display_.c_str(), "-screen", "0",
                        "1024x768x24",   "-nolisten",      "tcp",     nullptr};
  xvfb_ = spawn(xvfb, "/", "/dev/null", display_);
  for (int i = 0; i < 100 && runTool("xdpyinfo >/dev/null 2>&1") != 0; ++i) sleepFor(kPollSeconds);
  const char* game[] = {program.c_str(), nullptr};
  game_ = spawn(game, workingDirectory, logPath_, display_);
}

RealGame::~RealGame() {
  if (game_ > 0) {
    kill(game_, SIGKILL);
    waitpid(game_, nullptr, 0);
  }
  kill(xvfb_, SIGTERM);
  waitpid(xvfb_, nullptr, 0);
  std::remove(logPath_.c_str());
}

int RealGame::runTool(const std::string& command) const {
  return std::system(("DISPLAY=" + display_ + " " + command).c_str());
}

std::string RealGame::windowId() {
  if (!window_.empty()) return window_;
  const std::string idFile = logPath_ + ".window";
  for (int i = 0; i < 200 && window_.empty(); ++i) {
    runTool("xdotool search --name '^Game$' > " + idFile + " 2>/dev/null");
    std::ifstream(idFile) >> window_;
    if (window_.empty()) sleepFor(kPollSeconds);
  }
  std::remove(idFile.c_str());
  if (!window_.empty()) runTool("xdotool mousemove --window " + window_ + " " + kPointerInWindow);
  return window_;
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
  runTool(std::string(TARNWICK_CLOSE_WINDOW) + " " + windowId());
}

bool RealGame::screenshot(const std::string& pngPath) {
  return runTool("xwd -id " + windowId() + " -silent | convert xwd:- " + pngPath) == 0;
}

int RealGame::waitForExit(double seconds) {
  for (double waited = 0; waited < seconds; waited += kPollSeconds) {
    int status = 0;
    if (waitpid(game_, &status, WNOHANG) == game_) {
      game_ = -1;
      return WIFEXITED(status) ? static_cast<signed char>(WEXITSTATUS(status)) : -WTERMSIG(status);
    }
    sleepFor(kPollSeconds);
  }
  return -1000;
}

std::string RealGame::log() const {
  std::ifstream in(logPath_);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool RealGame::logContains(const std::string& line) const {
  return log().find(line + "\n") != std::string::npos;
}

bool RealGame::waitForLog(const std::string& line, double seconds) {
  for (double waited = 0; waited < seconds; waited += kPollSeconds) {
    if (logContains(line)) return true;
    sleepFor(kPollSeconds);
  }
  return false;
}
