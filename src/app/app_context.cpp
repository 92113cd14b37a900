#include "app/app_context.h"

Scene* currentScene = nullptr;
bool screenFrozen = false;
Bitmap* capturedScreen = nullptr;
const Uint8* keyState = nullptr;
