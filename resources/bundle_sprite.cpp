#include "resources/bundle_sprite.h"

#include "platform/gl_table.h"
#include "resources/texture_bundle.h"

void BundleSprite::Init(TextureBundle* bundle, const char* name) {
  this->bundle = bundle;
  float s0 = 0, t0 = 0, s1 = 0, t1 = 0;
  bundle->FindPicture(name, &s0, &t0, &s1, &t1);
  const float corners[8] = {s0, t1, s1, t1, s0, t0, s1, t0};
  for (int i = 0; i < 8; ++i) coords[i] = corners[i];
}

void BundleSprite::Bind() const {
  bundle->Bind();
  gl.glTexCoordPointer(2, GL_FLOAT, 0, coords);
}
