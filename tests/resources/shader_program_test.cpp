#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/asset_directory.h"
#include "platform/console_log.h"
#include "resources/settings.h"
#include "resources/shader_program.h"
#include "support/recording_gl.h"
#include "support/temp_dir.h"

namespace {

// The fake driver: compile and link results and information logs per object.
class ShaderProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StartAssetDirectoryAt(dir.withSlash().c_str());
    ASSERT_TRUE(StartConsoleLog());
    OpenConsoleLog();
    Settings.glslEnabled = true;
    dir.WriteFile("shaders/default.evs", "void main() { gl_Position = ftransform(); }");
    dir.WriteFile("shaders/default.efs", "void main() { gl_FragColor = vec4(1.0); }");
    dir.WriteFile("shaders/shipinv.efs", "void main() { gl_FragColor = vec4(0.5); }");
    dir.WriteFile("shaders/heat.evs", "void main() { gl_Position = ftransform(); } // heat");
    dir.WriteFile("shaders/heat.efs", "");

    rec.OnCall("glShaderSourceARB", [this](GlCall& call) {
      const auto* const* strings = static_cast<const GLcharARB* const*>(call.Pointer(2));
      sources[static_cast<GLhandleARB>(call.Int(0))] = strings[0];
    });
    rec.OnCall("glGetObjectParameterivARB", [this](GlCall& call) {
      const auto object = static_cast<GLhandleARB>(call.Int(0));
      auto* value = static_cast<GLint*>(const_cast<void*>(call.Pointer(2)));
      const bool failed = failing.count(object) > 0;
      switch (call.Int(1)) {
        case GL_OBJECT_COMPILE_STATUS_ARB:
        case GL_OBJECT_LINK_STATUS_ARB: *value = failed ? 0 : 1; break;
        case GL_OBJECT_INFO_LOG_LENGTH_ARB:
          *value = failed ? static_cast<GLint>(failing[object].size() + 1) : 0;
          break;
      }
    });
    rec.OnCall("glGetInfoLogARB", [this](GlCall& call) {
      const std::string& text = failing[static_cast<GLhandleARB>(call.Int(0))];
      auto* out = static_cast<GLcharARB*>(const_cast<void*>(call.Pointer(3)));
      text.copy(out, text.size());
      out[text.size()] = '\0';
      if (auto* length = static_cast<GLsizei*>(const_cast<void*>(call.Pointer(2)))) {
        *length = static_cast<GLsizei>(text.size());
      }
    });
  }
  void TearDown() override {
    ReleaseShaders();
    StopConsoleLog();
    StopAssetDirectory();
    Settings = SettingsRecord{};
  }
  std::string Log() {
    CloseConsoleLog();
    const std::string text = dir.ReadFile("conlog.txt");
    OpenConsoleLog();
    return text;
  }

  TempDir dir;
  RecordingGl rec;
  std::map<GLhandleARB, std::string> sources;  // by shader object
  std::map<GLhandleARB, std::string> failing;  // object -> its information log
};

TEST_F(ShaderProgramTest, WithoutGlslNothingIsCreated) {
  Settings.glslEnabled = false;
  EXPECT_FALSE(LoadShaders());
  EXPECT_EQ(shaderPrograms.defaultProgram, nullptr);
  EXPECT_EQ(shaderPrograms.shipInvProgram, nullptr);
  EXPECT_EQ(shaderPrograms.heatProgram, nullptr);
  EXPECT_TRUE(rec.Names().empty());
  EXPECT_FALSE(ProgramUsable(shaderPrograms.defaultProgram));
}

TEST_F(ShaderProgramTest, BuildsTheThreeProgramsFromTheirOwnShaderObjects) {
  ASSERT_TRUE(LoadShaders());
  const ShaderProgram* programs[] = {shaderPrograms.defaultProgram, shaderPrograms.shipInvProgram,
                                     shaderPrograms.heatProgram};
  const char* vertexFiles[] = {"shaders/default.evs", "shaders/default.evs", "shaders/heat.evs"};
  const char* fragmentFiles[] = {"shaders/default.efs", "shaders/shipinv.efs", "shaders/heat.efs"};
  for (int k = 0; k < 3; ++k) {
    SCOPED_TRACE(k);
    const ShaderProgram* program = programs[k];
    ASSERT_NE(program, nullptr);
    EXPECT_TRUE(program->IsUsable());
    EXPECT_EQ(sources[program->vertexShader], dir.ReadFile(vertexFiles[k]));
    EXPECT_EQ(sources[program->fragmentShader], dir.ReadFile(fragmentFiles[k]));
    EXPECT_STREQ(program->vertexSource.get(), dir.ReadFile(vertexFiles[k]).c_str());
    EXPECT_TRUE(rec.Find("glAttachObjectARB", [&](const GlCall& c) {
      return c.Int(0) == program->program && c.Int(1) == program->fragmentShader;
    }));
  }
  // default.evs is read and compiled twice, into two objects.
  EXPECT_NE(shaderPrograms.defaultProgram->vertexShader,
            shaderPrograms.shipInvProgram->vertexShader);
  EXPECT_EQ(rec.Count("glCreateShaderObjectARB"), 6u);
  EXPECT_EQ(rec.Count("glLinkProgramARB"), 3u);
  // An empty file is an empty source text.
  ASSERT_NE(shaderPrograms.heatProgram->fragmentSource, nullptr);
  EXPECT_EQ(shaderPrograms.heatProgram->fragmentSource[0], '\0');

  rec.Clear();
  shaderPrograms.shipInvProgram->Use();
  ShaderProgram::UseNone();
  const std::vector<GlCall> uses = rec.Calls("glUseProgramObjectARB");
  ASSERT_EQ(uses.size(), 2u);
  EXPECT_EQ(uses[0].Int(0), shaderPrograms.shipInvProgram->program);
  EXPECT_EQ(uses[1].Int(0), 0);
  EXPECT_EQ(Log(), "");
}

TEST_F(ShaderProgramTest, FailuresWriteTheDriversLogAndFallBackToFixedFunction) {
  // Objects are handed out in build order: default 1, 2, 3; shipinv 4, 5, 6;
  // heat 7, 8, 9 (vertex, fragment, program).
  failing[5] = "0:3(1): error: syntax error\n0:4(2): error: undeclared";
  failing[9] = "error: no main";
  ASSERT_TRUE(LoadShaders());
  ASSERT_EQ(shaderPrograms.shipInvProgram->fragmentShader, 5u);
  ASSERT_EQ(shaderPrograms.heatProgram->program, 9u);

  EXPECT_TRUE(shaderPrograms.defaultProgram->IsUsable());
  EXPECT_FALSE(shaderPrograms.shipInvProgram->IsUsable());
  EXPECT_FALSE(shaderPrograms.heatProgram->IsUsable());
  EXPECT_EQ(Log(),
            "Shader compile failed: shaders/shipinv.efs\n"
            "0:3(1): error: syntax error\n"
            "0:4(2): error: undeclared\n"
            "Shader link failed: shaders/heat.evs + shaders/heat.efs\n"
            "error: no main\n");

  rec.Clear();
  shaderPrograms.heatProgram->Use();
  EXPECT_EQ(rec.Last("glUseProgramObjectARB").Int(0), 0);
}

TEST_F(ShaderProgramTest, AnUnreadableSourceLeavesOnlyThatProgramUnusable) {
  std::filesystem::remove(dir / "shaders/heat.evs");
  std::filesystem::remove(dir / "shaders/shipinv.efs");
  std::filesystem::create_directory(dir / "shaders/shipinv.efs");
  ASSERT_TRUE(LoadShaders());
  EXPECT_TRUE(ProgramUsable(shaderPrograms.defaultProgram));
  for (const ShaderProgram* program : {shaderPrograms.shipInvProgram, shaderPrograms.heatProgram}) {
    ASSERT_NE(program, nullptr);
    EXPECT_FALSE(ProgramUsable(program));
    EXPECT_EQ(program->program, 0u);
  }
  EXPECT_EQ(rec.Count("glCreateShaderObjectARB"), 2u);
  EXPECT_EQ(Log(), "Shader source missing: shaders/shipinv.efs\nShader source missing: shaders/heat.evs\n");

  rec.Clear();
  shaderPrograms.heatProgram->Use();
  EXPECT_EQ(rec.Last("glUseProgramObjectARB").Int(0), 0);
}

TEST_F(ShaderProgramTest, ReleaseAndReloadDeleteEveryObjectOnce) {
  ASSERT_TRUE(LoadShaders());
  rec.Clear();
  ASSERT_TRUE(LoadShaders());  // replaces the first set
  EXPECT_EQ(rec.Count("glDeleteObjectARB"), 9u);
  rec.Clear();
  ReleaseShaders();
  EXPECT_EQ(rec.Count("glDeleteObjectARB"), 9u);
  EXPECT_EQ(shaderPrograms.defaultProgram, nullptr);
  rec.Clear();
  ReleaseShaders();
  EXPECT_TRUE(rec.Names().empty());
}

}  // namespace
