#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Packs named pictures into one texture bundle (".etb") as the game's
// TextureBundle reads it: a scrambled index, the canvas size and the canvas as
// runs of equal pixels. Used by bundletool and the asset generator. Any
// thread; nothing is shared between calls.

// One picture in memory, owned by the caller. Rows go bottom-up (the TGA's
// and the game's order); the picture keeps this orientation in the canvas.
struct PackPicture {
  std::string name;                  // the entry name, e.g. "StartNormal.tga"
  int32_t width = 0;                 // at least 1
  int32_t height = 0;                // at least 1
  int32_t channels = 4;              // 3 (R, G, B) or 4 (R, G, B, A) bytes per pixel
  const uint8_t* pixels = nullptr;   // width × height × channels bytes
};

struct PackOptions {
  int32_t bytesPerPixel = 4;         // 3 or 4: the bundle's texel format
  bool mipmaps = false;              // the bundle's mipmap flag
  int32_t size = 1024;               // the canvas is size × size texels
};

// Where a picture landed: texels x0 .. x1 - 1, y0 .. y1 - 1 of the canvas.
struct PackPlacement {
  std::string name;
  int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

// Places every picture (at least one texel from the others and from the
// canvas edges; entries in the order given), fills the rest of the canvas
// with transparent black and encodes the file. On success stores the file
// bytes in *fileBytes, the placements (optional, may be null) and returns
// true. On failure (bad options or pictures, pictures that do not fit, or a
// canvas the game's run reader would not read completely) stores a one-line
// reason in *error and returns false; *fileBytes is then left empty.
bool PackBundle(const std::vector<PackPicture>& pictures, const PackOptions& options,
                std::vector<uint8_t>* fileBytes, std::vector<PackPlacement>* placements,
                std::string* error);
