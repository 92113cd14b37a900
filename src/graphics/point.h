#pragma once

#include <cstdint>

// A pixel position.
struct Point {
  int32_t x;
  int32_t y;

  Point(int32_t x, int32_t y) : x(x), y(y) {}
  Point operator+(const Point& other) const { return Point(x + other.x, y + other.y); }
};
