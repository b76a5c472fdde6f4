#include "resources/shader_program.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/asset_directory.h"
#include "platform/console_log.h"
#include "resources/settings.h"

ShaderProgramsRecord shaderPrograms;

namespace {

// No shader comes near this; a larger "file" (a directory, a device) is refused
// before anything is allocated for it.
constexpr long kLongestSource = 1 << 20;

// The whole file plus a terminating NUL, or nothing when it cannot be opened
// or read completely.
std::unique_ptr<char[]> ReadSource(const char* path) {
  AssetFile file = nullptr;
  OpenAssetFile(path, "rb", &file);
  if (!file) return nullptr;
  std::unique_ptr<char[]> text;
  long size = -1;
  if (AssetSeek(file, 0, SEEK_END)) size = AssetTell(file);
  if (size >= 0 && size <= kLongestSource && AssetSeek(file, 0, SEEK_SET)) {
    const std::size_t length = static_cast<std::size_t>(size);
    text.reset(new char[length + 1]());
    if (AssetRead(text.get(), 1, length, file) != length) text.reset();
  }
  AssetClose(file);
  return text;
}

bool ShaderObjectsAvailable() {
  return gl.glCreateShaderObjectARB && gl.glShaderSourceARB && gl.glCompileShaderARB &&
         gl.glCreateProgramObjectARB && gl.glAttachObjectARB && gl.glLinkProgramARB &&
         gl.glGetObjectParameterivARB && gl.glGetInfoLogARB && gl.glUseProgramObjectARB &&
         gl.glDeleteObjectARB;
}

// The driver's information log of a shader or program, one console line per
// line of the log.
void LogInfoLog(GLhandleARB object) {
  GLint length = 0;
  gl.glGetObjectParameterivARB(object, GL_OBJECT_INFO_LOG_LENGTH_ARB, &length);
  if (length <= 0) return;
  std::string text(static_cast<std::size_t>(length), '\0');
  gl.glGetInfoLogARB(object, length, nullptr, text.data());
  text.resize(std::strlen(text.c_str()));
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    if (end > start) LogText(text.substr(start, end - start).c_str());
    start = end + 1;
  }
}

bool Compile(GLhandleARB shader, const char* source, const char* path) {
  const GLcharARB* sources[] = {source};
  gl.glShaderSourceARB(shader, 1, sources, nullptr);
  gl.glCompileShaderARB(shader);
  GLint compiled = 0;
  gl.glGetObjectParameterivARB(shader, GL_OBJECT_COMPILE_STATUS_ARB, &compiled);
  if (compiled) return true;
  LogLine((std::string("Shader compile failed: ") + path).c_str());
  LogInfoLog(shader);
  return false;
}

void DeleteObject(GLhandleARB* object) {
  if (*object && gl.glDeleteObjectARB) gl.glDeleteObjectARB(*object);
  *object = 0;
}

}  // namespace

ShaderProgram::~ShaderProgram() {
  DeleteObject(&program);
  DeleteObject(&vertexShader);
  DeleteObject(&fragmentShader);
}

bool ShaderProgram::Build(const char* vertexPath, const char* fragmentPath) {
  vertexSource = ReadSource(vertexPath);
  fragmentSource = ReadSource(fragmentPath);
  if (!vertexSource) LogLine((std::string("Shader source missing: ") + vertexPath).c_str());
  if (!fragmentSource) LogLine((std::string("Shader source missing: ") + fragmentPath).c_str());
  if (!vertexSource || !fragmentSource) return false;
  if (!ShaderObjectsAvailable()) {
    LogLine("Shader objects not available");
    return false;
  }

  vertexShader = gl.glCreateShaderObjectARB(GL_VERTEX_SHADER_ARB);
  fragmentShader = gl.glCreateShaderObjectARB(GL_FRAGMENT_SHADER_ARB);
  // Both are compiled even when the first fails, so the log names every fault.
  const bool vertexCompiled = Compile(vertexShader, vertexSource.get(), vertexPath);
  const bool fragmentCompiled = Compile(fragmentShader, fragmentSource.get(), fragmentPath);

  program = gl.glCreateProgramObjectARB();
  gl.glAttachObjectARB(program, vertexShader);
  gl.glAttachObjectARB(program, fragmentShader);
  gl.glLinkProgramARB(program);
  GLint linked = 0;
  gl.glGetObjectParameterivARB(program, GL_OBJECT_LINK_STATUS_ARB, &linked);
  if (!linked && vertexCompiled && fragmentCompiled) {
    LogLine((std::string("Shader link failed: ") + vertexPath + " + " + fragmentPath).c_str());
    LogInfoLog(program);
  }
  usable = vertexCompiled && fragmentCompiled && linked;
  return usable;
}

void ShaderProgram::Use() const { gl.glUseProgramObjectARB(usable ? program : 0); }

void ShaderProgram::UseNone() { gl.glUseProgramObjectARB(0); }

bool LoadShaders() {
  if (!Settings.glslEnabled) return false;
  ReleaseShaders();
  struct Recipe {
    ShaderProgram** slot;
    const char* vertexPath;
    const char* fragmentPath;
  };
  const Recipe recipes[] = {
      {&shaderPrograms.defaultProgram, "shaders/default.evs", "shaders/default.efs"},
      {&shaderPrograms.shipInvProgram, "shaders/default.evs", "shaders/shipinv.efs"},
      {&shaderPrograms.heatProgram, "shaders/heat.evs", "shaders/heat.efs"},
  };
  for (const Recipe& recipe : recipes) {
    *recipe.slot = new ShaderProgram;
    (*recipe.slot)->Build(recipe.vertexPath, recipe.fragmentPath);
  }
  return true;
}

void ReleaseShaders() {
  for (ShaderProgram** slot : {&shaderPrograms.defaultProgram, &shaderPrograms.shipInvProgram,
                               &shaderPrograms.heatProgram}) {
    delete *slot;
    *slot = nullptr;
  }
}
