#pragma once

// What the tests use of POSIX that Windows' C library lacks. Given to every test source of the
// Windows build with -include.

#include <stdlib.h>

// SDL's environment variables: _putenv_s sets the process's environment, which SDL reads, too.
inline int setenv(const char* name, const char* value, int overwrite) {
  if (overwrite == 0 && getenv(name) != nullptr) return 0;
  return _putenv_s(name, value);
}

// An empty value removes the variable.
inline int unsetenv(const char* name) {
  return _putenv_s(name, "");
}

// Names a directory per user in the temporary directory, which Windows keeps per user already.
inline int getuid() {
  return 0;
}
