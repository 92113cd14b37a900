// Loaded into the game with LD_PRELOAD by count_presents.sh: writes the moment each
// SDL_RenderPresent returns, in nanoseconds of the monotonic clock, one a line, to the file
// named by PRESENT_TIMESTAMPS. The game itself is unchanged.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

typedef struct SDL_Renderer SDL_Renderer;

void SDL_RenderPresent(SDL_Renderer* renderer) {
  static void (*realPresent)(SDL_Renderer*) = NULL;
  static FILE* timestamps = NULL;
  if (realPresent == NULL) {
    realPresent = (void (*)(SDL_Renderer*))dlsym(RTLD_NEXT, "SDL_RenderPresent");
    const char* path = getenv("PRESENT_TIMESTAMPS");
    timestamps = fopen(path != NULL ? path : "/dev/null", "w");
  }
  realPresent(renderer);
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  if (timestamps == NULL) return;
  fprintf(timestamps, "%lld\n", (long long)now.tv_sec * 1000000000LL + now.tv_nsec);
  fflush(timestamps);
}
