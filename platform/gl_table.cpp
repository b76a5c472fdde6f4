#include "platform/gl_table.h"

#include <dlfcn.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "platform/console_log.h"

GlTable gl;

namespace {

enum class GlGroup {
  None,
  Multitexture,
  PointParameters,
  TextureCompression,
  TransposeMatrix,
  VertexBufferObject,
  ShaderObjects,
  VertexAttrib,
  FragmentProgram,
  FramebufferObject,
  FramebufferObjectExt
};

// Names longer than this are never one of ours and are skipped unread.
constexpr std::size_t kLongestExtensionName = 63;

GlProcAddressFunction procAddress = nullptr;

// The mipmap builder's scratch buffer; main thread only (UnloadGl frees it
// after the context is gone).
std::vector<uint8_t> mipmapScratch;

void* FindProc(const char* name) {
  if (procAddress) return procAddress(name);
  return gl.library ? dlsym(gl.library, name) : nullptr;
}

void FetchGroup(GlGroup group) {
#define SS_GL_EXTENSION_FUNCTION(g, ret, name, params, args) \
  if (group == GlGroup::g) gl.name = reinterpret_cast<decltype(gl.name)>(FindProc(#name));
#include "platform/gl_extension_functions.inc"
#undef SS_GL_EXTENSION_FUNCTION
}

void RecordExtension(const char* name, std::size_t length) {
  if (length > kLongestExtensionName) return;
#define SS_GL_EXTENSION(flag, text, group)                                   \
  if (std::strlen(text) == length && std::memcmp(name, text, length) == 0) { \
    gl.flag = true;                                                         \
    FetchGroup(GlGroup::group);                                             \
    return;                                                                 \
  }
#include "platform/gl_extensions.inc"
#undef SS_GL_EXTENSION
}

bool IsPowerOfTwoOfAtLeastTwo(GLsizei n) { return n >= 2 && (n & (n - 1)) == 0; }

// One 2 × 2 box-filtered level from a level of width × height pixels of
// pixelSize bytes. Writing over the source buffer is safe: every output pixel
// lies at or before the first input pixel it still needs.
void HalveLevel(const uint8_t* source, uint8_t* target, int width, int height, int pixelSize) {
  const int targetWidth = width / 2;
  const int targetHeight = height / 2;
  const std::size_t sourceRow = static_cast<std::size_t>(width) * pixelSize;
  for (int y = 0; y < targetHeight; ++y) {
    const uint8_t* lower = source + 2 * y * sourceRow;
    const uint8_t* upper = lower + sourceRow;
    uint8_t* out = target + static_cast<std::size_t>(y) * targetWidth * pixelSize;
    for (int x = 0; x < targetWidth; ++x) {
      for (int c = 0; c < pixelSize; ++c) {
        out[c] = static_cast<uint8_t>((lower[c] + lower[c + pixelSize] + upper[c] + upper[c + pixelSize]) >> 2);
      }
      lower += 2 * pixelSize;
      upper += 2 * pixelSize;
      out += pixelSize;
    }
  }
}

}  // namespace

void SetGlProcAddressFunction(GlProcAddressFunction function) { procAddress = function; }

bool LoadGl(const char* libraryName) {
  if (!libraryName) return false;
  gl.library = dlopen(libraryName, RTLD_NOW | RTLD_LOCAL);
  OpenConsoleLog();
  LogAppend("loading library: ");
  LogAppend(libraryName);
  LogAppend("... ");
  LogLine(gl.library ? "Success!" : "Failed");
  CloseConsoleLog();
  if (!gl.library) return false;
#define SS_GL_FUNCTION(ret, name, params, args) \
  gl.name = reinterpret_cast<decltype(gl.name)>(dlsym(gl.library, #name));
#include "platform/gl_core.inc"
#undef SS_GL_FUNCTION
  return true;
}

bool ReadGlExtensions() {
#define SS_GL_EXTENSION(flag, text, group) gl.flag = false;
#include "platform/gl_extensions.inc"
#undef SS_GL_EXTENSION
  if (!gl.glGetString) return true;
  OpenConsoleLog();
  for (GLenum which : {GL_RENDERER, GL_VENDOR, GL_VERSION, GL_EXTENSIONS}) {
    if (const GLubyte* text = gl.glGetString(which)) LogText(reinterpret_cast<const char*>(text));
  }
  if (const GLubyte* list = gl.glGetString(GL_EXTENSIONS)) {
    const char* cursor = reinterpret_cast<const char*>(list);
    while (*cursor) {
      const std::size_t length = std::strcspn(cursor, " ");
      if (length > 0) RecordExtension(cursor, length);
      cursor += length;
      if (*cursor == ' ') ++cursor;
    }
  }
  CloseConsoleLog();
  return true;
}

bool UnloadGl() {
  if (gl.library) dlclose(gl.library);
  GlTable cleared;
#define SS_GL_EXTENSION(flag, text, group) cleared.flag = gl.flag;
#include "platform/gl_extensions.inc"
#undef SS_GL_EXTENSION
  gl = cleared;
  std::vector<uint8_t>().swap(mipmapScratch);
  return true;
}

void Perspective(double fovValue, double aspect, double zNear, double zFar) {
  const double f = 1.0 / std::tan(fovValue / 2.0);
  GLdouble m[16] = {};
  m[0] = f / aspect;
  m[5] = f;
  m[10] = (zNear + zFar) / (zNear - zFar);
  m[11] = -1.0;
  m[14] = 2.0 * zNear * zFar / (zNear - zFar);
  gl.glMultMatrixd(m);
}

bool BuildMipmaps(GLenum target, GLint components, GLsizei width, GLsizei height, GLenum format,
                  const void* pixels) {
  gl.glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  gl.glTexImage2D(target, 0, components, width, height, 0, format, GL_UNSIGNED_BYTE, pixels);
  if (!IsPowerOfTwoOfAtLeastTwo(width) || !IsPowerOfTwoOfAtLeastTwo(height)) return false;

  const int pixelSize = components == 3 ? 3 : 4;
  const std::size_t needed = static_cast<std::size_t>(width / 2) * (height / 2) * pixelSize;
  if (mipmapScratch.size() < needed) {
    std::vector<uint8_t>().swap(mipmapScratch);
    mipmapScratch.resize(needed);
  }
  const uint8_t* source = static_cast<const uint8_t*>(pixels);
  GLint level = 0;
  while (width >= 2 && height >= 2) {
    HalveLevel(source, mipmapScratch.data(), width, height, pixelSize);
    source = mipmapScratch.data();
    width /= 2;
    height /= 2;
    ++level;
    gl.glTexImage2D(target, level, components, width, height, 0, format, GL_UNSIGNED_BYTE, source);
  }
  // A chain that stopped before 1 × 1 (sides not equal) is only complete for
  // the minifying filter when GL is told where it ends.
  if (width != height) gl.glTexParameteri(target, GL_TEXTURE_MAX_LEVEL, level);
  return true;
}
