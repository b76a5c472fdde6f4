#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/console_log.h"
#include "platform/gl_table.h"
#include "resources/shader_program.h"
#include "resources/texture.h"
#include "resources/tga_writer.h"
#include "x11/engine_session.h"

// The generated shader files built by Mesa's real compiler, and a frame drawn
// with each program.
namespace {

class ShaderProgramX11 : public EngineSession {
 protected:
  void TearDown() override {
    textures.clear();
    ReleaseShaders();
    CloseConsoleLog();
    EngineSession::TearDown();
  }

  // Copies the generated shaders into this test's asset folder.
  bool CopyGeneratedShaders() {
    const std::filesystem::path generated = std::filesystem::path(SS_BIN_DIR) / "base" / "shaders";
    if (!std::filesystem::exists(generated / "default.evs")) return false;
    std::filesystem::copy(generated, folder_ / "shaders");
    return true;
  }

  // A 4 × 4 texture of one colour, loaded and uploaded on this thread.
  Texture* SolidTexture(const std::string& name, uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) {
    std::vector<uint8_t> pixels;
    for (int i = 0; i < 16; ++i) pixels.insert(pixels.end(), {r, g, b, a});
    const std::vector<uint8_t> file = EncodeTga(TgaImage{4, 4, 4, false, pixels.data()}, 32, TgaEncoding::Uncompressed);
    folder_.WriteFile(name, std::string(file.begin(), file.end()));
    textures.push_back(std::make_unique<Texture>());
    EXPECT_TRUE(textures.back()->Load(name.c_str(), false));
    return textures.back().get();
  }

  // Binds texture to a unit and points the sampler uniform at it.
  void Sampler(const ShaderProgram* program, const char* uniform, int unit, Texture* texture) {
    gl.glActiveTextureARB(GL_TEXTURE0_ARB + unit);
    texture->Bind();
    gl.glUniform1iARB(gl.glGetUniformLocationARB(program->program, uniform), unit);
  }

  // Clears, draws a quad over the middle of the screen with the program and
  // returns the colour of pixel (x, y) as r, g, b.
  std::vector<int> DrawAndRead(const ShaderProgram* program, const std::function<void()>& uniforms, int x, int y) {
    gl.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    gl.glDisable(GL_DEPTH_TEST);
    gl.glDisable(GL_BLEND);
    gl.glLoadIdentity();
    program->Use();
    uniforms();
    gl.glColor4f(1, 1, 1, 1);
    gl.glBegin(GL_TRIANGLES);
    const float corners[6][2] = {{-0.5f, 0.5f}, {0.5f, 0.5f}, {-0.5f, -0.5f}, {-0.5f, -0.5f}, {0.5f, 0.5f}, {0.5f, -0.5f}};
    for (const auto& c : corners) {
      gl.glTexCoord2f(c[0] + 0.5f, c[1] + 0.5f);
      gl.glVertex3f(c[0], c[1], -2.0f);
    }
    gl.glEnd();
    ShaderProgram::UseNone();
    gl.glActiveTextureARB(GL_TEXTURE0_ARB);
    uint8_t pixel[4] = {};
    gl.glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    return {pixel[0], pixel[1], pixel[2]};
  }

  // The engine started with the console log held open for the run, as the
  // main flow holds it.
  bool Start() {
    if (!StartGameEngine(config_)) return false;
    OpenConsoleLog();
    return true;
  }
  // The lines after the start-up lines, where shader messages go.
  std::string RunLog() const {
    const std::string log = ConsoleLog();
    const std::size_t extensions = log.find("GL_ARB_");
    const std::size_t after = extensions == std::string::npos ? 0 : log.find('\n', extensions);
    return after == std::string::npos ? "" : log.substr(after + 1);
  }

  std::vector<std::unique_ptr<Texture>> textures;
};

bool Black(const std::vector<int>& rgb) { return rgb[0] + rgb[1] + rgb[2] == 0; }

TEST_F(ShaderProgramX11, GeneratedShadersCompileLinkAndDraw) {
  if (!CopyGeneratedShaders()) GTEST_SKIP() << "no generated shaders in " << SS_BIN_DIR << "/base";
  Settings.glslEnabled = true;
  ASSERT_TRUE(Start());
  ASSERT_TRUE(gl.arbShaderObjects);
  ASSERT_TRUE(LoadShaders());
  ASSERT_TRUE(ProgramUsable(shaderPrograms.defaultProgram)) << RunLog();
  ASSERT_TRUE(ProgramUsable(shaderPrograms.shipInvProgram)) << RunLog();
  ASSERT_TRUE(ProgramUsable(shaderPrograms.heatProgram)) << RunLog();

  Texture* colour = SolidTexture("t/colour.tga", 200, 120, 60);
  Texture* flatNormal = SolidTexture("t/normal.tga", 128, 128, 255);
  Texture* noise = SolidTexture("t/noise.tga", 128, 128, 128);
  Texture* white = SolidTexture("t/white.tga", 255, 255, 255);
  const auto lit = [&](const ShaderProgram* program) {
    return [=, this] {
      Sampler(program, "texture0", 0, colour);
      Sampler(program, "texture1", 1, flatNormal);
      Sampler(program, "texture2", 2, noise);
      gl.glUniform3fARB(gl.glGetUniformLocationARB(program->program, "LightPosition"), 0.0f, 0.0f, 1.0f);
      gl.glUniform1fARB(gl.glGetUniformLocationARB(program->program, "SpecularFactor"), 0.5f);
    };
  };
  const auto heat = [&] {
    Sampler(shaderPrograms.heatProgram, "flame", 0, colour);
    Sampler(shaderPrograms.heatProgram, "alpha", 1, white);
    gl.glUniform1fARB(
        gl.glGetUniformLocationARB(shaderPrograms.heatProgram->program, "particleAlpha"), 1.0f);
  };

  struct Case {
    const char* name;
    const ShaderProgram* program;
    std::function<void()> uniforms;
  };
  const Case cases[] = {
      {"default", shaderPrograms.defaultProgram, lit(shaderPrograms.defaultProgram)},
      {"shipinv", shaderPrograms.shipInvProgram, lit(shaderPrograms.shipInvProgram)},
      {"heat", shaderPrograms.heatProgram, heat}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<int> centre = DrawAndRead(c.program, c.uniforms, kWidth / 2, kHeight / 2);
    EXPECT_FALSE(Black(centre)) << centre[0] << "," << centre[1] << "," << centre[2];
    EXPECT_GE(centre[0], centre[2]) << "the warm test colour shows through";
    EXPECT_TRUE(Black(DrawAndRead(c.program, c.uniforms, 5, 5)));  // outside the quad
    EXPECT_EQ(gl.glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  }
  EXPECT_EQ(RunLog(), "");
}

TEST_F(ShaderProgramX11, ABrokenShaderIsLoggedAndDrawsFixedFunction) {
  if (!CopyGeneratedShaders()) GTEST_SKIP() << "no generated shaders in " << SS_BIN_DIR << "/base";
  folder_.WriteFile("shaders/heat.efs", "void main() { gl_FragColor = undeclaredThing; }\n");
  Settings.glslEnabled = true;
  ASSERT_TRUE(Start());
  ASSERT_TRUE(LoadShaders());
  EXPECT_TRUE(ProgramUsable(shaderPrograms.defaultProgram));
  EXPECT_FALSE(ProgramUsable(shaderPrograms.heatProgram));
  const std::string log = RunLog();
  EXPECT_EQ(log.rfind("Shader compile failed: shaders/heat.efs\n", 0), 0u) << log;
  EXPECT_NE(log.find("undeclaredThing"), std::string::npos) << log;

  // Use falls back to the fixed pipeline: the quad takes the texture as is.
  Texture* colour = SolidTexture("t/colour.tga", 200, 120, 60);
  const std::vector<int> centre = DrawAndRead(
      shaderPrograms.heatProgram, [&] { colour->Bind(); }, kWidth / 2, kHeight / 2);
  EXPECT_NEAR(centre[0], 200, 2);
  EXPECT_NEAR(centre[1], 120, 2);
  EXPECT_NEAR(centre[2], 60, 2);
  EXPECT_EQ(gl.glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
