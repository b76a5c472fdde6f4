#include "null_platform.h"

#include <cmath>

#include "platform/asset_directory.h"
#include "resources/bitmap_font.h"

NullPlatform::NullPlatform(double frameSeconds, FakeClock* clock)
    : clock_(clock ? clock : &ownClock_.emplace()), frameSeconds_(frameSeconds), savedSettings_(Settings) {
  Settings = SettingsRecord{};
  StartAssetDirectoryAt(assets.withSlash().c_str());
  for (int32_t slot = 0; slot < kTextureSlotCount; ++slot) {
    if (catalogue.textures[slot]) continue;
    catalogue.textures[slot] = new Texture;
    catalogue.textures[slot]->glName = TextureName(static_cast<TextureSlot>(slot));
    standIn_[slot] = true;
  }
  gl.OnCall("glClear", [this](GlCall&) { BeginFrame(); });
  gl.OnCall("glColor3f", [this](GlCall& call) {
    for (int k = 0; k < 3; ++k) color_[k] = static_cast<float>(call.Float(k));
    color_[3] = 1;
  });
  gl.OnCall("glColor4f", [this](GlCall& call) {
    for (int k = 0; k < 4; ++k) color_[k] = static_cast<float>(call.Float(k));
  });
  gl.OnCall("glTranslated", [this](GlCall& call) {
    penX_ = call.Float(0);
    penY_ = call.Float(1);
  });
  // The font calls its glyph lists by glyph number, the character code - 32.
  gl.OnCall("glCallLists", [this](GlCall& call) {
    PrintedText printed;
    printed.frame = frames_;
    const auto* glyphs = static_cast<const uint8_t*>(call.Pointer(2));
    for (int64_t k = 0; k < call.Int(0); ++k) printed.text += static_cast<char>(glyphs[k] + 32);
    printed.x = penX_;
    printed.y = penY_;
    for (int k = 0; k < 4; ++k) printed.color[k] = color_[k];
    texts_.push_back(printed);
  });
}

NullPlatform::~NullPlatform() {
  for (int32_t slot = 0; slot < kTextureSlotCount; ++slot) {
    if (!standIn_[slot]) continue;
    delete catalogue.textures[slot];
    catalogue.textures[slot] = nullptr;
  }
  StopAssetDirectory();
  Settings = savedSettings_;
}

void NullPlatform::BeginFrame() {
  if (onlyCurrentFrame_) gl.Clear();
  clock_->Advance(frameSeconds_);
  ++frames_;
  if (eachFrame_) eachFrame_(frames_);
}

std::vector<NullPlatform::PrintedText> NullPlatform::TextsOfFrame(int frame) const {
  std::vector<PrintedText> found;
  for (const PrintedText& printed : texts_) {
    if (printed.frame == frame) found.push_back(printed);
  }
  return found;
}

bool NullPlatform::PrintedText::At(int32_t column, int32_t row, int32_t sizeClass) const {
  const GlyphSize glyph = GlyphSizeOf(sizeClass, Settings.screenWidth, Settings.screenHeight);
  return std::abs(x - column * static_cast<double>(glyph.width)) < 1e-3 &&
         std::abs(y - row * static_cast<double>(glyph.height)) < 1e-3;
}
