#include "app/app_context.h"

#include "base/never_destroyed.h"
#include "graphics/bitmap.h"

bool screenFrozen = false;
std::unique_ptr<Bitmap>& capturedScreen = neverDestroyed<std::unique_ptr<Bitmap>>();
const Uint8* keyState = nullptr;
