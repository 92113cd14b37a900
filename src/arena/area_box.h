#pragma once

// The box of the world between four edges, in metres: what a strike hits, what the hero
// drinks from and what the view shows are all such boxes.

#include <box2d/box2d.h>

inline b2AABB areaBox(float left, float bottom, float right, float top) {
  b2AABB box;
  box.lowerBound.Set(left, bottom);
  box.upperBound.Set(right, top);
  return box;
}
