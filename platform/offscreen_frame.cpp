#include "platform/offscreen_frame.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "platform/gl_table.h"
#include "platform/picture_brightness.h"

namespace {

// The same entry points under the ARB names or the older EXT ones; both take
// the same arguments and the same enumerants.
struct FramebufferCalls {
  decltype(GlTable::glGenFramebuffers) genFramebuffers = nullptr;
  decltype(GlTable::glDeleteFramebuffers) deleteFramebuffers = nullptr;
  decltype(GlTable::glBindFramebuffer) bindFramebuffer = nullptr;
  decltype(GlTable::glFramebufferTexture2D) framebufferTexture2D = nullptr;
  decltype(GlTable::glFramebufferRenderbuffer) framebufferRenderbuffer = nullptr;
  decltype(GlTable::glCheckFramebufferStatus) checkFramebufferStatus = nullptr;
  decltype(GlTable::glGenRenderbuffers) genRenderbuffers = nullptr;
  decltype(GlTable::glDeleteRenderbuffers) deleteRenderbuffers = nullptr;
  decltype(GlTable::glBindRenderbuffer) bindRenderbuffer = nullptr;
  decltype(GlTable::glRenderbufferStorage) renderbufferStorage = nullptr;

  bool Complete() const {
    return genFramebuffers && deleteFramebuffers && bindFramebuffer && framebufferTexture2D &&
           framebufferRenderbuffer && checkFramebufferStatus && genRenderbuffers && deleteRenderbuffers &&
           bindRenderbuffer && renderbufferStorage;
  }
};

// The window system's own framebuffer.
constexpr GLuint kWindowFramebuffer = 0;

// The offscreen picture; main thread only.
struct OffscreenFrame {
  FramebufferCalls calls;
  GLuint framebuffer = 0;
  GLuint colour = 0;        // texture
  GLuint depthStencil = 0;  // renderbuffer
  int32_t width = 0;
  int32_t height = 0;
  bool active = false;
};
OffscreenFrame frame;

// Written by tests before a start, read by the system and main threads.
std::atomic<bool> framebufferObjectsAllowed{true};

FramebufferCalls ArbCalls() {
  return {gl.glGenFramebuffers,       gl.glDeleteFramebuffers,      gl.glBindFramebuffer,
          gl.glFramebufferTexture2D,  gl.glFramebufferRenderbuffer, gl.glCheckFramebufferStatus,
          gl.glGenRenderbuffers,      gl.glDeleteRenderbuffers,     gl.glBindRenderbuffer,
          gl.glRenderbufferStorage};
}

FramebufferCalls ExtCalls() {
  return {gl.glGenFramebuffersEXT,       gl.glDeleteFramebuffersEXT,      gl.glBindFramebufferEXT,
          gl.glFramebufferTexture2DEXT,  gl.glFramebufferRenderbufferEXT, gl.glCheckFramebufferStatusEXT,
          gl.glGenRenderbuffersEXT,      gl.glDeleteRenderbuffersEXT,     gl.glBindRenderbufferEXT,
          gl.glRenderbufferStorageEXT};
}

// The ARB extension where the driver has it; the EXT one only together with
// packed depth-stencil, since every frame clears and tests the stencil.
FramebufferCalls ChooseCalls() {
  if (gl.arbFramebufferObject && ArbCalls().Complete()) return ArbCalls();
  if (gl.extFramebufferObject && gl.extPackedDepthStencil && ExtCalls().Complete()) return ExtCalls();
  return {};
}

void MakeColourTexture(GLint internalFormat) {
  gl.glBindTexture(GL_TEXTURE_2D, frame.colour);
  gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  gl.glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, frame.width, frame.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                  nullptr);
  gl.glBindTexture(GL_TEXTURE_2D, 0);
  frame.calls.framebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, frame.colour, 0);
}

bool Complete() {
  return frame.calls.checkFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

}  // namespace

bool ExtensionListed(const char* list, const char* name) {
  const std::size_t length = std::strlen(name);
  const char* cursor = list;
  while (*cursor) {
    const std::size_t word = std::strcspn(cursor, " ");
    if (word == length && std::memcmp(cursor, name, length) == 0) return true;
    cursor += word;
    if (*cursor == ' ') ++cursor;
  }
  return false;
}

PictureRect FitPicture(int32_t pictureWidth, int32_t pictureHeight, int32_t drawableWidth,
                       int32_t drawableHeight) {
  PictureRect rect;
  if (pictureWidth <= 0 || pictureHeight <= 0 || drawableWidth <= 0 || drawableHeight <= 0) return rect;
  // Compared crosswise in 64 bits so the shape is kept without rounding.
  const int64_t wideness = int64_t{drawableWidth} * pictureHeight - int64_t{drawableHeight} * pictureWidth;
  if (wideness >= 0) {  // as wide or wider than the picture: bars left and right
    rect.height = drawableHeight;
    rect.width = static_cast<int32_t>(int64_t{drawableHeight} * pictureWidth / pictureHeight);
  } else {  // taller: bars above and below
    rect.width = drawableWidth;
    rect.height = static_cast<int32_t>(int64_t{drawableWidth} * pictureHeight / pictureWidth);
  }
  rect.x = (drawableWidth - rect.width) / 2;
  rect.y = (drawableHeight - rect.height) / 2;
  rect.sharp = rect.width % pictureWidth == 0 && rect.height % pictureHeight == 0 &&
               rect.width / pictureWidth == rect.height / pictureHeight;
  return rect;
}

void AllowFramebufferObjects(bool allowed) { framebufferObjectsAllowed.store(allowed); }

bool FramebufferObjectsAllowed() { return framebufferObjectsAllowed.load(); }

bool FramebufferObjectsOffered(const char* extensionList) {
  if (!FramebufferObjectsAllowed() || !extensionList) return false;
  return ExtensionListed(extensionList, "GL_ARB_framebuffer_object") ||
         (ExtensionListed(extensionList, "GL_EXT_framebuffer_object") &&
          ExtensionListed(extensionList, "GL_EXT_packed_depth_stencil"));
}

bool CreateOffscreenFrame(int32_t width, int32_t height, bool sixteenBit) {
  DestroyOffscreenFrame();
  if (!FramebufferObjectsAllowed() || width <= 0 || height <= 0) return false;
  frame.calls = ChooseCalls();
  if (!frame.calls.Complete()) return false;
  frame.width = width;
  frame.height = height;
  frame.calls.genFramebuffers(1, &frame.framebuffer);
  frame.calls.bindFramebuffer(GL_FRAMEBUFFER, frame.framebuffer);
  gl.glGenTextures(1, &frame.colour);

  frame.calls.genRenderbuffers(1, &frame.depthStencil);
  frame.calls.bindRenderbuffer(GL_RENDERBUFFER, frame.depthStencil);
  frame.calls.renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
  frame.calls.bindRenderbuffer(GL_RENDERBUFFER, 0);
  // One packed buffer on both points: the EXT extension knows no combined one.
  frame.calls.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, frame.depthStencil);
  frame.calls.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_STENCIL_ATTACHMENT, GL_RENDERBUFFER, frame.depthStencil);

  MakeColourTexture(sixteenBit ? GL_RGB5 : GL_RGBA8);
  // A driver that cannot render into 16-bit colour still gets the picture.
  if (!Complete() && sixteenBit) MakeColourTexture(GL_RGBA8);
  if (!Complete()) {
    DestroyOffscreenFrame();
    return false;
  }
  frame.active = true;
  return true;
}

void DestroyOffscreenFrame() {
  if (frame.calls.Complete()) {
    frame.calls.bindFramebuffer(GL_FRAMEBUFFER, kWindowFramebuffer);
    if (frame.framebuffer) frame.calls.deleteFramebuffers(1, &frame.framebuffer);
    if (frame.depthStencil) frame.calls.deleteRenderbuffers(1, &frame.depthStencil);
  }
  if (frame.colour && gl.glDeleteTextures) gl.glDeleteTextures(1, &frame.colour);
  frame = OffscreenFrame();
}

bool OffscreenFrameActive() { return frame.active; }

void BindOffscreenFrame() {
  if (frame.active) frame.calls.bindFramebuffer(GL_FRAMEBUFFER, frame.framebuffer);
}

void DrawOffscreenFrame(int32_t drawableWidth, int32_t drawableHeight) {
  if (!frame.active) return;
  const PictureRect rect = FitPicture(frame.width, frame.height, drawableWidth, drawableHeight);
  // A shader left in use would colour the quad; the attribute stack does not
  // hold it, so it is put back by hand.
  const bool shaders = gl.glGetHandleARB && gl.glUseProgramObjectARB;
  const GLhandleARB program = shaders ? gl.glGetHandleARB(GL_PROGRAM_OBJECT_ARB) : 0;
  if (shaders) gl.glUseProgramObjectARB(0);
  // Bound first: the draw and read buffers on the stack belong to whichever
  // framebuffer is bound, and the offscreen one's would not fit the window.
  frame.calls.bindFramebuffer(GL_FRAMEBUFFER, kWindowFramebuffer);
  gl.glPushAttrib(GL_ALL_ATTRIB_BITS);

  gl.glDisable(GL_SCISSOR_TEST);
  gl.glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  gl.glViewport(0, 0, drawableWidth, drawableHeight);
  gl.glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  gl.glClear(GL_COLOR_BUFFER_BIT);
  gl.glViewport(rect.x, rect.y, rect.width, rect.height);

  for (GLenum off : {GL_DEPTH_TEST, GL_STENCIL_TEST, GL_LIGHTING, GL_BLEND, GL_ALPHA_TEST, GL_CULL_FACE, GL_FOG,
                     GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R, GL_TEXTURE_GEN_Q}) {
    gl.glDisable(off);
  }
  if (gl.arbMultitexture && gl.glActiveTextureARB) gl.glActiveTextureARB(GL_TEXTURE0_ARB);
  gl.glEnable(GL_TEXTURE_2D);
  gl.glBindTexture(GL_TEXTURE_2D, frame.colour);
  const GLint filter = rect.sharp ? GL_NEAREST : GL_LINEAR;
  gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
  gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
  gl.glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  // Brightness other than High goes through its program; the game's own
  // program is put back at the end of the pass.
  if (shaders) UsePictureBrightness();

  for (GLenum matrix : {GL_TEXTURE, GL_PROJECTION, GL_MODELVIEW}) {
    gl.glMatrixMode(matrix);
    gl.glPushMatrix();
    gl.glLoadIdentity();
  }
  gl.glBegin(GL_QUADS);
  gl.glTexCoord2f(0, 0);
  gl.glVertex2f(-1, -1);
  gl.glTexCoord2f(1, 0);
  gl.glVertex2f(1, -1);
  gl.glTexCoord2f(1, 1);
  gl.glVertex2f(1, 1);
  gl.glTexCoord2f(0, 1);
  gl.glVertex2f(-1, 1);
  gl.glEnd();
  for (GLenum matrix : {GL_TEXTURE, GL_PROJECTION, GL_MODELVIEW}) {
    gl.glMatrixMode(matrix);
    gl.glPopMatrix();
  }

  gl.glPopAttrib();  // also the matrix mode, viewport, enables and binding
  if (shaders) gl.glUseProgramObjectARB(program);
}
