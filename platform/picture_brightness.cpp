#include "platform/picture_brightness.h"

#include <atomic>

#include "platform/console_log.h"
#include "platform/gl_table.h"
#include "platform/offscreen_frame.h"

namespace {

// Fixed-function vertices in, the picture's texel through the ramp's curve
// out. The texel is taken back to its 8-bit level so the curve is the one
// the display ramps follow.
constexpr const char* kVertexSource =
    "void main() {\n"
    "  gl_TexCoord[0] = gl_MultiTexCoord0;\n"
    "  gl_Position = gl_Vertex;\n"
    "}\n";
constexpr const char* kFragmentSource =
    "uniform sampler2D picture;\n"
    "uniform float exponent;\n"
    "void main() {\n"
    "  vec3 level = texture2D(picture, gl_TexCoord[0].st).rgb * 255.0;\n"
    "  gl_FragColor = vec4(pow((level + 1.0) / 256.0, vec3(exponent)), 1.0);\n"
    "}\n";

// Written by the system thread at window creation and by the main thread at
// the start and when the options change the step; read by the main thread.
std::atomic<bool> planned{false};
std::atomic<int32_t> brightnessStep{0};

// Main thread only.
struct BrightnessProgram {
  GLhandleARB program = 0;
  GLint exponentAt = -1;
  GLint pictureAt = -1;
};
BrightnessProgram built;

bool EntryPointsLoaded() {
  return gl.glCreateShaderObjectARB && gl.glShaderSourceARB && gl.glCompileShaderARB &&
         gl.glCreateProgramObjectARB && gl.glAttachObjectARB && gl.glLinkProgramARB &&
         gl.glGetObjectParameterivARB && gl.glGetUniformLocationARB && gl.glUseProgramObjectARB &&
         gl.glUniform1fARB && gl.glUniform1iARB && gl.glDeleteObjectARB && gl.glGetHandleARB;
}

GLhandleARB Compile(GLenum kind, const char* source) {
  GLhandleARB shader = gl.glCreateShaderObjectARB(kind);
  if (!shader) return 0;
  gl.glShaderSourceARB(shader, 1, &source, nullptr);
  gl.glCompileShaderARB(shader);
  GLint compiled = 0;
  gl.glGetObjectParameterivARB(shader, GL_OBJECT_COMPILE_STATUS_ARB, &compiled);
  if (compiled) return shader;
  gl.glDeleteObjectARB(shader);
  return 0;
}

bool Refused() {
  OpenConsoleLog();
  LogLine("the brightness program could not be built: brightness by the display's gamma");
  CloseConsoleLog();
  return false;
}

}  // namespace

bool PictureBrightnessOffered(const char* extensionList) {
  if (!extensionList) return false;
  for (const char* needed : {"GL_ARB_shader_objects", "GL_ARB_vertex_shader",
                             "GL_ARB_fragment_shader", "GL_ARB_shading_language_100"}) {
    if (!ExtensionListed(extensionList, needed)) return false;
  }
  return true;
}

void PlanPictureBrightness(bool inPicture) { planned.store(inPicture); }

bool BrightnessInPicture() { return planned.load(); }

void SetPictureBrightnessStep(int32_t step) { brightnessStep.store(step); }

int32_t PictureBrightnessStep() { return brightnessStep.load(); }

double BrightnessExponent(int32_t step) { return step == 0 ? 1.0 : step == 1 ? 1.33 : 1.66; }

bool CreatePictureBrightness() {
  DestroyPictureBrightness();
  if (!gl.arbShaderObjects || !gl.arbShadingLanguage100 || !EntryPointsLoaded()) return Refused();
  const GLhandleARB vertex = Compile(GL_VERTEX_SHADER_ARB, kVertexSource);
  const GLhandleARB fragment = Compile(GL_FRAGMENT_SHADER_ARB, kFragmentSource);
  GLhandleARB program = vertex && fragment ? gl.glCreateProgramObjectARB() : 0;
  GLint linked = 0;
  if (program) {
    gl.glAttachObjectARB(program, vertex);
    gl.glAttachObjectARB(program, fragment);
    gl.glLinkProgramARB(program);
    gl.glGetObjectParameterivARB(program, GL_OBJECT_LINK_STATUS_ARB, &linked);
  }
  // Attached shaders live on with the program; their names are not needed.
  if (vertex) gl.glDeleteObjectARB(vertex);
  if (fragment) gl.glDeleteObjectARB(fragment);
  if (program && !linked) gl.glDeleteObjectARB(program);
  if (!program || !linked) return Refused();
  built.program = program;
  built.exponentAt = gl.glGetUniformLocationARB(program, "exponent");
  built.pictureAt = gl.glGetUniformLocationARB(program, "picture");
  return true;
}

void DestroyPictureBrightness() {
  if (built.program && gl.glDeleteObjectARB) gl.glDeleteObjectARB(built.program);
  built = BrightnessProgram();
}

bool UsePictureBrightness() {
  const int32_t step = PictureBrightnessStep();
  if (!built.program || step == 0) return false;
  gl.glUseProgramObjectARB(built.program);
  gl.glUniform1iARB(built.pictureAt, 0);
  gl.glUniform1fARB(built.exponentAt, static_cast<float>(BrightnessExponent(step)));
  return true;
}
