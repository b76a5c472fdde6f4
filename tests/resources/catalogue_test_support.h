#pragma once
// What the catalogue tests share: tiny stand-ins for every file the catalogue
// loads, written into a TempDir with the game's own TGA and bundle writers
// (each texture a 2 × 2 image coloured by its slot number, each bundle a
// 1 × 1 picture per sprite), and a fixture run once with and once without
// GLSL.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/asset_directory.h"
#include "resources/catalogue.h"
#include "resources/loader.h"
#include "resources/settings.h"
#include "resources/tga_writer.h"
#include "resources/texture_bundle_format.h"
#include "support/recording_gl.h"
#include "support/temp_dir.h"

inline std::string CatalogueTestTga(uint8_t shade) {
  std::vector<uint8_t> pixels;
  for (int i = 0; i < 4; ++i) pixels.insert(pixels.end(), {shade, uint8_t(shade + 1), uint8_t(i), 255});
  const std::vector<uint8_t> file =
      EncodeTga(TgaImage{2, 2, 4, false, pixels.data()}, 32, TgaEncoding::Uncompressed);
  return std::string(file.begin(), file.end());
}

// Picture k of the bundle sits at texel (k, 0) of a 64 × 64 canvas.
inline std::string CatalogueTestBundle(int32_t bundle) {
  BundleIndex index;
  index.width = index.height = 64;
  for (int32_t slot = kFirstSpriteSlot; slot < kFirstSpriteSlot + kSpriteSlotCount; ++slot) {
    const SpriteEntry& sprite = CatalogueSpriteEntry(static_cast<SpriteSlot>(slot));
    if (sprite.bundle != bundle) continue;
    const auto k = static_cast<int32_t>(index.entries.size());
    index.entries.push_back({sprite.name, k, 0, k + 1, 1});
  }
  const std::vector<uint8_t> canvas(64 * 64 * 4, 200);
  const std::vector<uint8_t> file = EncodeBundle(index, canvas.data());
  return std::string(file.begin(), file.end());
}

struct CatalogueTestFiles {
  bool bundle1 = true;
  bool bundle2 = true;
};

inline void WriteCatalogueTestFiles(const TempDir& dir, CatalogueTestFiles files = {}) {
  for (int32_t slot = 0; slot < kTextureSlotCount; ++slot) {
    dir.WriteFile(CatalogueTextureEntry(static_cast<TextureSlot>(slot)).path,
                  CatalogueTestTga(static_cast<uint8_t>(slot)));
  }
  if (files.bundle1) dir.WriteFile(kMenuBundle1Path, CatalogueTestBundle(1));
  if (files.bundle2) dir.WriteFile(kMenuBundle2Path, CatalogueTestBundle(2));
}

// The texture slots in the order the loader must load them.
inline std::vector<int32_t> ExpectedLoadOrder(bool glsl) {
  std::vector<int32_t> order = {0, 1, 2, 4, 8, 9, 10, 11, 12, 13, 14};
  if (glsl) {
    for (int32_t slot = 15; slot <= 35; ++slot) order.push_back(slot);
  } else {
    order.insert(order.end(), {5, 6, 7});
  }
  for (int32_t slot = 36; slot <= 44; ++slot) order.push_back(slot);
  order.insert(order.end(), {3, 45, 46, 47});
  return order;
}

inline bool SlotLoadedWith(int32_t slot, bool glsl) {
  if (slot >= 5 && slot <= 7) return !glsl;
  if (slot >= 15 && slot <= 35) return glsl;
  return true;
}

class CatalogueRunTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    StartAssetDirectoryAt(dir.withSlash().c_str());
    Settings.glslEnabled = GetParam();
  }
  void TearDown() override {
    ReleaseResources();
    StopAssetDirectory();
    Settings = SettingsRecord{};
  }
  bool glsl() const { return GetParam(); }

  TempDir dir;
  RecordingGl rec;
};

inline std::string ShaderChoiceName(const ::testing::TestParamInfo<bool>& info) {
  return info.param ? "WithGlsl" : "WithoutGlsl";
}
