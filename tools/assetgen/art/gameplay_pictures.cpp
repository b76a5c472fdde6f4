// The textures of play: textures/gameplay/ and textures/glsl/. Sides of
// mipmapped pictures are powers of two; the sky is drawn without mipmaps.
#include <cmath>
#include <string>
#include <vector>

#include "tools/assetgen/art/effects.h"
#include "tools/assetgen/art/gameplay_art.h"
#include "tools/assetgen/art/pictures.h"
#include "tools/assetgen/art/screens_art.h"
#include "tools/assetgen/art/texture_files.h"
#include "tools/assetgen/raster/filters.h"

namespace art {
namespace {

constexpr TextureFormat kRgba{true, false};
constexpr TextureFormat kRgbaRle{true, true};
constexpr TextureFormat kRgb{false, false};

// Shield look: the hull charged with a cyan glow, inside its bubble.
Canvas Shielded(const Canvas& ship) {
  Canvas charged = ship;
  charged.Tint(Hex(palette::kShield, 0.25f));
  Canvas out = PaintShieldBubble(ship.width(), 1);
  OverWithGlow(out, charged, Hex(palette::kShield, 0.9f), ship.width() / 28);
  return out;
}

// Normal map of the ship under a dome, for the shader's shield look.
Canvas ShieldNormals(int size) {
  Field height = ShipHeight(size);
  Field dome = Field::FromFunction(size, size, [](float u, float v) {
    float r = raster::Length({u * 2 - 1, v * 2 - 1}) / 0.95f;
    return r < 1 ? 0.25f * std::sqrt(1 - r * r) : 0.0f;
  });
  for (size_t i = 0; i < height.values().size(); ++i) height.values()[i] += dome.values()[i];
  return raster::NormalMap(height, size * 0.5f);
}

}  // namespace

bool WriteGameplayPictures(const std::string& baseDir) {
  bool ok = SharedFonts().ok();
  auto put = [&](const std::string& path, const Canvas& canvas, TextureFormat format) {
    ok = ok && WriteTexture(baseDir, "textures/" + path, canvas, format);
  };

  for (int v = 0; v < 3; ++v) {
    std::string n = std::to_string(v);
    LitPicture rock = PaintRock(v, 256, true);
    put("gameplay/asteroid" + n + ".tga", rock.lit, kRgba);
    put("glsl/asteroid" + n + ".tga", rock.albedo, kRgba);
    put("glsl/asteroid" + n + "n.tga", rock.normal, kRgb);
  }
  put("gameplay/finalasteroid.tga", PaintFinalAsteroid(512), kRgbaRle);
  put("gameplay/background0.tga", PaintStarField(1024, 768), kRgb);

  LitPicture ship = PaintShip(128);
  put("gameplay/ship.tga", ship.lit, kRgba);
  put("gameplay/shipinv.tga", Shielded(ship.lit), kRgba);
  put("glsl/ship.tga", ship.albedo, kRgba);
  put("glsl/shipn.tga", ship.normal, kRgb);
  put("glsl/shipinv.tga", Shielded(ship.albedo), kRgba);
  put("glsl/shipinvn.tga", ShieldNormals(128), kRgb);
  // The explosion maps its pieces upside down; stored flipped, they start
  // out as the upright ship.
  std::vector<Canvas> pieces = CutDebris(ship.lit);
  for (size_t i = 0; i < pieces.size(); ++i) {
    put("gameplay/shipp" + std::to_string(i) + ".tga", pieces[i].FlippedVertically(), kRgba);
  }

  const char* kPowerNames[4] = {"powerinvuln", "powerlongrange", "powerspread", "powerstarburst"};
  for (int kind = 0; kind < 4; ++kind) {
    std::string name = kPowerNames[kind];
    LitPicture badge = PaintPowerUp(kind, 128);
    put("gameplay/" + name + ".tga", badge.lit, kRgba);
    put("glsl/" + name + ".tga", badge.albedo, kRgba);
    put("glsl/" + name + "n.tga", badge.normal, kRgb);
  }

  put("gameplay/bullet.tga", PaintBullet(64), kRgba);
  put("gameplay/particle.tga", PaintParticle(64), kRgba);
  put("glsl/flame.tga", PaintFlame(64), kRgba);
  put("glsl/flamealpha.tga", PaintFlameAlpha(64), kRgba);
  put("glsl/noise.tga", PaintNoise(128), kRgb);
  put("gameplay/displaybox.tga", PaintDisplayBox(128), kRgba);

  put("gameplay/start.tga", PaintLevelStart(512), kRgbaRle);
  put("gameplay/summary.tga", PaintSummary(512), kRgbaRle);
  put("gameplay/highscore.tga", PaintHighScore(512), kRgbaRle);
  return ok;
}

}  // namespace art
