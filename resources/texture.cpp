#include "resources/texture.h"

#include <cstring>
#include <string>

#include "platform/asset_directory.h"
#include "platform/console_log.h"
#include "platform/gl_table.h"
#include "resources/tga.h"

Texture::~Texture() {
  if (glName != kNoName) {
    const GLuint texture = glName;
    gl.glDeleteTextures(1, &texture);
  }
}

bool Texture::Load(const char* path, bool mipmapped) {
  if (!Decode(path, mipmapped)) return false;
  UploadOrHandOver(this);
  return true;
}

namespace {

// A missing or damaged picture is otherwise seen only as a blank quad.
bool LogFailure(const char* path) {
  LogText((std::string("Texture load failed: ") + path).c_str());
  return false;
}

}  // namespace

bool Texture::Decode(const char* path, bool mipmapped) {
  this->mipmapped = mipmapped;
  AssetFile file = nullptr;
  OpenAssetFile(path, "rb", &file);
  if (!file) return LogFailure(path);
  std::memset(name, 0, sizeof(name));
  std::strncpy(name, path, sizeof(name) - 1);

  DecodedImage image;
  const bool decoded = DecodeTga(file, &image);
  AssetClose(file);
  if (!decoded) return LogFailure(path);
  bitsPerPixel = image.bitsPerPixel;
  width = image.width;
  height = image.height;
  dataSize = image.dataSize;
  pixels = std::move(image.pixels);
  return true;
}

void Texture::Upload() {
  GLuint texture = 0;
  gl.glGenTextures(1, &texture);
  glName = texture;
  gl.glBindTexture(GL_TEXTURE_2D, glName);
  if (!UploadPixels(bitsPerPixel / 8, width, height, pixels.get(), mipmapped)) mipmapped = false;
  pixels.reset();
}

void Texture::Bind() const { BindWithFilters(glName, mipmapped); }

void BindWithFilters(uint32_t glName, bool mipmapped) {
  gl.glEnable(GL_TEXTURE_2D);
  gl.glBindTexture(GL_TEXTURE_2D, glName);
  gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                     mipmapped ? GL_LINEAR_MIPMAP_NEAREST : GL_LINEAR);
}

bool UploadPixels(int32_t bytesPerPixel, int32_t width, int32_t height, const uint8_t* pixels,
                  bool mipmapped) {
  const GLint components = bytesPerPixel == 3 ? 3 : 4;
  const GLenum format = bytesPerPixel == 3 ? GL_RGB : GL_RGBA;
  if (mipmapped) return BuildMipmaps(GL_TEXTURE_2D, components, width, height, format, pixels);
  gl.glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  gl.glTexImage2D(GL_TEXTURE_2D, 0, components, width, height, 0, format, GL_UNSIGNED_BYTE, pixels);
  return false;
}
