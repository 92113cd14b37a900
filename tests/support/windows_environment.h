#pragma once

// The tests set SDL's environment variables with POSIX's setenv and unsetenv, which Windows' C
// library lacks; its _putenv_s sets the process's environment, which SDL reads, as well. Given
// to every test source of the Windows build with -include.

#include <stdlib.h>

inline int setenv(const char* name, const char* value, int overwrite) {
  if (overwrite == 0 && getenv(name) != nullptr) return 0;
  return _putenv_s(name, value);
}

// An empty value removes the variable.
inline int unsetenv(const char* name) {
  return _putenv_s(name, "");
}
