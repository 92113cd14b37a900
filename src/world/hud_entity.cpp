#include "world/hud_entity.h"

#include <algorithm>

#include "app/app_context.h"
#include "graphics/bitmap.h"
#include "media/asset_registry.h"

namespace {

constexpr int kCornerX = 20;  // the gauge and its frame, pixels from the top-left corner
constexpr int kCornerY = 20;
constexpr int kWeaponPlateX = 265;
constexpr int kWeaponPlateY = 105;
constexpr int kGaugeZ = 99999;
constexpr int kFrameZ = 100000;
constexpr int kOverlayZ = 100001;
constexpr int kGaugeSize = 150;  // pixels
constexpr int kGaugeCentre = 75;
constexpr int kGaugeRadius = 70;
// The gauge's full turn, as the game has always drawn it (not quite 2π).
constexpr double kGaugeTurn = 6.28;

constexpr SDL_Color kBlack{0, 0, 0, 255};
constexpr SDL_Color kGrey{128, 128, 128, 255};
constexpr SDL_Color kRed{255, 0, 0, 255};
constexpr SDL_Color kTransparent{0, 0, 0, 0};
constexpr SDL_Rect kBarOutline{60, 580, 680, 20};
constexpr SDL_Rect kBarInside{62, 582, HudEntity::BOSS_BAR_WIDTH, 16};

Bitmap* gaugeFill() {
  // Looked up once per process; the registry keeps it for the whole run.
  static Bitmap* fill = AssetRegistry::instance()->bitmap("hud_fill");
  return fill;
}

}  // namespace

HudEntity::HudEntity(Arena* world)
    : Entity(world, KIND_OVERLAY), barShown(false), barFraction(1.0) {
  logPrint("Creating overlay...\n");
  overlayBitmap = std::make_unique<Bitmap>(SCREEN_WIDTH, SCREEN_HEIGHT);
  overlaySprite = std::make_unique<OverlaySprite>();
  overlaySprite->setBitmap(overlayBitmap.get(), true);
  overlaySprite->setZ(kOverlayZ);
  // Shown only while the boss's bar is on it: blank, it would still be blended over the whole
  // window every frame.
  overlaySprite->setShown(false);
  logPrint("Creaing hud...\n");
  frameSprite = std::make_unique<TarnwickApp::Sprite>();
  frameSprite->setX(kCornerX);
  frameSprite->setY(kCornerY);
  frameSprite->setZ(kFrameZ);
  frameSprite->setBitmap(AssetRegistry::instance()->bitmap("hud"), true);
  gaugeSprite = std::make_unique<GaugeSprite>(this);
  gaugeSprite->setZ(kGaugeZ);
  gaugeBitmap = std::make_unique<Bitmap>(kGaugeSize, kGaugeSize);
  logPrint("Initializing hp...\n");
  logPrint("Initializing hp...\n");
  setHealth(HUD_MAX_HEALTH);
  gaugeSprite->setX(kCornerX);
  gaugeSprite->setY(kCornerY);
  logPrint("Initializing hp...\n");
  gaugeSprite->setBitmap(gaugeBitmap.get(), true);
  weaponSprite = std::make_unique<TarnwickApp::Sprite>();
  weaponSprite->setX(kWeaponPlateX);
  weaponSprite->setY(kWeaponPlateY);
  weaponSprite->setZ(kOverlayZ);
  logPrint("Hud created!\n");
}

HudEntity::~HudEntity() {
  // The four sprites leave the draw list in this order; then the gauge's picture goes, and the
  // overlay's, the last member, after it.
  frameSprite.reset();
  gaugeSprite.reset();
  weaponSprite.reset();
  overlaySprite.reset();
  gaugeBitmap.reset();
}

void HudEntity::update() {
  // A redraw switches render targets, which waits for the GPU in the browser: the overlay is
  // redrawn only when the bar it shows changes.
  const int shownBar = barShown ? static_cast<int>(barFraction * BOSS_BAR_WIDTH) : kNoBar;
  if (shownBar == drawnBar_) return;
  drawnBar_ = shownBar;
  overlayBitmap->drawAtOnce([this, shownBar] {
    overlayBitmap->clear(kTransparent);
    if (shownBar == kNoBar) return;
    overlayBitmap->drawRect(kBarOutline, kBlack);
    overlayBitmap->fillRect(kBarInside, kGrey);
    SDL_Rect filled = kBarInside;
    filled.w = shownBar;
    overlayBitmap->fillRect(filled, kRed);
  });
}

void HudEntity::OverlaySprite::draw() {
  // Beyond the bar the overlay is clear: blended over the whole window, it would change no pixel
  // there, and cost a pass over the whole window each frame.
  SDL_RenderCopy(getRenderer(), bitmap()->texture(), &kBarOutline, &kBarOutline);
}

void HudEntity::onEvent(const HealthReport& report) {
  setHealth(report.health);
}

void HudEntity::onEvent(const WeaponReport& report) {
  showWeapon(report.weapon);
}

void HudEntity::onEvent(const BossStatus& status) {
  barShown = status.alive;
  barFraction = status.healthFraction;
  overlaySprite->setShown(status.alive);
}

void HudEntity::showWeapon(int32_t index) {
  switch (index) {
    case WEAPON_BARE_HAND:
      weaponSprite->setShown(false);
      break;
    case WEAPON_LIGHT:
      logPrint("Setting name...\n");
      weaponSprite->setBitmap(AssetRegistry::instance()->bitmap("hud_wl"), true);
      break;
    case WEAPON_HEAVY:
      weaponSprite->setBitmap(AssetRegistry::instance()->bitmap("hud_wh"), true);
      break;
    default:
      break;
  }
}

void HudEntity::setHealth(double health) {
  gaugeFill();
  shownHealth_ = health;
  gaugeStale_ = true;
}

void HudEntity::redrawGauge() {
  if (!gaugeStale_) return;
  gaugeStale_ = false;
  gaugeBitmap->drawAtOnce([this] {
    const SDL_Rect whole{0, 0, kGaugeSize, kGaugeSize};
    gaugeBitmap->clear(kTransparent);
    gaugeBitmap->blit(gaugeFill(), &whole, &whole, 255);
    if (!(shownHealth_ < HUD_MAX_HEALTH)) return;
    // The lost part of the disc is blackened; what remains grows counter-clockwise from +x.
    const double from = std::max(0.0, shownHealth_ / HUD_MAX_HEALTH * kGaugeTurn);
    gaugeBitmap->fillSector(kGaugeCentre, kGaugeCentre, kGaugeRadius, kBlack, from, kGaugeTurn);
  });
}

void HudEntity::GaugeSprite::draw() {
  hud_->redrawGauge();
  Sprite::draw();
}
