#include "base/host_turn.h"

void giveHostATurn() {}
