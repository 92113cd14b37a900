#pragma once

// State that the whole process shares and that no way out of the process may destroy. exit()
// runs the destructors of statics, and it can come while the main loop still holds them: from
// the game itself when the window is closed, from a library that gives up (Xlib when the display
// is lost), or from another thread. A destructor run then frees what the main loop goes on using,
// or frees it a second time. What is made here stays until the process is gone.

#include <utility>

template <typename T, typename... Args>
T& neverDestroyed(Args&&... args) {
  return *new T(std::forward<Args>(args)...);
}
