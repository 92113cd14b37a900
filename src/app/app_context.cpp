#include "app/app_context.h"

#include "graphics/bitmap.h"

bool screenFrozen = false;
std::unique_ptr<Bitmap> capturedScreen;
const Uint8* keyState = nullptr;
