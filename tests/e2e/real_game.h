#pragma once

// Drives the built game binary as a player would: on its own virtual X display, with keys and
// mouse buttons held through xdotool, screenshots taken with xwd, and the window closed as a
// window manager closes it. Reads the game's log and exit status.

#include <sys/types.h>

#include <functional>
#include <string>

// The virtual display a game runs on.
struct VirtualScreen {
  std::string size = "1024x768x24";  // Xvfb's WIDTHxHEIGHTxDEPTH
  // Full screen is granted by a window manager, which bare Xvfb lacks.
  bool windowManager = false;
};

class RealGame {
 public:
  // Starts a virtual display and `program` on it, from `workingDirectory` (the built game finds
  // assets/ there; an installed launcher finds them by itself).
  explicit RealGame(const std::string& workingDirectory = TARNWICK_SOURCE_DIR,
                    const std::string& program = TARNWICK_BINARY,
                    const VirtualScreen& screen = VirtualScreen());
  ~RealGame();
  RealGame(const RealGame&) = delete;
  RealGame& operator=(const RealGame&) = delete;

  // The game window's X id, waiting for it to appear; empty when it never does. The pointer is
  // then moved over the window, so that keys and clicks reach it.
  std::string windowId();
  // Holds a key (an xdotool key name such as "Escape", "space", "d") for `seconds`.
  void holdKey(const std::string& key, double seconds = 0.2);
  void pressKeyDown(const std::string& key);
  void releaseKey(const std::string& key);
  // Holds mouse button 1 (left) or 3 (right) for `seconds`.
  void holdButton(int button, double seconds = 0.2);
  void pressButtonDown(int button);
  void releaseButton(int button);
  // Sends WM_DELETE_WINDOW to the game window.
  void closeWindow();
  // Ends the virtual display under the running game, as the X server of a desktop session that
  // ends (or a remote display that drops) goes away.
  void endDisplay();
  // Sends `signal` (SIGTERM, SIGHUP, ...) to the game.
  void sendSignal(int signal);
  // Asks for the game window to be resized, as a player dragging its corner does.
  void resizeWindow(int width, int height);
  // What xprop shows of the game window's property `name` (such as _NET_WM_ICON).
  std::string windowProperty(const std::string& name);
  // Saves a PNG of the game window.
  bool screenshot(const std::string& pngPath);

  // Waits up to `seconds` for the game to end; its exit status, or -1000 if it did not end
  // (it is then killed).
  int waitForExit(double seconds);
  // Everything the game has written to standard output so far.
  std::string log() const;
  // Everything it has written to standard error so far. It is passed on to the test's own
  // standard error when the game is done with.
  std::string errors() const;
  bool logContains(const std::string& line) const;
  // Waits up to `seconds` until the log holds `line`.
  bool waitForLog(const std::string& line, double seconds);
  // Waits up to `seconds` until the log holds `line` after the last `earlier` line.
  bool waitForLogAfter(const std::string& earlier, const std::string& line, double seconds);

 private:
  int runTool(const std::string& command) const;
  // Runs the command made for the game's window; when it fails, once more for the window found
  // anew. Returns the command's status.
  int runOnWindow(const std::function<std::string(const std::string& window)>& command);
  // Whether the game has ended, keeping its exit status once it has.
  bool gameEnded();
  // Tells on standard error why no window was found, with what the game wrote.
  void reportMissingWindow();
  // Starts openbox on the display and waits until it manages windows.
  void startWindowManager();
  // The standard output of `command` run on the display.
  std::string toolOutput(const std::string& command) const;

  pid_t xvfb_ = -1;  // set while display_ is made, so declared before it
  std::string display_;
  pid_t windowManager_ = -1;
  std::string logPath_;
  std::string errorsPath_;
  pid_t game_ = -1;
  int exitStatus_ = 0;
  std::string window_;
};
