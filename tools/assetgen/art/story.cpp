#include <cmath>
#include <string>
#include <vector>

#include "tools/assetgen/art/gameplay_art.h"
#include "tools/assetgen/art/screens_art.h"
#include "tools/assetgen/raster/filters.h"
#include "tools/assetgen/raster/noise.h"

namespace art {
namespace {

constexpr const char* kStory =
    "Far out past the last colony, something has woken the asteroid belt. Millions of tons of rock are on the "
    "move, tumbling towards the inner worlds, and every freighter lane is closed.|One patrol ship is close "
    "enough to meet the swarm. Break the herd apart, sector by sector, and find out what is driving it.";

TextStyle PlainText(uint32_t colour) {
  TextStyle style;
  style.top = style.bottom = Hex(colour);
  style.shadow = Hex(0x000000, 0.8f);
  style.shadowOffset = 2;
  return style;
}

// A translucent rounded panel with a thin frame.
void DrawPanel(Canvas& canvas, Vec2 topLeft, Vec2 bottomRight, float opacity) {
  Vec2 centre = (topLeft + bottomRight) * 0.5f, half = (bottomRight - topLeft) * 0.5f;
  canvas.Over(Canvas::FromFunction(canvas.width(), canvas.height(), [&](float u, float v) {
    Vec2 p{u * canvas.width(), v * canvas.height()};
    float sd = raster::BoxSd(p, centre, half, 18);
    float inside = Cover(sd, 1.5f), frame = Cover(std::fabs(sd + 5) - 1.2f, 1.2f);
    Color c = raster::Mix(Hex(palette::kPanel), Hex(0x14244A), Clamp01((centre.y + half.y - p.y) / (2 * half.y)));
    c = raster::Mix(c, Hex(palette::kAccent), frame);
    return raster::WithAlpha(c, std::max(inside * opacity, frame));
  }));
}

// Thin bright streaks along a direction, for a sense of speed.
void DrawSpeedLines(Canvas& canvas, uint32_t seed, Vec2 direction, int count) {
  raster::Rng rng(seed);
  Canvas lines(canvas.width(), canvas.height());
  for (int i = 0; i < count; ++i) {
    Vec2 start{rng.Range(0, static_cast<float>(canvas.width())), rng.Range(0, static_cast<float>(canvas.height()))};
    float length = rng.Range(60, 260), alpha = rng.Range(0.05f, 0.22f);
    for (float t = 0; t < length; t += 0.5f) {
      Vec2 p = start + direction * t;
      int x = static_cast<int>(p.x), y = static_cast<int>(p.y);
      if (x < 0 || y < 0 || x >= lines.width() || y >= lines.height()) break;
      float k = alpha * std::sin(kPi * t / length);
      Canvas::Pixel& d = lines.at(x, y);
      d = {d.r + k * 0.5f, d.g + k * 0.5f, d.b + k * 0.5f, std::min(1.0f, d.a + k * 0.5f)};
    }
  }
  canvas.Add(lines);
}

// Rocks flung outwards from a centre, streaked back towards it.
void DrawBurstOfRocks(Canvas& canvas, uint32_t seed, Vec2 centre, int count, float minDistance, float maxDistance,
                      float minSize, float maxSize, Color heat) {
  std::vector<Canvas> rocks;
  for (int v = 0; v < 3; ++v) {
    Canvas rock = PaintRock(v, 128, false).lit;
    rock.Tint(raster::WithAlpha(heat, 0.25f));
    rocks.push_back(rock);
  }
  raster::Rng rng(seed);
  for (int i = 0; i < count; ++i) {
    float angle = rng.Range(0, 2 * kPi), distance = rng.Range(minDistance, maxDistance);
    float size = minSize + (maxSize - minSize) * raster::Square(rng.Unit());
    Vec2 out{std::cos(angle), std::sin(angle)};
    Vec2 at = centre + out * distance;
    int variant = rng.Below(3);
    float spin = rng.Range(0, 2 * kPi);
    DrawDustTrail(canvas, at, out * -1, size, 1.2f);
    canvas.Stamp(rocks[variant], at, size / 128, spin);
  }
}

// A radial glow with rays, added to the canvas.
void DrawFlash(Canvas& canvas, Vec2 centre, float radius, Color colour, int rays) {
  canvas.Add(Canvas::FromFunction(canvas.width(), canvas.height(), [&](float u, float v) {
    Vec2 p{(u * canvas.width() - centre.x) / radius, (v * canvas.height() - centre.y) / radius};
    float r = raster::Length(p), a = std::atan2(p.y, p.x);
    float core = std::exp(-r * r * 3);
    float ray = std::pow(std::fabs(std::cos(a * rays * 0.5f)), 30.0f) * std::exp(-r * 1.2f);
    return raster::WithAlpha(raster::Mix(colour, Hex(0xFFFFFF), core), Clamp01(core + ray * 0.6f + std::exp(-r) * 0.25f));
  }));
}

}  // namespace

Canvas PaintStoryFrame(int width, int height) {
  float w = static_cast<float>(width), h = static_cast<float>(height);
  Canvas out = PaintSky(width, height, 51, 0.6f, Hex(0x121A48), {0.15f, 0.55f});
  DrawRockSwarm(out, 52, 22, {w * 1.05f, h * 0.08f}, {w * 0.3f, h * 0.55f}, h * 0.3f, h * 0.012f, h * 0.07f);
  DrawPlanet(out, {w * 0.02f, h * 0.66f}, h * 0.42f, 53, Hex(0x4A9A70), Hex(0x0E2A50), Hex(0x7FE0FF), {0.75f, -0.45f},
             true);

  Vec2 panelTopLeft{w * 0.43f, h * 0.1f}, panelBottomRight{w * 0.96f, h * 0.9f};
  DrawPanel(out, panelTopLeft, panelBottomRight, 0.78f);
  const Fonts& fonts = SharedFonts();
  float left = panelTopLeft.x + w * 0.04f, textWidth = panelBottomRight.x - panelTopLeft.x - w * 0.08f;
  DrawText(out, fonts.bold, "THE STAMPEDE", h * 0.07f, (panelTopLeft.x + panelBottomRight.x) * 0.5f, h * 0.19f,
           Align::kCentre, TitleStyle(h * 0.07f), textWidth);
  float y = h * 0.3f, size = h * 0.034f;
  std::string story = kStory;
  for (size_t start = 0; start <= story.size();) {
    size_t end = story.find('|', start);
    if (end == std::string::npos) end = story.size();
    for (const std::string& line : WrapWords(fonts.regular, story.substr(start, end - start), size, textWidth)) {
      DrawText(out, fonts.regular, line, size, left, y, Align::kLeft, PlainText(palette::kText));
      y += size * 1.45f;
    }
    y += size * 0.9f;
    start = end + 1;
  }
  DrawText(out, fonts.bold, "Good luck, pilot.", h * 0.04f, left, h * 0.845f, Align::kLeft, PlainText(palette::kGold));
  return out;
}

Canvas PaintStoryPanel(int width, int height) {
  float w = static_cast<float>(width), h = static_cast<float>(height);
  Canvas out = PaintSky(width, height, 61, 0.9f, Hex(0x0E3A4A), {0.35f, 0.6f});
  Vec2 heading = raster::Rotate({0, -1}, 0.9f);
  DrawSpeedLines(out, 62, heading * -1, 160);
  DrawRockSwarm(out, 63, 26, {w * 1.1f, h * 0.15f}, {w * 0.45f, h * 1.05f}, h * 0.5f, h * 0.02f, h * 0.16f);
  DrawShipInFlight(out, {w * 0.36f, h * 0.5f}, h * 0.42f, 0.9f);
  // A comic-panel border; it reads the same mirrored or upside down.
  out.Over(Canvas::FromFunction(width, height, [&](float u, float v) {
    Vec2 p{u * w, v * h};
    float sd = raster::BoxSd(p, {w * 0.5f, h * 0.5f}, {w * 0.5f - 14, h * 0.5f - 14}, 22);
    float outside = Cover(-sd, 1.5f), line = Cover(std::fabs(sd) - 2.5f, 1.5f);
    return raster::Mix(Hex(0x05070F, outside), Hex(palette::kAccent), line);
  }));
  return out;
}

Canvas PaintCredits(int width, int height) {
  float w = static_cast<float>(width), h = static_cast<float>(height);
  Canvas out(width, height, Hex(palette::kSpaceDeep));
  DrawStars(out, 91, 0.35f);
  const Fonts& fonts = SharedFonts();
  DrawText(out, fonts.bold, "STARFIELD STAMPEDE", h * 0.075f, w * 0.5f, h * 0.09f, Align::kCentre,
           TitleStyle(h * 0.075f), w * 0.9f, 1, h * 0.004f);
  DrawText(out, fonts.regular, "A KelpforgeSoftware game", h * 0.034f, w * 0.5f, h * 0.165f, Align::kCentre,
           PlainText(palette::kText));
  const char* roles[][2] = {
      {"DESIGN AND PROGRAMMING", "The Starfield Stampede team"},
      {"PICTURES", "Drawn in code by the asset generator"},
      {"SOUND AND MUSIC", "Synthesised in code by the asset generator"},
      {"LETTERING", "DejaVu fonts"},
      {"BUILT WITH", "SDL2 / OpenAL Soft / Ogg Vorbis / FreeType / OpenGL"},
  };
  float y = h * 0.27f;
  for (const auto& role : roles) {
    DrawText(out, fonts.bold, role[0], h * 0.026f, w * 0.5f, y, Align::kCentre, PlainText(palette::kGold), w,
             1, h * 0.004f);
    DrawText(out, fonts.regular, role[1], h * 0.036f, w * 0.5f, y + h * 0.048f, Align::kCentre,
             PlainText(palette::kText), w * 0.9f);
    y += h * 0.12f;
  }
  DrawText(out, fonts.bold, "Thank you for playing!", h * 0.055f, w * 0.5f, h * 0.9f, Align::kCentre,
           TitleStyle(h * 0.055f), w * 0.9f);
  return out;
}

Canvas PaintGameOver(int width, int height) {
  float w = static_cast<float>(width), h = static_cast<float>(height);
  Canvas out = PaintSky(width, height, 71, 0.45f, Hex(0x3A0C14), {0.5f, 0.6f});
  out.Paint(Field(width, height, 1), Hex(0x400008, 0.25f));  // everything a little redder
  DrawRockSwarm(out, 72, 16, {w * -0.05f, h * 0.2f}, {w * 1.05f, h * 0.9f}, h * 0.5f, h * 0.015f, h * 0.08f);
  // The wreck: the ship's pieces drifting apart from a dying glow.
  Vec2 centre{w * 0.5f, h * 0.64f};
  DrawFlash(out, centre, h * 0.1f, Hex(palette::kEngine), 6);
  std::vector<Canvas> pieces = CutDebris(PaintShip(256).lit);
  const Vec2 drift[7] = {{2, 0}, {-0.05f, -0.5f}, {0, -0.5f}, {1, 0}, {-1.25f, -0.1f}, {1.75f, 1}, {2, 2.3f}};
  for (size_t i = 0; i < pieces.size(); ++i) {
    Vec2 at = centre + Vec2{drift[i].x - 0.8f, -drift[i].y + 0.6f} * (h * 0.07f);
    out.Stamp(pieces[i], at, h * 0.42f / 256, 0.25f * static_cast<float>(i) - 0.6f);
  }
  TextStyle red = TitleStyle(h * 0.15f);
  red.top = Hex(0xFFE0D0);
  red.bottom = Hex(0xC81E1A);
  red.glow = Hex(0xFF3020, 0.5f);
  DrawText(out, SharedFonts().bold, "GAME OVER", h * 0.15f, w * 0.5f, h * 0.26f, Align::kCentre, red, w * 0.9f, 1,
           h * 0.01f);
  DrawText(out, SharedFonts().regular, "The stampede rolls on.", h * 0.04f, w * 0.5f, h * 0.37f, Align::kCentre,
           PlainText(0xE0B8B0));
  return out;
}

Canvas PaintGameWon(int width, int height) {
  float w = static_cast<float>(width), h = static_cast<float>(height);
  Canvas out = PaintSky(width, height, 81, 0.6f, Hex(0x3A2A12), {0.55f, 0.6f});
  Vec2 centre{w * 0.56f, h * 0.62f};
  DrawFlash(out, centre, h * 0.3f, Hex(palette::kGold), 12);
  DrawBurstOfRocks(out, 82, centre, 26, h * 0.12f, h * 0.6f, h * 0.02f, h * 0.11f, Hex(palette::kEngine));
  DrawShipInFlight(out, {w * 0.17f, h * 0.72f}, h * 0.18f, -0.75f);
  DrawText(out, SharedFonts().bold, "VICTORY", h * 0.16f, w * 0.5f, h * 0.18f, Align::kCentre,
           TitleStyle(h * 0.16f), w * 0.9f, 1, h * 0.012f);
  DrawText(out, SharedFonts().regular, "The stampede is broken. The inner worlds are safe.", h * 0.038f, w * 0.5f,
           h * 0.3f, Align::kCentre, PlainText(palette::kText), w * 0.9f);
  return out;
}

}  // namespace art
