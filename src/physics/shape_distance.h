#pragma once

#include <box2d/b2_math.h>

#include <cstdint>

class b2Shape;

// Distance from a point to one child of a shape placed at xf, and the unit normal pointing from
// the shape towards the point. Circles and polygons give a negative distance inside; edges and
// chain links are lines, with the distance to the nearest point of the segment. Box2D 2.4 has no
// such query for a point, so the liquid brings its own.
void ComputeShapeDistance(const b2Shape& shape, const b2Transform& xf, const b2Vec2& point,
                          int32_t childIndex, float* distance, b2Vec2* normal);
