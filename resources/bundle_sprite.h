#pragma once

class TextureBundle;

// One named picture of a bundle as the texture coordinates of a quad's four
// corners. Owns nothing; its bundle must outlive it.
class BundleSprite {
 public:
  // Any thread, after the bundle is loaded. Looks the picture up; a name the
  // bundle lacks leaves all eight coordinates 0.
  void Init(TextureBundle* bundle, const char* name);
  // Main thread: binds the bundle and points the texture coordinate array at
  // coords. The caller enables that array, gives the vertices and draws.
  void Bind() const;

  TextureBundle* bundle = nullptr;
  // (s, t) of the upper left, upper right, lower left and lower right corners.
  float coords[8] = {};
};
