#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "tests/resources/catalogue_test_support.h"

// The catalogue filled on the main thread, where every upload happens at
// once; tests/threads/loader_test.cpp runs the same load on the loader thread.
namespace {

using CatalogueTest = CatalogueRunTest;

// Without shaders the three fixed-function ship textures are steps too.
constexpr float kWithoutGlslEnd = (kCatalogueProgressSteps + 3.0f) / kCatalogueProgressSteps;

bool SpriteFound(const BundleSprite* sprite) {
  return std::any_of(std::begin(sprite->coords), std::end(sprite->coords), [](float c) { return c != 0.0f; });
}

TEST_P(CatalogueTest, FillsTheSlotsOfThisRunsShaderChoice) {
  WriteCatalogueTestFiles(dir);
  LoadCatalogue();

  for (int32_t slot = 0; slot < kTextureSlotCount; ++slot) {
    const Texture* texture = CatalogueTexture(static_cast<TextureSlot>(slot));
    if (!SlotLoadedWith(slot, glsl())) {
      EXPECT_EQ(texture, nullptr) << "slot " << slot;
      continue;
    }
    ASSERT_NE(texture, nullptr) << "slot " << slot;
    EXPECT_STREQ(texture->name, CatalogueTextureEntry(static_cast<TextureSlot>(slot)).path);
    EXPECT_NE(texture->glName, Texture::kNoName) << "slot " << slot;
  }
  // Spot checks of the table against the files the game ships.
  if (glsl()) {
    EXPECT_STREQ(CatalogueTexture(TextureSlot::GlslShipInvulnerableNormal)->name, "textures/glsl/shipinvn.tga");
  } else {
    EXPECT_STREQ(CatalogueTexture(TextureSlot::Particle)->name, "textures/gameplay/particle.tga");
  }
  EXPECT_STREQ(CatalogueTexture(TextureSlot::Background)->name, "textures/gameplay/background0.tga");
  EXPECT_FALSE(CatalogueTexture(TextureSlot::Background)->mipmapped);
  EXPECT_TRUE(CatalogueTexture(TextureSlot::Asteroid0)->mipmapped);

  ASSERT_NE(catalogue.menuBundle1, nullptr);
  ASSERT_NE(catalogue.menuBundle2, nullptr);
  for (int32_t slot = kFirstSpriteSlot; slot < kFirstSpriteSlot + kSpriteSlotCount; ++slot) {
    const BundleSprite* sprite = CatalogueSprite(static_cast<SpriteSlot>(slot));
    ASSERT_NE(sprite, nullptr) << "slot " << slot;
    EXPECT_TRUE(SpriteFound(sprite)) << "slot " << slot;
  }
  EXPECT_EQ(CatalogueSprite(SpriteSlot::RestartNotice)->bundle, catalogue.menuBundle2);
  EXPECT_EQ(CatalogueSprite(SpriteSlot::OkActive)->bundle, catalogue.menuBundle1);
  EXPECT_EQ(CatalogueTexture(static_cast<TextureSlot>(99)), nullptr);

  // 16 texture steps and a look-up per sprite; the fixed-function ship adds 3
  // more.
  if (glsl()) {
    EXPECT_NEAR(GetLoadProgress(), 1.0f, 2e-6f);
  } else {
    EXPECT_NEAR(GetLoadProgress(), kWithoutGlslEnd, 4e-6f);
  }
}

TEST_P(CatalogueTest, MissingFilesLeaveEmptyObjectsAndStillCountEveryLookUp) {
  WriteCatalogueTestFiles(dir, {.bundle1 = false});
  std::filesystem::remove(dir / CatalogueTextureEntry(TextureSlot::Asteroid1).path);
  LoadCatalogue();

  ASSERT_NE(catalogue.menuBundle1, nullptr);
  EXPECT_TRUE(catalogue.menuBundle1->entries.empty());
  EXPECT_EQ(CatalogueTexture(TextureSlot::Asteroid1)->glName, Texture::kNoName);
  EXPECT_NE(CatalogueTexture(TextureSlot::Asteroid2)->glName, Texture::kNoName);
  EXPECT_FALSE(SpriteFound(CatalogueSprite(SpriteSlot::StartNormal)));
  EXPECT_TRUE(SpriteFound(CatalogueSprite(SpriteSlot::ShipScreen)));
  EXPECT_EQ(CatalogueSprite(SpriteSlot::StartNormal)->bundle, catalogue.menuBundle1);
  const float end = glsl() ? 1.0f : kWithoutGlslEnd;
  EXPECT_NEAR(GetLoadProgress(), end, 4e-6f);
}

TEST_P(CatalogueTest, ReleaseDestroysExactlyWhatWasCreated) {
  WriteCatalogueTestFiles(dir);
  std::multiset<GLuint> deleted;
  rec.OnCall("glDeleteTextures", [&](GlCall& call) {
    const auto* names = static_cast<const GLuint*>(call.Pointer(1));
    deleted.insert(names, names + call.Int(0));
  });
  LoadCatalogue();
  std::multiset<GLuint> created = {catalogue.menuBundle1->glName, catalogue.menuBundle2->glName};
  for (const Texture* texture : catalogue.textures) {
    if (texture) created.insert(texture->glName);
  }
  EXPECT_EQ(created.size(), ExpectedLoadOrder(glsl()).size() + 2);
  EXPECT_EQ(rec.Count("glGenTextures"), created.size());

  ReleaseResources();
  EXPECT_EQ(deleted, created);
  EXPECT_TRUE(std::all_of(std::begin(catalogue.textures), std::end(catalogue.textures),
                          [](Texture* t) { return t == nullptr; }));
  EXPECT_TRUE(std::all_of(std::begin(catalogue.sprites), std::end(catalogue.sprites),
                          [](BundleSprite* s) { return s == nullptr; }));
  EXPECT_EQ(catalogue.menuBundle1, nullptr);
  EXPECT_EQ(catalogue.menuBundle2, nullptr);

  rec.Clear();
  ReleaseResources();  // a second release finds nothing to do
  EXPECT_TRUE(rec.Names().empty());
}

INSTANTIATE_TEST_SUITE_P(ShaderChoice, CatalogueTest, ::testing::Bool(), ShaderChoiceName);

}  // namespace
