#include <SDL.h>

#include "app/app_context.h"
#include "app/application.h"

int main(int, char**) {
  logPrint("Tarnwick starting...\n");
  const int result = runApplication();
  logPrint("Tarnwick exiting code %d\n", result);
  return result;
}
