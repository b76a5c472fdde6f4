#pragma once
#include <cstdint>

#include "resources/bundle_sprite.h"
#include "resources/texture.h"
#include "resources/texture_bundle.h"

// Every image of the game that is loaded once at start-up: 48 texture slots,
// the two menu bundles and 67 sprite slots naming pictures in them. The
// loader (loader.h) fills the catalogue on its own thread; the main thread
// reads it only after the loader has finished, and releases it at shutdown.
// All paths are relative to the asset directory.

constexpr int32_t kTextureSlotCount = 48;
// 45 for the first menus, then 22 for the Controls screen.
constexpr int32_t kSpriteSlotCount = 67;
// Sprite slots carry the numbers after the texture slots: 48..114.
constexpr int32_t kFirstSpriteSlot = kTextureSlotCount;

enum class TextureSlot : int32_t {
  Asteroid0,            // "textures/gameplay/asteroid0.tga"
  Asteroid1,
  Asteroid2,
  Background,           // "textures/gameplay/background0.tga"
  FinalAsteroid,
  Ship,                 // fixed-function ship, without GLSL only
  ShipInvulnerable,     // without GLSL only
  Particle,             // without GLSL only
  ShipPiece0,           // "textures/gameplay/shipp0.tga" .. shipp6
  ShipPiece1,
  ShipPiece2,
  ShipPiece3,
  ShipPiece4,
  ShipPiece5,
  ShipPiece6,
  GlslShip,             // "textures/glsl/..." from here to GlslPowerLongRangeNormal:
  GlslShipNormal,       // with GLSL only; each "...Normal" is the normal map
  GlslShipInvulnerable, // drawn with the picture of the same name
  GlslShipInvulnerableNormal,
  GlslNoise,
  GlslAsteroid0,
  GlslAsteroid1,
  GlslAsteroid2,
  GlslAsteroid0Normal,
  GlslAsteroid1Normal,
  GlslAsteroid2Normal,
  GlslFlame,
  GlslFlameAlpha,
  GlslPowerInvulnerable,
  GlslPowerSpread,
  GlslPowerStarburst,
  GlslPowerLongRange,
  GlslPowerInvulnerableNormal,
  GlslPowerSpreadNormal,
  GlslPowerStarburstNormal,
  GlslPowerLongRangeNormal,
  Bullet,
  PowerInvulnerable,
  PowerLongRange,
  PowerSpread,
  PowerStarburst,
  DisplayBox,
  Start,
  Summary,
  HighScore,
  StoryFrame1,          // "textures/story/frame1.tga"
  StoryFrame2,
  Credits,
};

enum class SpriteSlot : int32_t {
  Header = kFirstSpriteSlot,
  Disclaimer,
  ShipScreen,
  Asteroid2,
  Tux,
  Beastie,
  Pc,
  StartNormal,
  StartActive,
  OptionsNormal,
  OptionsActive,
  ClearHighNormal,
  ClearHighActive,
  ExitNormal,
  ExitActive,
  Resolution,
  Resolution1024Normal,
  Resolution1024Active,
  Resolution800Normal,
  Resolution800Active,
  Resolution640Normal,
  Resolution640Active,
  ColorDepth,
  Depth32Normal,
  Depth32Active,
  Depth16Normal,
  Depth16Active,
  Glsl,
  OnNormal,
  OnActive,
  OffNormal,
  OffActive,
  Sound,
  Brightness,
  HighNormal,
  HighActive,
  MediumNormal,
  MediumActive,
  LowNormal,
  LowActive,
  ControlsNormal,
  ControlsActive,
  OkNormal,
  OkActive,
  RestartNotice,
  // The Controls screen's, added after the menus' own.
  ControlsHeader,
  KeyColumn,
  PadColumn,
  TurnLeftLabel,
  TurnRightLabel,
  ThrustLabel,
  FireLabel,
  GiveUpLabel,
  PauseLabel,
  RumbleLabel,
  MusicVolumeLabel,
  EffectsVolumeLabel,
  BindingNormal,  // the face behind a key's or a button's name
  BindingActive,
  MinusNormal,
  MinusActive,
  PlusNormal,
  PlusActive,
  DefaultsNormal,
  DefaultsActive,
  BackNormal,
  BackActive,
};

// Which runs load a texture slot: GLSL is Settings.glslEnabled at load time.
enum class SlotCondition { Always, WithoutGlsl, WithGlsl };

struct TextureEntry {
  const char* path;
  bool mipmapped;
  SlotCondition condition;
  bool progressStep;  // loadProgress advances after this load
};

struct SpriteEntry {
  const char* name;  // the picture's name in its bundle
  int32_t bundle;    // 1: menuBundle1, 2: menuBundle2
};

// The fixed rows of the catalogue; slot must be one of the enumerators.
const TextureEntry& CatalogueTextureEntry(TextureSlot slot);
const SpriteEntry& CatalogueSpriteEntry(SpriteSlot slot);
constexpr const char* kMenuBundle1Path = "tbundles/menu/menu1.etb";
constexpr const char* kMenuBundle2Path = "tbundles/menu/menu2.etb";

// The process-wide catalogue. Written by the loader thread while it runs,
// read by the main thread once IsLoaderRunning has returned false.
struct CatalogueRecord {
  Texture* textures[kTextureSlotCount] = {};       // empty when not loaded this run
  BundleSprite* sprites[kSpriteSlotCount] = {};    // index = slot number - kFirstSpriteSlot
  TextureBundle* menuBundle1 = nullptr;
  TextureBundle* menuBundle2 = nullptr;
};
extern CatalogueRecord catalogue;

// The slot's object, or nullptr when this run does not load it (or the
// value names no slot).
Texture* CatalogueTexture(TextureSlot slot);
BundleSprite* CatalogueSprite(SpriteSlot slot);
