#include <filesystem>
#include <string>
#include <thread>

#include "audio/sound_effect.h"
#include "platform/gl_table.h"
#include "resources/image_resource.h"
#include "resources/loader.h"
#include "x11/engine_session.h"

// The whole generated catalogue, loaded by the loader thread into a real GL
// context through the real hand-off, with the test as the loading screen.
namespace {

using CatalogueX11 = EngineSession;

TEST_F(CatalogueX11, TheGeneratedCatalogueLoadsCompletely) {
  const std::filesystem::path generated = std::filesystem::path(SS_BIN_DIR) / "base";
  if (!std::filesystem::exists(generated / "textures/gameplay/asteroid0.tga")) {
    GTEST_SKIP() << "no generated asset tree in " << generated;
  }
  // The generated folders, seen from this test's own asset folder (whose
  // console log stays apart from the game's).
  for (const char* folder : {"textures", "tbundles", "sound"}) {
    if (std::filesystem::exists(generated / folder)) {
      std::filesystem::create_directory_symlink(generated / folder, folder_ / folder);
    }
  }
  const bool bundlesThere = std::filesystem::exists(generated / kMenuBundle1Path);
  ASSERT_TRUE(StartGameEngine(config_));
  Settings.glslEnabled = gl.arbShadingLanguage100;

  ASSERT_TRUE(StartLoader());
  int frames = 0;
  while (IsLoaderRunning()) {
    gl.glClear(GL_COLOR_BUFFER_BIT);
    PresentFrame();
    std::this_thread::yield();
    ServicePendingUpload();
    ++frames;
  }
  StopLoader();

  EXPECT_GT(frames, 0);
  for (int32_t slot = 0; slot < kTextureSlotCount; ++slot) {
    const Texture* texture = catalogue.textures[slot];
    if (!texture) continue;
    EXPECT_NE(texture->glName, Texture::kNoName) << CatalogueTextureEntry(static_cast<TextureSlot>(slot)).path;
    EXPECT_TRUE(gl.glIsTexture(texture->glName));
  }
  EXPECT_EQ(CatalogueTexture(TextureSlot::GlslNoise) != nullptr, Settings.glslEnabled);
  if (bundlesThere) {
    for (int32_t slot = kFirstSpriteSlot; slot < kFirstSpriteSlot + kSpriteSlotCount; ++slot) {
      const SpriteEntry& entry = CatalogueSpriteEntry(static_cast<SpriteSlot>(slot));
      const BundleSprite* sprite = catalogue.sprites[slot - kFirstSpriteSlot];
      EXPECT_NE(sprite->coords[0] + sprite->coords[1], 0.0f) << entry.name;
    }
  }
  EXPECT_NEAR(
      GetLoadProgress(),
      Settings.glslEnabled ? 1.0f : (kCatalogueProgressSteps + 3.0f) / kCatalogueProgressSteps,
      4e-6f);
  ASSERT_NE(shipSounds.thrustSound, nullptr);
  EXPECT_TRUE(shipSounds.thrustSound->loaded());
  EXPECT_EQ(gl.glGetError(), static_cast<GLenum>(GL_NO_ERROR));

  ReleaseResources();
}

}  // namespace
