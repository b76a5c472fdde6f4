#pragma once
#include <cstdint>
#include <vector>

#include "resources/image_resource.h"
#include "resources/texture_bundle_format.h"

// An atlas of named pictures in one GL texture, loaded from a ".etb" file
// (see texture_bundle_format.h). Load runs on the loader or main thread and
// ends with the upload hand-off; Upload, Bind and destruction run on the main
// thread. Unlike a Texture the bundle keeps its canvas after the upload.
class TextureBundle : public ImageResource {
 public:
  // A 1024 × 1024 canvas of magenta (alpha 0 with 4 bytes per pixel), one
  // region (1024, 1024, 0, 0, 1) and no pictures.
  TextureBundle(int32_t bytesPerPixel, bool mipmapped);
  TextureBundle(const TextureBundle&) = delete;
  TextureBundle& operator=(const TextureBundle&) = delete;
  ~TextureBundle() override;

  // Replaces everything with the file's content; the file's flag decides
  // about mipmaps, the argument is ignored. False when the file is missing or
  // refused, with "Bundle load failed: PATH" in the console log: the bundle
  // is then left without pictures or canvas.
  bool Load(const char* path, bool mipmapped) override;
  // Main thread: (re)creates the GL texture from the canvas.
  void Upload() override;
  // Main thread: enables GL_TEXTURE_2D, binds the texture and sets its filters.
  void Bind() const;

  // The texture coordinates of the first entry called exactly `name`, pulled
  // inwards by `inset`: s0, t0 at the first column and row, s1, t1 at the
  // picture's far edges. False, outputs untouched, when no entry matches.
  bool FindPicture(const char* name, float* s0, float* t0, float* s1, float* t1) const;

  int32_t bytesPerPixel = 4;
  std::vector<BundleRegion> regions;
  std::vector<BundleEntry> entries;
  uint32_t glName = 0;  // 0 until the first upload
  bool mipmapped = false;
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> canvas;       // R, G, B (, A), rows bottom-up
  std::vector<float> columnCoords;   // width entries
  std::vector<float> rowCoords;      // height entries
  double inset = 1.0 / 1024.0;
};

// Texture coordinates of the n texel edges of a side: i / n, except that the
// last entry is 1.0.
std::vector<float> BundleCoordinateTable(int32_t n);
