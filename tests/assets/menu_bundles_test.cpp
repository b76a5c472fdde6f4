// Checks the two menu bundles of the generated asset tree (SS_BIN_DIR/base)
// with the game's own TextureBundle.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "assets/generated_tree.h"
#include "platform/asset_directory.h"
#include "resources/catalogue.h"
#include "resources/texture_bundle.h"
#include "support/recording_gl.h"

namespace {

class GeneratedBundles : public ::testing::Test {
 protected:
  void SetUp() override {
    SKIP_WITHOUT_GENERATED_TREE();
    ASSERT_TRUE(StartAssetDirectoryAt(kGeneratedBase.c_str()));
    ASSERT_TRUE(bundles_[0].Load(kMenuBundle1Path, false));
    ASSERT_TRUE(bundles_[1].Load(kMenuBundle2Path, false));
  }
  void TearDown() override { StopAssetDirectory(); }

  // Mean alpha-weighted brightness of a sprite's texels, and its share of
  // texels that are clearly visible.
  void Measure(const TextureBundle& bundle, const BundleEntry& entry, double* brightness, double* visible) {
    double light = 0, shown = 0, count = 0;
    for (int32_t y = entry.y0; y < entry.y1; ++y) {
      for (int32_t x = entry.x0; x < entry.x1; ++x) {
        const uint8_t* p = &bundle.canvas[(static_cast<size_t>(y) * bundle.width + x) * 4];
        light += (p[0] + p[1] + p[2]) / (3 * 255.0) * p[3] / 255.0;
        shown += p[3] > 128;
        count += 1;
      }
    }
    *brightness = light / count;
    *visible = shown / count;
  }

  const BundleEntry* Entry(const TextureBundle& bundle, const std::string& name) {
    for (const BundleEntry& entry : bundle.entries) {
      if (entry.name == name) return &entry;
    }
    return nullptr;
  }

  RecordingGl gl_;
  TextureBundle bundles_[2] = {TextureBundle(4, false), TextureBundle(4, false)};
};

TEST_F(GeneratedBundles, HoldEverySpriteOfTheCatalogueInItsBundleWithVisiblePixels) {
  for (const TextureBundle& bundle : bundles_) {
    EXPECT_EQ(bundle.width, 1024);
    EXPECT_EQ(bundle.height, 1024);
    EXPECT_EQ(bundle.bytesPerPixel, 4);
    EXPECT_FALSE(bundle.mipmapped);
  }
  for (int32_t slot = kFirstSpriteSlot; slot < kFirstSpriteSlot + kSpriteSlotCount; ++slot) {
    const SpriteEntry& sprite = CatalogueSpriteEntry(static_cast<SpriteSlot>(slot));
    SCOPED_TRACE(sprite.name);
    const TextureBundle& bundle = bundles_[sprite.bundle - 1];
    float s0, t0, s1, t1;
    ASSERT_TRUE(bundle.FindPicture(sprite.name, &s0, &t0, &s1, &t1));
    EXPECT_TRUE(0 <= s0 && s0 < s1 && s1 <= 1);
    EXPECT_TRUE(0 <= t0 && t0 < t1 && t1 <= 1);
    // The picture's texels lie where the bundle's pixel runs reach.
    double brightness, visible;
    Measure(bundle, *Entry(bundle, sprite.name), &brightness, &visible);
    EXPECT_GT(visible, 0.05);
  }
}

TEST_F(GeneratedBundles, ActiveButtonsAreClearlyBrighterThanTheirNormalLook) {
  for (int32_t slot = kFirstSpriteSlot; slot < kFirstSpriteSlot + kSpriteSlotCount; ++slot) {
    const SpriteEntry& sprite = CatalogueSpriteEntry(static_cast<SpriteSlot>(slot));
    std::string name = sprite.name;
    size_t at = name.find("Normal.tga");
    if (at == std::string::npos) continue;
    SCOPED_TRACE(name);
    // The first menus' buttons are in the first bundle, the Controls
    // screen's in the second; both looks of a button share one.
    const TextureBundle& bundle = bundles_[sprite.bundle - 1];
    std::string active = name.substr(0, at) + "Active.tga";
    const BundleEntry* normalEntry = Entry(bundle, name);
    const BundleEntry* activeEntry = Entry(bundle, active);
    ASSERT_NE(normalEntry, nullptr);
    ASSERT_NE(activeEntry, nullptr);
    // Both looks share one place on screen, so they share a size.
    EXPECT_EQ(normalEntry->x1 - normalEntry->x0, activeEntry->x1 - activeEntry->x0);
    EXPECT_EQ(normalEntry->y1 - normalEntry->y0, activeEntry->y1 - activeEntry->y0);
    double normalLight, activeLight, visible;
    Measure(bundle, *normalEntry, &normalLight, &visible);
    Measure(bundle, *activeEntry, &activeLight, &visible);
    EXPECT_GT(activeLight, normalLight * 1.5);
  }
}

}  // namespace
