#include "physics/shape_distance.h"

#include <box2d/b2_chain_shape.h>
#include <box2d/b2_circle_shape.h>
#include <box2d/b2_edge_shape.h>
#include <box2d/b2_polygon_shape.h>

#include <cfloat>
#include <cmath>

namespace {

// Used when the point sits exactly on the feature and no direction is defined.
const b2Vec2 kFallbackNormal(0.0f, 1.0f);

void CircleDistance(const b2CircleShape& circle, const b2Transform& xf, const b2Vec2& point,
                    float* distance, b2Vec2* normal) {
  const b2Vec2 d = point - b2Mul(xf, circle.m_p);
  const float length = d.Length();
  *distance = length - circle.m_radius;
  *normal = length > 0.0f ? (1.0f / length) * d : kFallbackNormal;
}

// The vector from the nearest point of segment v1-v2 to p.
b2Vec2 FromSegment(const b2Vec2& v1, const b2Vec2& v2, const b2Vec2& p) {
  const b2Vec2 s = v2 - v1;
  const b2Vec2 d = p - v1;
  const float along = b2Dot(d, s);
  if (along <= 0.0f) return d;
  const float squaredLength = b2Dot(s, s);
  if (along >= squaredLength) return p - v2;
  return d - (along / squaredLength) * s;
}

void SegmentDistance(const b2Vec2& v1, const b2Vec2& v2, const b2Vec2& point, float* distance,
                     b2Vec2* normal) {
  const b2Vec2 d = FromSegment(v1, v2, point);
  const float length = d.Length();
  *distance = length;
  *normal = length > 0.0f ? (1.0f / length) * d : kFallbackNormal;
}

void PolygonDistance(const b2PolygonShape& polygon, const b2Transform& xf, const b2Vec2& point,
                     float* distance, b2Vec2* normal) {
  const b2Vec2 local = b2MulT(xf, point);
  const int32_t count = polygon.m_count;
  float maxSeparation = -FLT_MAX;
  int32_t face = 0;
  for (int32_t i = 0; i < count; ++i) {
    const float separation = b2Dot(polygon.m_normals[i], local - polygon.m_vertices[i]);
    if (separation > maxSeparation) {
      maxSeparation = separation;
      face = i;
    }
  }
  if (maxSeparation <= 0.0f) {
    // Inside: the nearest face is the one least deep.
    *distance = maxSeparation;
    *normal = b2Mul(xf.q, polygon.m_normals[face]);
    return;
  }
  // Outside: the nearest point lies on one of the faces the point is in front of.
  float best = FLT_MAX;
  b2Vec2 bestVector = polygon.m_normals[face];
  for (int32_t i = 0; i < count; ++i) {
    if (b2Dot(polygon.m_normals[i], local - polygon.m_vertices[i]) <= 0.0f) continue;
    const b2Vec2& v2 = polygon.m_vertices[i + 1 < count ? i + 1 : 0];
    const b2Vec2 d = FromSegment(polygon.m_vertices[i], v2, local);
    const float squared = b2Dot(d, d);
    if (squared < best) {
      best = squared;
      bestVector = d;
    }
  }
  const float length = std::sqrt(best);
  *distance = length;
  *normal = b2Mul(xf.q, length > 0.0f ? (1.0f / length) * bestVector : polygon.m_normals[face]);
}

}  // namespace

void ComputeShapeDistance(const b2Shape& shape, const b2Transform& xf, const b2Vec2& point,
                          int32_t childIndex, float* distance, b2Vec2* normal) {
  switch (shape.GetType()) {
    case b2Shape::e_circle:
      CircleDistance(static_cast<const b2CircleShape&>(shape), xf, point, distance, normal);
      return;
    case b2Shape::e_polygon:
      PolygonDistance(static_cast<const b2PolygonShape&>(shape), xf, point, distance, normal);
      return;
    case b2Shape::e_edge: {
      const auto& edge = static_cast<const b2EdgeShape&>(shape);
      SegmentDistance(b2Mul(xf, edge.m_vertex1), b2Mul(xf, edge.m_vertex2), point, distance,
                      normal);
      return;
    }
    case b2Shape::e_chain: {
      b2EdgeShape edge;
      static_cast<const b2ChainShape&>(shape).GetChildEdge(&edge, childIndex);
      SegmentDistance(b2Mul(xf, edge.m_vertex1), b2Mul(xf, edge.m_vertex2), point, distance,
                      normal);
      return;
    }
    default:
      *distance = FLT_MAX;
      *normal = kFallbackNormal;
      return;
  }
}
