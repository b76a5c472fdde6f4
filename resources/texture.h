#pragma once
#include <cstdint>
#include <memory>

#include "resources/image_resource.h"

// One TGA image as an OpenGL 2D texture. Load decodes the file and gets it
// uploaded (directly on the main thread, through the hand-off on the loader
// thread); the decoded pixels live only until the upload. Upload, Bind and
// destruction belong to the main thread, which owns the GL context.
class Texture : public ImageResource {
 public:
  static constexpr uint32_t kNoName = 0xFFFFFFFFu;

  Texture() = default;
  Texture(const Texture&) = delete;
  Texture& operator=(const Texture&) = delete;
  // Deletes the GL texture if there is one.
  ~Texture() override;

  // path: relative to the asset directory, e.g. "textures/ship.tga"; kept in
  // name, cut to 63 characters. mipmapped asks for a mipmap chain. False when
  // the file is missing or refused, with "Texture load failed: PATH" in the
  // console log; the texture then stays without an image and binding it
  // draws nothing.
  bool Load(const char* path, bool mipmapped) override;
  // The first half of Load, on any thread: reads and decodes the file into
  // pixels and stops short of the upload. False as for Load.
  bool Decode(const char* path, bool mipmapped);
  // Main thread: creates the GL texture (with its mipmap chain when
  // requested and the sides are powers of two) and releases the pixels.
  void Upload() override;
  // Main thread: enables GL_TEXTURE_2D, binds the texture and sets its filters.
  void Bind() const;

  char name[64] = {};
  int32_t bitsPerPixel = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t dataSize = 0;
  std::unique_ptr<uint8_t[]> pixels;  // R, G, B (, A), rows bottom-up; until uploaded
  uint32_t glName = kNoName;
  bool mipmapped = false;  // cleared when the chain could not be built
};

// Shared by textures and bundles: binds glName on GL_TEXTURE_2D with linear
// magnification and GL_LINEAR_MIPMAP_NEAREST or GL_LINEAR minification.
void BindWithFilters(uint32_t glName, bool mipmapped);

// Shared by textures and bundles: uploads pixels to the bound texture as
// level 0, or with its chain when mipmapped; returns whether a chain was built.
bool UploadPixels(int32_t bytesPerPixel, int32_t width, int32_t height, const uint8_t* pixels,
                  bool mipmapped);
