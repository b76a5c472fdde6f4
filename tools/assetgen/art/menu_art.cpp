// The menu sprites and the two bundles that hold them. Each sprite is drawn
// at the size the menus show it (about 540 pixels per unit of the menu
// plane, one to one at 800 x 600) so nothing is stretched. Buttons keep
// their shading vertical: rows of equal pixels keep the bundle's runs long.
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "tools/assetgen/art/gameplay_art.h"
#include "tools/assetgen/art/pictures.h"
#include "tools/assetgen/art/screens_art.h"
#include "tools/assetgen/art/texture_files.h"
#include "tools/assetgen/raster/filters.h"
#include "tools/bundletool/bundle_packer.h"

namespace art {
namespace {

constexpr float kPixelsPerUnit = 540;

int Pixels(float units) { return static_cast<int>(std::lround(units * kPixelsPerUnit)); }

// A button face: a rounded glass panel with its caption. The active look is
// lit up: brighter panel, white caption, glowing frame and pointer marks.
Canvas PaintButton(const std::string& caption, float widthUnits, float heightUnits, bool active) {
  int w = Pixels(widthUnits), h = Pixels(heightUnits);
  float inset = h * 0.12f, radius = h * 0.28f;
  Vec2 centre{w * 0.5f, h * 0.5f}, half{w * 0.5f - inset, h * 0.5f - inset};
  Canvas panel = Canvas::FromFunction(w, h, [&](float u, float v) {
    Vec2 p{u * w, v * h};
    float sd = raster::BoxSd(p, centre, half, radius);
    float inside = Cover(sd, 1.2f), frame = Cover(std::fabs(sd + 1.5f) - (active ? 1.6f : 1.0f), 1.2f);
    float t = Clamp01((p.y - inset) / (h - 2 * inset));
    Color fill = active ? raster::Mix(Hex(0x2AA8B8), Hex(0x0C3E5C), t) : raster::Mix(Hex(0x1A2A50), Hex(0x080E22), t);
    Color edge = active ? Hex(0xCFFFFF) : Hex(palette::kAccentDeep);
    Color c = raster::Mix(fill, edge, frame);
    return raster::WithAlpha(c, std::max(inside * (active ? 0.95f : 0.8f), frame));
  });
  Canvas out(w, h);
  if (active) {
    OverWithGlow(out, panel, Hex(palette::kGlow, 0.8f), h / 14);
  } else {
    out.Over(panel);
  }
  // Wide active buttons also get arrow marks pointing in at the caption.
  bool marked = active && w >= 2.5f * h;
  if (marked) {
    Field marks = Field::FromFunction(w, h, [&](float u, float v) {
      Vec2 p{u * w, v * h};
      float x = std::fabs(p.x - centre.x) - (half.x - h * 0.3f);  // grows outwards
      return Cover(std::max(std::fabs(p.y - centre.y) - 0.9f * (x + h * 0.12f), x - h * 0.06f), 1.2f);
    });
    out.Paint(marks, Hex(palette::kGold));
  }
  TextStyle style;
  style.top = active ? Hex(0xFFFFFF) : Hex(palette::kText);
  style.bottom = active ? Hex(0xFFF2B0) : Hex(0x8AA8D0);
  style.shadow = Hex(0x000000, 0.7f);
  style.shadowOffset = 1;
  // The face behind a key's name has no caption: the game prints the name.
  if (caption.empty()) return out;
  float textRoom = w - 2 * inset - (marked ? h * 0.9f : h * 0.35f);
  DrawText(out, SharedFonts().bold, caption, h * 0.42f, w * 0.5f, h * 0.5f, Align::kCentre, style, textRoom, 1,
           h * 0.02f);
  return out;
}

// An option's name, in gold, from the left edge.
Canvas PaintLabel(const std::string& caption, float widthUnits, float heightUnits) {
  int w = Pixels(widthUnits), h = Pixels(heightUnits);
  Canvas out(w, h);
  TextStyle style;
  style.top = Hex(0xFFF0C0);
  style.bottom = Hex(palette::kGold);
  style.shadow = Hex(0x000000, 0.8f);
  style.shadowOffset = 2;
  DrawText(out, SharedFonts().bold, caption, h * 0.46f, h * 0.12f, h * 0.5f, Align::kLeft, style, w - h * 0.24f);
  return out;
}

// A Controls screen row's name: the option label's gold lettering, a size
// larger for the narrower row, over a thin rule that leads the eye across to
// the row's key and button.
Canvas PaintRowLabel(const std::string& caption, float widthUnits, float heightUnits) {
  int w = Pixels(widthUnits), h = Pixels(heightUnits);
  float ruleY = h - 2.5f;
  Canvas out = Canvas::FromFunction(w, h, [&](float u, float v) {
    float rule = Cover(std::fabs(v * h - ruleY) - 1.0f, 1.0f);
    float fade = 1 - Smoothstep(0.8f, 1.0f, u);
    return raster::WithAlpha(Hex(palette::kAccentDeep), rule * fade * 0.8f);
  });
  TextStyle style;
  style.top = Hex(0xFFF0C0);
  style.bottom = Hex(palette::kGold);
  style.shadow = Hex(0x000000, 0.8f);
  style.shadowOffset = 2;
  DrawText(out, SharedFonts().bold, caption, h * 0.6f, h * 0.12f, h * 0.45f, Align::kLeft, style,
           w - h * 0.24f);
  return out;
}

// A column's title over the Controls screen's key and button names, centred
// on the names below it.
Canvas PaintColumnHeading(const std::string& caption, float widthUnits, float heightUnits) {
  int w = Pixels(widthUnits), h = Pixels(heightUnits);
  Canvas out(w, h);
  TextStyle style;
  style.top = Hex(palette::kText);
  style.bottom = Hex(palette::kAccent);
  style.shadow = Hex(0x000000, 0.8f);
  style.shadowOffset = 1;
  DrawText(out, SharedFonts().bold, caption, h * 0.62f, w * 0.5f, h * 0.5f, Align::kCentre, style,
           w * 0.9f, 1, h * 0.04f);
  return out;
}

// A screen's own title in the lettering of the game's name.
Canvas PaintScreenTitle(const std::string& caption, float widthUnits, float heightUnits) {
  int w = Pixels(widthUnits), h = Pixels(heightUnits);
  Canvas out(w, h);
  DrawText(out, SharedFonts().bold, caption, h * 0.62f, w * 0.5f, h * 0.5f, Align::kCentre,
           TitleStyle(h * 0.62f), w * 0.9f, 1, h * 0.04f);
  return out;
}

Canvas PaintHeader(float widthUnits, float heightUnits) {
  int w = Pixels(widthUnits), h = Pixels(heightUnits);
  Canvas out(w, h);
  const Fonts& fonts = SharedFonts();
  DrawText(out, fonts.bold, "STARFIELD", h * 0.34f, w * 0.5f, h * 0.3f, Align::kCentre, TitleStyle(h * 0.34f),
           w * 0.86f, 1, h * 0.03f);
  DrawText(out, fonts.bold, "STAMPEDE", h * 0.4f, w * 0.5f, h * 0.7f, Align::kCentre, TitleStyle(h * 0.4f),
           w * 0.94f, 1, h * 0.02f);
  return out;
}

Canvas PaintDisclaimer(float widthUnits, float heightUnits) {
  int w = Pixels(widthUnits), h = Pixels(heightUnits);
  Canvas out(w, h);
  TextStyle style;
  style.top = style.bottom = Hex(palette::kText, 0.85f);
  style.shadow = Hex(0x000000, 0.8f);
  style.shadowOffset = 1;
  const Fonts& fonts = SharedFonts();
  // The menu places this picture a little past the right edge of the
  // screen, so the words keep to its left part.
  DrawText(out, fonts.bold, "Starfield Stampede (c) KelpforgeSoftware", h * 0.24f, w * 0.03f, h * 0.3f,
           Align::kLeft, style, w * 0.88f);
  DrawText(out, fonts.regular, "Every picture and sound in this game is made by its own code.", h * 0.2f, w * 0.03f,
           h * 0.7f, Align::kLeft, style, w * 0.88f);
  return out;
}

Canvas PaintRestartNotice(float widthUnits, float heightUnits) {
  int w = Pixels(widthUnits), h = Pixels(heightUnits);
  Canvas out = Canvas::FromFunction(w, h, [&](float u, float v) {
    Vec2 p{u * w, v * h};
    float sd = raster::BoxSd(p, {w * 0.5f, h * 0.5f}, {w * 0.5f - 6, h * 0.5f - 6}, 20);
    float inside = Cover(sd, 1.2f), frame = Cover(std::fabs(sd + 3) - 1.5f, 1.2f);
    Color c = raster::Mix(raster::Mix(Hex(0x1A2A50), Hex(0x080E22), v), Hex(palette::kAccent), frame);
    return raster::WithAlpha(c, std::max(inside * 0.85f, frame));
  });
  const Fonts& fonts = SharedFonts();
  DrawText(out, fonts.bold, "PLEASE NOTE", h * 0.085f, w * 0.5f, h * 0.16f, Align::kCentre, TitleStyle(h * 0.085f),
           w * 0.8f, 1, h * 0.008f);
  TextStyle body;
  body.top = body.bottom = Hex(palette::kText);
  body.shadow = Hex(0x000000, 0.8f);
  body.shadowOffset = 1;
  float size = h * 0.075f, y = h * 0.38f;
  for (const std::string& line :
       WrapWords(fonts.regular, "Changes take effect after the game is restarted.", size, w * 0.8f)) {
    DrawText(out, fonts.regular, line, size, w * 0.5f, y, Align::kCentre, body);
    y += size * 1.5f;
  }
  TextStyle hint = body;
  hint.top = hint.bottom = Hex(palette::kGold);
  DrawText(out, fonts.bold, "Press a key or click to continue", h * 0.055f, w * 0.5f, h * 0.84f, Align::kCentre, hint,
           w * 0.86f);
  return out;
}

// A small desk computer with the game on its screen.
Canvas PaintComputer(int size) {
  float px = 1.0f / size;
  return Canvas::FromFunction(size, size, [&](float u, float v) {
    Vec2 p{u, v};
    float case_ = raster::BoxSd(p, {0.5f, 0.4f}, {0.4f, 0.32f}, 0.06f);
    float screen = raster::BoxSd(p, {0.5f, 0.38f}, {0.32f, 0.24f}, 0.03f);
    float stand = raster::BoxSd(p, {0.5f, 0.77f}, {0.12f, 0.05f}, 0.01f);
    float keys = raster::BoxSd(p, {0.5f, 0.9f}, {0.42f, 0.06f}, 0.02f);
    float body = std::min({case_, stand, keys});
    Color c = raster::Mix(Hex(0xB8BCC4), Hex(0x6A707C), Clamp01((p.y - 0.1f) * 1.2f));
    // The screen shows a tiny ship and a rock.
    float ship = raster::PolygonSd({{0.42f, 0.3f}, {0.47f, 0.45f}, {0.37f, 0.45f}}, p);
    float rock = raster::CircleSd(p, {0.62f, 0.36f}, 0.06f);
    Color glass = raster::Mix(Hex(0x0E4A5C), Hex(0x051A26), Clamp01((p.y - 0.14f) * 2));
    glass = raster::Mix(glass, Hex(palette::kCanopy), Cover(ship, 1.2f * px));
    glass = raster::Mix(glass, Hex(0xB09C86), Cover(rock, 1.2f * px));
    c = raster::Mix(c, glass, Cover(screen, 1.2f * px));
    float keyRows = std::sin(p.x * 90) * std::sin(p.y * 60) > 0.3f ? 0.85f : 1.0f;
    if (keys < 0) c = raster::Shade(c, keyRows);
    return raster::WithAlpha(c, Cover(body, 1.2f * px));
  });
}

// A penguin and a little horned imp: two small mascots kept in the bundle.
Canvas PaintPenguin(int size) {
  float px = 1.0f / size;
  return Canvas::FromFunction(size, size, [&](float u, float v) {
    Vec2 p{u, v};
    float body = raster::Length({(p.x - 0.5f) / 0.3f, (p.y - 0.58f) / 0.36f}) - 1;
    float head = raster::CircleSd(p, {0.5f, 0.26f}, 0.17f);
    float belly = raster::Length({(p.x - 0.5f) / 0.19f, (p.y - 0.62f) / 0.27f}) - 1;
    float beak = raster::PolygonSd({{0.44f, 0.3f}, {0.56f, 0.3f}, {0.5f, 0.38f}}, p);
    float eyes = std::min(raster::CircleSd(p, {0.44f, 0.23f}, 0.03f), raster::CircleSd(p, {0.56f, 0.23f}, 0.03f));
    float feet = std::min(raster::BoxSd(p, {0.4f, 0.94f}, {0.08f, 0.03f}, 0.02f),
                          raster::BoxSd(p, {0.6f, 0.94f}, {0.08f, 0.03f}, 0.02f));
    float shape = std::min({body * 0.3f, head, feet});
    Color c = Hex(0x1C1E26);
    c = raster::Mix(c, Hex(0xF2F2EA), Cover(belly * 0.19f, 1.2f * px));
    c = raster::Mix(c, Hex(0xF2F2EA), Cover(eyes, 1.2f * px));
    c = raster::Mix(c, Hex(0xF5B531), std::max(Cover(beak, 1.2f * px), Cover(feet, 1.2f * px)));
    return raster::WithAlpha(c, Cover(shape, 1.2f * px));
  });
}

Canvas PaintImp(int size) {
  float px = 1.0f / size;
  return Canvas::FromFunction(size, size, [&](float u, float v) {
    Vec2 p{u, v};
    float head = raster::CircleSd(p, {0.5f, 0.56f}, 0.32f);
    float horns = std::min(raster::PolygonSd({{0.24f, 0.4f}, {0.16f, 0.08f}, {0.38f, 0.3f}}, p),
                           raster::PolygonSd({{0.76f, 0.4f}, {0.84f, 0.08f}, {0.62f, 0.3f}}, p));
    float eyes = std::min(raster::CircleSd(p, {0.4f, 0.5f}, 0.05f), raster::CircleSd(p, {0.6f, 0.5f}, 0.05f));
    float grin = std::max(std::fabs(raster::Length(p - Vec2{0.5f, 0.56f}) - 0.18f) - 0.025f, 0.66f - p.y);
    Color c = raster::Mix(Hex(0xE0302C), Hex(0x8A1418), Clamp01((p.y - 0.3f) * 1.5f));
    c = raster::Mix(c, Hex(0xF4E6D0), Cover(horns, 1.2f * px));
    c = raster::Mix(c, Hex(0xFFFFFF), Cover(eyes, 1.2f * px));
    c = raster::Mix(c, Hex(0x3A0808), Cover(grin, 1.2f * px));
    return raster::WithAlpha(c, Cover(std::min(head, horns), 1.2f * px));
  });
}

struct Sprite {
  std::string name;
  int bundle;  // 1 or 2
  std::function<Canvas()> paint;
};

// A button's two looks, both in one bundle.
void AddButton(std::vector<Sprite>& sprites, const std::string& stem, const std::string& caption,
               float w, float h, int bundle = 1) {
  sprites.push_back(
      {stem + "Normal.tga", bundle, [=] { return PaintButton(caption, w, h, false); }});
  sprites.push_back(
      {stem + "Active.tga", bundle, [=] { return PaintButton(caption, w, h, true); }});
}

// The Controls screen's pictures, at the sizes its layout gives them. All go
// to the second bundle: the first has no room left for their pixel runs.
void AddControlsSprites(std::vector<Sprite>& sprites) {
  constexpr float kRowHeight = 0.065f;
  constexpr float kLabelWidth = 0.45f;
  sprites.push_back(
      {"ControlsHeader.tga", 2, [] { return PaintScreenTitle("CONTROLS", 0.7f, 0.12f); }});
  sprites.push_back({"KeyColumn.tga", 2, [] { return PaintColumnHeading("KEY", 0.35f, 0.05f); }});
  sprites.push_back(
      {"PadColumn.tga", 2, [] { return PaintColumnHeading("CONTROLLER", 0.35f, 0.05f); }});
  const std::pair<const char*, const char*> labels[] = {
      {"TurnLeft.tga", "Turn Left"},
      {"TurnRight.tga", "Turn Right"},
      {"Thrust.tga", "Thrust"},
      {"Fire.tga", "Fire"},
      {"GiveUp.tga", "Give Up"},
      {"Pause.tga", "Pause"},
      {"Rumble.tga", "Rumble"},
      {"MusicVolume.tga", "Music Volume"},
      {"EffectsVolume.tga", "Effects Volume"},
  };
  for (const auto& [name, caption] : labels) {
    std::string text = caption;
    sprites.push_back({name, 2, [=] { return PaintRowLabel(text, kLabelWidth, kRowHeight); }});
  }
  AddButton(sprites, "Binding", "", 0.35f, kRowHeight, 2);
  AddButton(sprites, "Minus", "-", 0.07f, kRowHeight, 2);
  AddButton(sprites, "Plus", "+", 0.07f, kRowHeight, 2);
  AddButton(sprites, "Defaults", "DEFAULTS", 0.3f, 0.1f, 2);
  AddButton(sprites, "Back", "BACK", 0.2f, 0.1f, 2);
}

}  // namespace

bool WriteMenuBundles(const std::string& baseDir) {
  if (!SharedFonts().ok()) return false;
  std::vector<Sprite> sprites = {
      {"Header.tga", 1, [] { return PaintHeader(1.0f, 0.35f); }},
      {"Disclaimer.tga", 1, [] { return PaintDisclaimer(0.77f, 0.15f); }},
      {"ShipScr.tga", 2, [] {
         Canvas c(256, 256);
         DrawShipInFlight(c, {128, 118}, 150, 0.45f);
         return c;
       }},
      {"asteroid2.tga", 2, [] { return PaintRock(2, 96, true).lit; }},
      {"tux.tga", 1, [] { return PaintPenguin(80); }},
      {"beastie.tga", 1, [] { return PaintImp(80); }},
      {"PC.tga", 1, [] { return PaintComputer(80); }},
      {"Resolution.tga", 1, [] { return PaintLabel("Resolution", 0.5f, 0.1f); }},
      {"ColorDepth.tga", 1, [] { return PaintLabel("Colour Depth", 0.6f, 0.1f); }},
      {"GLSL.tga", 1, [] { return PaintLabel("GLSL Shaders", 0.6f, 0.1f); }},
      {"Sound.tga", 1, [] { return PaintLabel("Sound", 0.4f, 0.1f); }},
      {"Brightness.tga", 1, [] { return PaintLabel("Brightness", 0.6f, 0.1f); }},
      {"RestartNotice.tga", 2, [] { return PaintRestartNotice(0.8f, 0.6f); }},
  };
  AddButton(sprites, "Start", "START", 0.3f, 0.13f);
  AddButton(sprites, "Options", "OPTIONS", 0.34f, 0.13f);
  AddButton(sprites, "ClearHigh", "CLEAR HIGH SCORE", 0.54f, 0.13f);
  AddButton(sprites, "Exit", "EXIT", 0.3f, 0.13f);
  AddButton(sprites, "Controls", "CONTROLS", 0.4f, 0.13f);
  AddButton(sprites, "1024", "1024 x 768", 0.4f, 0.1f);
  AddButton(sprites, "800", "800 x 600", 0.4f, 0.1f);
  AddButton(sprites, "640", "640 x 480", 0.4f, 0.1f);
  AddButton(sprites, "32", "32 BIT", 0.3f, 0.1f);
  AddButton(sprites, "16", "16 BIT", 0.3f, 0.1f);
  AddButton(sprites, "On", "ON", 0.125f, 0.1f);
  AddButton(sprites, "Off", "OFF", 0.125f, 0.1f);
  AddButton(sprites, "High", "HIGH", 0.25f, 0.1f);
  AddButton(sprites, "Medium", "MEDIUM", 0.4f, 0.1f);
  AddButton(sprites, "Low", "LOW", 0.225f, 0.1f);
  AddButton(sprites, "OK", "OK", 0.2f, 0.1f);
  AddControlsSprites(sprites);

  for (int bundle = 1; bundle <= 2; ++bundle) {
    std::vector<PackPicture> pictures;
    std::vector<std::vector<uint8_t>> bytes;
    for (const Sprite& sprite : sprites) {
      if (sprite.bundle != bundle) continue;
      Canvas canvas = sprite.paint();
      pictures.push_back({sprite.name, canvas.width(), canvas.height(), 4, nullptr});
      bytes.push_back(canvas.ToBytes(true));
    }
    for (size_t i = 0; i < pictures.size(); ++i) pictures[i].pixels = bytes[i].data();
    std::vector<uint8_t> file;
    std::string error;
    PackOptions options;  // 4 bytes per pixel, no mipmaps, 1024 x 1024
    std::string path = "tbundles/menu/menu" + std::to_string(bundle) + ".etb";
    if (!PackBundle(pictures, options, &file, nullptr, &error)) {
      std::fprintf(stderr, "assetgen: cannot pack %s: %s\n", path.c_str(), error.c_str());
      return false;
    }
    if (!WriteFileBytes(baseDir, path, file)) return false;
  }
  return true;
}

}  // namespace art
