#pragma once
#include <cstdint>

// The system headers give the types and constants only: the game never links
// OpenGL, it calls every entry point through the table below.
#include <GL/gl.h>
#include <GL/glext.h>

// The OpenGL entry points, loaded by name from the system's library into one
// process-wide table. Every caller uses the standard names through it:
// gl.glBindTexture(GL_TEXTURE_2D, name). A pointer is null until loaded, when
// the library lacks it, and after UnloadGl. Tests fill the table with fakes.
struct GlTable {
  void* library = nullptr;  // dlopen handle of the loaded library

#define SS_GL_FUNCTION(ret, name, params, args) ret(*name) params = nullptr;
#define SS_GL_EXTENSION_FUNCTION(group, ret, name, params, args) ret(*name) params = nullptr;
#include "platform/gl_core.inc"
#include "platform/gl_extension_functions.inc"
#undef SS_GL_FUNCTION
#undef SS_GL_EXTENSION_FUNCTION

  // One flag per known extension, raised by ReadGlExtensions when the driver
  // lists it (e.g. arbShadingLanguage100 for "GL_ARB_shading_language_100").
#define SS_GL_EXTENSION(flag, text, group) bool flag = false;
#include "platform/gl_extensions.inc"
#undef SS_GL_EXTENSION
};

extern GlTable gl;

// The library the platform layer loads.
constexpr const char* kGlLibraryName = "libGL.so.1";

// Fetches extension entry points for the current context. The platform layer
// installs its window system's call (SDL_GL_GetProcAddress) before
// ReadGlExtensions; while none is installed, dlsym on the loaded library is
// used. Written once at start-up, before the main thread reads extensions.
using GlProcAddressFunction = void* (*)(const char* name);
void SetGlProcAddressFunction(GlProcAddressFunction function);

// System thread, window creation. Opens libraryName with dlopen, logs
// "loading library: NAME... Success!" or "... Failed" (opening the console
// log around the line) and fetches every OpenGL 1.1 entry point; a missing
// one stays null. False for a null name or a library that cannot be opened.
bool LoadGl(const char* libraryName);

// Main thread, with the context current. Clears the extension flags, logs
// the renderer, vendor, version and extension strings (one line each, those
// the driver gives), raises the flag of every known extension the driver
// lists by its exact name and fetches that extension's entry points.
// Returns true.
bool ReadGlExtensions();

// Closes the library if open and sets the handle and every entry point to
// null (the extension flags keep their values); frees the mipmap scratch
// buffer. Harmless when nothing is loaded. Returns true.
bool UnloadGl();

// Main thread. Multiplies the current matrix by a perspective projection with
// f = 1 / tan(fovValue / 2), the tangent taken in radians: the game passes 45,
// so f is about 1.7926 and every layout is built on that value.
void Perspective(double fovValue, double aspect, double zNear, double zFar);

// Main thread. Uploads pixels (width × height pixels of `components` bytes
// when components is 3, else 4 bytes; rows tightly packed) as level 0, then,
// when both sides are powers of two of at least 2, each smaller level made of
// 2 × 2 box averages (integer part of the mean per channel) until one side
// would reach 0; a chain that ends before 1 × 1 also sets the bound
// texture's GL_TEXTURE_MAX_LEVEL to its last level so it stays complete.
// False, with level 0 uploaded, for other sizes. Reuses one process-wide
// scratch buffer that only grows.
bool BuildMipmaps(GLenum target, GLint components, GLsizei width, GLsizei height, GLenum format,
                  const void* pixels);
