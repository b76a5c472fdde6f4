#pragma once
#include <memory>

#include "platform/gl_table.h"

// A GLSL program built through the ARB shader-object interface from a vertex
// shader file (".evs") and a fragment shader file (".efs") of the asset tree.
// A ShaderProgram only builds and activates its program: the drawing code
// looks up and sets its own uniforms on `program` each time it draws.
// Every operation, construction and destruction: main thread only (GL).
class ShaderProgram {
 public:
  ShaderProgram() = default;
  // Deletes the GL objects the build created.
  ~ShaderProgram();
  ShaderProgram(const ShaderProgram&) = delete;
  ShaderProgram& operator=(const ShaderProgram&) = delete;

  // Reads both files whole (paths relative to the asset directory), then
  // compiles both shaders and links the program. True when the program
  // linked and can be used. A file that cannot be read creates no GL object
  // and logs "Shader source missing: PATH"; a shader that does not compile or
  // a program that does not link logs "Shader compile failed: PATH" or
  // "Shader link failed: VERTEX + FRAGMENT" followed by the driver's
  // information log, one line per line, to the console log (which the main
  // flow holds open for the run). Call once per object.
  bool Build(const char* vertexPath, const char* fragmentPath);

  // True once Build has linked the program. Drawing code takes its
  // fixed-function path for a program that is not usable.
  bool IsUsable() const { return usable; }

  // Makes the program current. A program that is not usable makes the
  // fixed-function pipeline current instead, never a stale program.
  void Use() const;
  // Back to the fixed-function pipeline.
  static void UseNone();

  // Whole source files, NUL-terminated; empty until Build has read them, and
  // kept afterwards.
  std::unique_ptr<char[]> vertexSource;
  std::unique_ptr<char[]> fragmentSource;
  GLhandleARB vertexShader = 0;
  GLhandleARB fragmentShader = 0;
  // The program object, for glGetUniformLocationARB; 0 until built.
  GLhandleARB program = 0;

 private:
  bool usable = false;
};

// The three programs of the game; null while no set is loaded. Main thread.
struct ShaderProgramsRecord {
  ShaderProgram* defaultProgram = nullptr;  // lit, normal-mapped ship, asteroids, power-ups
  ShaderProgram* shipInvProgram = nullptr;  // the ship's invulnerable look
  ShaderProgram* heatProgram = nullptr;     // the thrust flame
};
extern ShaderProgramsRecord shaderPrograms;

// True when program exists and is usable: what drawing code checks before it
// takes its GLSL path.
inline bool ProgramUsable(const ShaderProgram* program) { return program && program->IsUsable(); }

// Main thread, after the loading screen. False at once, creating nothing,
// while Settings.glslEnabled is off. Otherwise releases any earlier set,
// creates and builds shaderPrograms.defaultProgram ("shaders/default.evs",
// "shaders/default.efs"), shaderPrograms.shipInvProgram ("shaders/default.evs",
// "shaders/shipinv.efs") and shaderPrograms.heatProgram ("shaders/heat.evs",
// "shaders/heat.efs") in that order, and returns true, whether or not each
// build succeeded.
bool LoadShaders();

// Main thread, while the context that built them is current: deletes the
// three programs and their GL objects and empties the pointers. Harmless when
// none are loaded.
void ReleaseShaders();
