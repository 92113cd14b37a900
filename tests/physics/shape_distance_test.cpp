// ComputeShapeDistance: distance and outward normal from a point to each kind of shape.

#include "physics/shape_distance.h"

#include <box2d/box2d.h>
#include <gtest/gtest.h>

#include <cmath>

namespace {

b2Transform Pose(float x, float y, float angle) {
  b2Transform xf;
  xf.Set(b2Vec2(x, y), angle);
  return xf;
}

void ExpectVec(const b2Vec2& actual, float x, float y) {
  EXPECT_NEAR(actual.x, x, 1e-5f);
  EXPECT_NEAR(actual.y, y, 1e-5f);
}

TEST(ShapeDistanceCircle, MeasuresFromTheRimOutsideAndInside) {
  b2CircleShape circle;
  circle.m_p.Set(1.0f, 0.0f);
  circle.m_radius = 0.5f;
  float distance;
  b2Vec2 normal;
  ComputeShapeDistance(circle, Pose(0.0f, 2.0f, 0.0f), b2Vec2(1.0f, 3.0f), 0, &distance, &normal);
  EXPECT_NEAR(distance, 0.5f, 1e-5f);
  ExpectVec(normal, 0.0f, 1.0f);
  ComputeShapeDistance(circle, Pose(0.0f, 2.0f, 0.0f), b2Vec2(0.8f, 2.0f), 0, &distance, &normal);
  EXPECT_NEAR(distance, -0.3f, 1e-5f);
  ExpectVec(normal, -1.0f, 0.0f);
}

TEST(ShapeDistancePolygon, FaceCornerAndInside) {
  b2PolygonShape box;
  box.SetAsBox(1.0f, 0.5f);
  const b2Transform xf = Pose(10.0f, 0.0f, 0.0f);
  float distance;
  b2Vec2 normal;
  ComputeShapeDistance(box, xf, b2Vec2(10.3f, 0.7f), 0, &distance, &normal);
  EXPECT_NEAR(distance, 0.2f, 1e-5f);
  ExpectVec(normal, 0.0f, 1.0f);
  ComputeShapeDistance(box, xf, b2Vec2(11.3f, 0.9f), 0, &distance, &normal);  // beyond a corner
  EXPECT_NEAR(distance, 0.5f, 1e-5f);
  ExpectVec(normal, 0.6f, 0.8f);
  ComputeShapeDistance(box, xf, b2Vec2(10.9f, 0.0f), 0, &distance, &normal);
  EXPECT_NEAR(distance, -0.1f, 1e-5f);
  ExpectVec(normal, 1.0f, 0.0f);
}

TEST(ShapeDistancePolygon, FollowsTheBodysRotation) {
  b2PolygonShape box;
  box.SetAsBox(1.0f, 0.5f);
  float distance;
  b2Vec2 normal;
  ComputeShapeDistance(box, Pose(0.0f, 0.0f, b2_pi / 2.0f), b2Vec2(-0.75f, 0.0f), 0, &distance,
                       &normal);
  EXPECT_NEAR(distance, 0.25f, 1e-5f);
  ExpectVec(normal, -1.0f, 0.0f);
}

TEST(ShapeDistanceEdge, MeasuresToTheSegmentFromEitherSide) {
  b2EdgeShape edge;
  edge.SetTwoSided(b2Vec2(0.0f, 0.0f), b2Vec2(2.0f, 0.0f));
  float distance;
  b2Vec2 normal;
  ComputeShapeDistance(edge, Pose(0.0f, 0.0f, 0.0f), b2Vec2(1.0f, -0.1f), 0, &distance, &normal);
  EXPECT_NEAR(distance, 0.1f, 1e-5f);
  ExpectVec(normal, 0.0f, -1.0f);
  ComputeShapeDistance(edge, Pose(0.0f, 0.0f, 0.0f), b2Vec2(2.3f, 0.4f), 0, &distance, &normal);
  EXPECT_NEAR(distance, 0.5f, 1e-5f);
  ExpectVec(normal, 0.6f, 0.8f);
}

TEST(ShapeDistanceChain, UsesTheChildLink) {
  b2ChainShape chain;
  const b2Vec2 points[3] = {b2Vec2(0.0f, 0.0f), b2Vec2(1.0f, 0.0f), b2Vec2(1.0f, 1.0f)};
  chain.CreateChain(points, 3, b2Vec2(-1.0f, 0.0f), b2Vec2(1.0f, 2.0f));
  float distance;
  b2Vec2 normal;
  ComputeShapeDistance(chain, Pose(0.0f, 0.0f, 0.0f), b2Vec2(1.2f, 0.5f), 1, &distance, &normal);
  EXPECT_NEAR(distance, 0.2f, 1e-5f);
  ExpectVec(normal, 1.0f, 0.0f);
  ComputeShapeDistance(chain, Pose(0.0f, 0.0f, 0.0f), b2Vec2(1.2f, 0.5f), 0, &distance, &normal);
  EXPECT_NEAR(distance, std::sqrt(0.04f + 0.25f), 1e-5f);
}

}  // namespace
