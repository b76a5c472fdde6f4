#include "resources/texture_bundle.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/asset_directory.h"
#include "platform/console_log.h"
#include "platform/gl_table.h"
#include "resources/texture.h"

namespace {

constexpr int32_t kDefaultSide = 1024;

// Entries are taken from the file as they are; a corner outside the canvas
// is moved onto its last texel edge instead of reading past the table.
float Coordinate(const std::vector<float>& table, int32_t index) {
  if (table.empty()) return 0.0f;
  const int32_t last = static_cast<int32_t>(table.size()) - 1;
  return table[std::clamp(index, 0, last)];
}

}  // namespace

std::vector<float> BundleCoordinateTable(int32_t n) {
  std::vector<float> table(std::max(n, 0));
  for (int32_t i = 1; i < n; ++i) table[i] = static_cast<float>(i) / static_cast<float>(n);
  if (n > 1) table[n - 1] = 1.0f;
  return table;
}

TextureBundle::TextureBundle(int32_t bytesPerPixel, bool mipmapped)
    : bytesPerPixel(bytesPerPixel), mipmapped(mipmapped), width(kDefaultSide), height(kDefaultSide) {
  columnCoords = BundleCoordinateTable(width);
  rowCoords = BundleCoordinateTable(height);
  const std::size_t pixelSize = bytesPerPixel == 3 ? 3 : 4;
  const uint8_t magenta[4] = {255, 0, 255, 0};
  canvas.resize(static_cast<std::size_t>(width) * height * pixelSize);
  for (std::size_t i = 0; i < canvas.size(); i += pixelSize) std::memcpy(&canvas[i], magenta, pixelSize);
  BundleRegion initial;
  initial.values[0] = width;
  initial.values[1] = height;
  initial.flag = 1;
  regions.push_back(initial);
}

TextureBundle::~TextureBundle() {
  if (glName != 0) {
    const GLuint texture = glName;
    gl.glDeleteTextures(1, &texture);
  }
}

bool TextureBundle::Load(const char* path, bool) {
  regions.clear();
  entries.clear();
  std::vector<uint8_t>().swap(canvas);
  AssetFile file = nullptr;
  OpenAssetFile(path, "rb", &file);
  BundleContent content;
  const bool read = file && ReadBundle(file, &content);
  if (file) AssetClose(file);
  if (!read) {
    LogText((std::string("Bundle load failed: ") + path).c_str());
    return false;
  }

  BundleIndex& index = content.index;
  bytesPerPixel = index.bytesPerPixel;
  mipmapped = index.mipmapped;
  width = index.width;
  height = index.height;
  columnCoords = BundleCoordinateTable(width);
  rowCoords = BundleCoordinateTable(height);
  entries = std::move(index.entries);
  regions = std::move(index.regions);
  canvas = std::move(content.canvas);
  UploadOrHandOver(this);
  return true;
}

void TextureBundle::Upload() {
  if (canvas.empty()) return;
  GLuint texture = glName;
  if (texture != 0) gl.glDeleteTextures(1, &texture);
  gl.glGenTextures(1, &texture);
  glName = texture;
  gl.glBindTexture(GL_TEXTURE_2D, glName);
  if (!UploadPixels(bytesPerPixel, width, height, canvas.data(), mipmapped)) mipmapped = false;
}

void TextureBundle::Bind() const { BindWithFilters(glName, mipmapped); }

bool TextureBundle::FindPicture(const char* name, float* s0, float* t0, float* s1, float* t1) const {
  const std::size_t length = std::strlen(name);
  for (const BundleEntry& entry : entries) {
    if (entry.name.size() != length || std::memcmp(entry.name.data(), name, length) != 0) continue;
    const float pull = static_cast<float>(inset);
    *s0 = Coordinate(columnCoords, entry.x0) + pull;
    *t0 = Coordinate(rowCoords, entry.y0) + pull;
    *s1 = Coordinate(columnCoords, entry.x1) - pull;
    *t1 = Coordinate(rowCoords, entry.y1) - pull;
    return true;
  }
  return false;
}
