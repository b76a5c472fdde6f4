#include "game/object_drawing.h"

#include <cmath>

#include "game/game_object.h"
#include "platform/gl_table.h"
#include "resources/settings.h"

void BeginObjectDraw(float x, float y, float z, float angle) {
  gl.glLoadIdentity();
  gl.glTranslatef(x, y, z);
  gl.glRotatef(angle, 0, 0, 1);
  gl.glEnable(GL_BLEND);
  gl.glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  gl.glEnable(GL_TEXTURE_2D);
  gl.glColor4f(1, 1, 1, 1);
}

void DrawTriangles(const QuadVertex (&vertices)[6], float z) {
  gl.glBegin(GL_TRIANGLES);
  for (const QuadVertex& vertex : vertices) {
    gl.glTexCoord2f(vertex.u, vertex.v);
    gl.glVertex3f(vertex.x, vertex.y, z);
  }
  gl.glEnd();
}

void DrawObjectSquare(float h, float z, float cx, float cy) {
  const float left = cx - h, right = cx + h, top = cy + h, bottom = cy - h;
  const QuadVertex square[6] = {{left, top, 0, 0},     {right, top, 1, 0},
                                {right, bottom, 1, 1}, {right, bottom, 1, 1},
                                {left, bottom, 0, 1},  {left, top, 0, 0}};
  DrawTriangles(square, z);
}

namespace {

struct Square {
  QuadVertex vertices[6];
};

Square SpriteSquare(float h, float cx, float cy) {
  const float left = cx - h, right = cx + h, top = cy + h, bottom = cy - h;
  return {{{left, top, 0, 1},    {right, top, 1, 1}, {left, bottom, 0, 0},
           {left, bottom, 0, 0}, {right, top, 1, 1}, {right, bottom, 1, 0}}};
}

}  // namespace

void DrawSpriteSquare(float h, float z, float cx, float cy) {
  DrawTriangles(SpriteSquare(h, cx, cy).vertices, z);
}

Placement::Placement(float x, float y, float z, float angle)
    : x(x),
      y(y),
      z(z),
      cosine(std::cos(angle * kDegreesToRadians)),
      sine(std::sin(angle * kDegreesToRadians)) {}

void EmitPlacedSpriteSquare(const Placement& placement, float h, float z, float cx, float cy) {
  for (const QuadVertex& vertex : SpriteSquare(h, cx, cy).vertices) {
    gl.glTexCoord2f(vertex.u, vertex.v);
    gl.glVertex3f(placement.x + placement.cosine * vertex.x - placement.sine * vertex.y,
                  placement.y + placement.sine * vertex.x + placement.cosine * vertex.y, placement.z + z);
  }
}

void BindTexture(TextureSlot slot) {
  if (const Texture* texture = CatalogueTexture(slot)) texture->Bind();
}

void BindFixedPathTexture(TextureSlot fixed, TextureSlot litColourMap) {
  BindTexture(CatalogueTexture(fixed) ? fixed : litColourMap);
}

namespace {

void ActivateUnit(int32_t unit) {
  if (gl.glActiveTextureARB) gl.glActiveTextureARB(GL_TEXTURE0_ARB + unit);
}

}  // namespace

void BindOnUnit(int32_t unit, TextureSlot slot) {
  ActivateUnit(unit);
  gl.glEnable(GL_TEXTURE_2D);
  BindTexture(slot);
}

bool UseLitPath(const ShaderProgram* program) {
  return Settings.glslEnabled && ProgramUsable(program) && gl.glGetUniformLocationARB &&
         gl.glUniform1iARB && gl.glUniform1fARB && gl.glUniform3fARB;
}

void SetUniform(const ShaderProgram& program, const char* name, int32_t value) {
  gl.glUniform1iARB(gl.glGetUniformLocationARB(program.program, name), value);
}

void SetUniform(const ShaderProgram& program, const char* name, float value) {
  gl.glUniform1fARB(gl.glGetUniformLocationARB(program.program, name), value);
}

void BeginLit(const ShaderProgram& program, float angle, LightFactors light) {
  program.Use();
  SetUniform(program, "texture0", 0);
  SetUniform(program, "texture1", 1);
  const float radians = angle * kDegreesToRadians;
  gl.glUniform3fARB(gl.glGetUniformLocationARB(program.program, "LightPosition"),
                    light.distance * std::cos(radians), light.distance * std::sin(radians), 0.35f);
  SetUniform(program, "SpecularFactor", light.specular);
}

void EndLit(int32_t highestUnit) {
  ShaderProgram::UseNone();
  for (int32_t unit = highestUnit; unit >= 0; --unit) {
    ActivateUnit(unit);
    gl.glDisable(GL_TEXTURE_2D);
  }
}
