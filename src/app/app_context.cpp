#include "app/app_context.h"

const Uint8* keyState = nullptr;
