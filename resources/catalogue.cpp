#include "resources/catalogue.h"

CatalogueRecord catalogue;

namespace {

using enum SlotCondition;

constexpr TextureEntry kTextures[kTextureSlotCount] = {
    {"textures/gameplay/asteroid0.tga", true, Always, true},
    {"textures/gameplay/asteroid1.tga", true, Always, true},
    {"textures/gameplay/asteroid2.tga", true, Always, true},
    {"textures/gameplay/background0.tga", false, Always, true},
    {"textures/gameplay/finalasteroid.tga", true, Always, true},
    {"textures/gameplay/ship.tga", true, WithoutGlsl, true},
    {"textures/gameplay/shipinv.tga", true, WithoutGlsl, true},
    {"textures/gameplay/particle.tga", true, WithoutGlsl, true},
    {"textures/gameplay/shipp0.tga", true, Always, false},
    {"textures/gameplay/shipp1.tga", true, Always, false},
    {"textures/gameplay/shipp2.tga", true, Always, false},
    {"textures/gameplay/shipp3.tga", true, Always, false},
    {"textures/gameplay/shipp4.tga", true, Always, false},
    {"textures/gameplay/shipp5.tga", true, Always, false},
    {"textures/gameplay/shipp6.tga", true, Always, false},
    {"textures/glsl/ship.tga", true, WithGlsl, false},
    {"textures/glsl/shipn.tga", true, WithGlsl, false},
    {"textures/glsl/shipinv.tga", true, WithGlsl, false},
    {"textures/glsl/shipinvn.tga", true, WithGlsl, false},
    {"textures/glsl/noise.tga", true, WithGlsl, false},
    {"textures/glsl/asteroid0.tga", true, WithGlsl, false},
    {"textures/glsl/asteroid1.tga", true, WithGlsl, false},
    {"textures/glsl/asteroid2.tga", true, WithGlsl, false},
    {"textures/glsl/asteroid0n.tga", true, WithGlsl, false},
    {"textures/glsl/asteroid1n.tga", true, WithGlsl, false},
    {"textures/glsl/asteroid2n.tga", true, WithGlsl, false},
    {"textures/glsl/flame.tga", true, WithGlsl, false},
    {"textures/glsl/flamealpha.tga", true, WithGlsl, false},
    {"textures/glsl/powerinvuln.tga", true, WithGlsl, false},
    {"textures/glsl/powerspread.tga", true, WithGlsl, false},
    {"textures/glsl/powerstarburst.tga", true, WithGlsl, false},
    {"textures/glsl/powerlongrange.tga", true, WithGlsl, false},
    {"textures/glsl/powerinvulnn.tga", true, WithGlsl, false},
    {"textures/glsl/powerspreadn.tga", true, WithGlsl, false},
    {"textures/glsl/powerstarburstn.tga", true, WithGlsl, false},
    {"textures/glsl/powerlongrangen.tga", true, WithGlsl, false},
    {"textures/gameplay/bullet.tga", true, Always, true},
    {"textures/gameplay/powerinvuln.tga", true, Always, true},
    {"textures/gameplay/powerlongrange.tga", true, Always, true},
    {"textures/gameplay/powerspread.tga", true, Always, true},
    {"textures/gameplay/powerstarburst.tga", true, Always, true},
    {"textures/gameplay/displaybox.tga", true, Always, false},
    {"textures/gameplay/start.tga", true, Always, true},
    {"textures/gameplay/summary.tga", true, Always, true},
    {"textures/gameplay/highscore.tga", true, Always, true},
    {"textures/story/frame1.tga", false, Always, true},
    {"textures/story/frame2.tga", false, Always, true},
    {"textures/story/credits.tga", false, Always, true},
};

// The first menus' sprites, then the Controls screen's.
constexpr int32_t kMenuSpriteCount = 45;
// clang-format off
constexpr SpriteEntry kMenuSprites[kMenuSpriteCount] = {
    {"Header.tga", 1},          {"Disclaimer.tga", 1},       {"ShipScr.tga", 2},
    {"asteroid2.tga", 2},       {"tux.tga", 1},              {"beastie.tga", 1},
    {"PC.tga", 1},              {"StartNormal.tga", 1},      {"StartActive.tga", 1},
    {"OptionsNormal.tga", 1},   {"OptionsActive.tga", 1},    {"ClearHighNormal.tga", 1},
    {"ClearHighActive.tga", 1}, {"ExitNormal.tga", 1},       {"ExitActive.tga", 1},
    {"Resolution.tga", 1},      {"1024Normal.tga", 1},       {"1024Active.tga", 1},
    {"800Normal.tga", 1},       {"800Active.tga", 1},        {"640Normal.tga", 1},
    {"640Active.tga", 1},       {"ColorDepth.tga", 1},       {"32Normal.tga", 1},
    {"32Active.tga", 1},        {"16Normal.tga", 1},         {"16Active.tga", 1},
    {"GLSL.tga", 1},            {"OnNormal.tga", 1},         {"OnActive.tga", 1},
    {"OffNormal.tga", 1},       {"OffActive.tga", 1},        {"Sound.tga", 1},
    {"Brightness.tga", 1},      {"HighNormal.tga", 1},       {"HighActive.tga", 1},
    {"MediumNormal.tga", 1},    {"MediumActive.tga", 1},     {"LowNormal.tga", 1},
    {"LowActive.tga", 1},       {"ControlsNormal.tga", 1},   {"ControlsActive.tga", 1},
    {"OKNormal.tga", 1},        {"OKActive.tga", 1},         {"RestartNotice.tga", 2},
};
// clang-format on

constexpr SpriteEntry kControlsSprites[kSpriteSlotCount - kMenuSpriteCount] = {
    {"ControlsHeader.tga", 2}, {"KeyColumn.tga", 2},      {"PadColumn.tga", 2},
    {"TurnLeft.tga", 2},       {"TurnRight.tga", 2},      {"Thrust.tga", 2},
    {"Fire.tga", 2},           {"GiveUp.tga", 2},         {"Pause.tga", 2},
    {"Rumble.tga", 2},         {"MusicVolume.tga", 2},    {"EffectsVolume.tga", 2},
    {"BindingNormal.tga", 2},  {"BindingActive.tga", 2},  {"MinusNormal.tga", 2},
    {"MinusActive.tga", 2},    {"PlusNormal.tga", 2},     {"PlusActive.tga", 2},
    {"DefaultsNormal.tga", 2}, {"DefaultsActive.tga", 2}, {"BackNormal.tga", 2},
    {"BackActive.tga", 2},
};

static_assert(static_cast<int32_t>(TextureSlot::Credits) == kTextureSlotCount - 1);
static_assert(static_cast<int32_t>(SpriteSlot::RestartNotice) ==
              kFirstSpriteSlot + kMenuSpriteCount - 1);
static_assert(static_cast<int32_t>(SpriteSlot::BackActive) ==
              kFirstSpriteSlot + kSpriteSlotCount - 1);

int32_t SpriteIndex(SpriteSlot slot) { return static_cast<int32_t>(slot) - kFirstSpriteSlot; }

}  // namespace

const TextureEntry& CatalogueTextureEntry(TextureSlot slot) {
  return kTextures[static_cast<int32_t>(slot)];
}

const SpriteEntry& CatalogueSpriteEntry(SpriteSlot slot) {
  const int32_t index = SpriteIndex(slot);
  return index < kMenuSpriteCount ? kMenuSprites[index]
                                  : kControlsSprites[index - kMenuSpriteCount];
}

Texture* CatalogueTexture(TextureSlot slot) {
  const auto index = static_cast<int32_t>(slot);
  return index >= 0 && index < kTextureSlotCount ? catalogue.textures[index] : nullptr;
}

BundleSprite* CatalogueSprite(SpriteSlot slot) {
  const int32_t index = SpriteIndex(slot);
  return index >= 0 && index < kSpriteSlotCount ? catalogue.sprites[index] : nullptr;
}
