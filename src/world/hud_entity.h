#pragma once

// The overlay on top of the playing field: the round health gauge in its frame in the top-left
// corner, the plate naming the weapon in hand, and the boss's health bar along the bottom while
// the boss lives. An entity without a body: the world updates it every frame and hands it the
// player's and the boss's reports.

#include <cstdint>
#include <limits>
#include <memory>

#include "actors/entity.h"
#include "actors/player_entity.h"
#include "graphics/sprite.h"

class Bitmap;

class HudEntity : public Entity {
 public:
  static constexpr double HUD_MAX_HEALTH = PlayerEntity::kFullHealth;
  static constexpr int BOSS_BAR_WIDTH = 676;  // pixels inside the bar's outline

  explicit HudEntity(Arena* world);
  ~HudEntity() override;

  // Redraws the boss bar layer.
  void update() override;
  using Entity::onEvent;
  // Shows the player's health on the gauge.
  virtual void onEvent(const HealthReport& report);
  // Shows the plate of the weapon taken up (none for bare hands).
  virtual void onEvent(const WeaponReport& report);
  // Shows the boss's bar while it lives.
  virtual void onEvent(const BossStatus& status);

  // Shows `health` on the gauge. The gauge picture itself is redrawn once, just before it is
  // next drawn, however often the health changes in between.
  void setHealth(double health);
  // Brings the gauge picture up to date with the last health given.
  void redrawGauge();

  bool barShown;
  double barFraction;
  std::unique_ptr<TarnwickApp::Sprite> frameSprite;
  std::unique_ptr<TarnwickApp::Sprite> gaugeSprite;
  std::unique_ptr<TarnwickApp::Sprite> weaponSprite;
  std::unique_ptr<TarnwickApp::Sprite> overlaySprite;
  std::unique_ptr<Bitmap> gaugeBitmap;
  std::unique_ptr<Bitmap> overlayBitmap;

 private:
  // What the overlay's picture shows: the red part of the bar in pixels, kNoBar when blank,
  // kNotDrawn before it is first drawn.
  static constexpr int kNoBar = std::numeric_limits<int>::min();
  static constexpr int kNotDrawn = kNoBar + 1;
  int drawnBar_ = kNotDrawn;

  // The overlay's sprite draws the bar's part of it alone.
  class OverlaySprite : public TarnwickApp::Sprite {
   public:
    void draw() override;
  };

  // The gauge's sprite brings its picture up to date before drawing it.
  class GaugeSprite : public TarnwickApp::Sprite {
   public:
    explicit GaugeSprite(HudEntity* hud) : hud_(hud) {}
    void draw() override;

   private:
    HudEntity* hud_;
  };

  void showWeapon(int32_t index);

  double shownHealth_ = HUD_MAX_HEALTH;
  bool gaugeStale_ = false;
};
