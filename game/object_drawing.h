#pragma once
#include <cstdint>

#include "resources/catalogue.h"
#include "resources/shader_program.h"

// Drawing steps shared by the game objects. Everything is drawn at vertex
// z = the object's z after a translation by it, so object quads lie at depth
// -50, where the view shows a little more than the wrap bounds. Main thread,
// with the GL context current.

struct QuadVertex {
  float x, y;  // vertex, relative to the object
  float u, v;  // texture coordinates
};

// How the lit path places its light: LightPosition = (distance·cos a,
// distance·sin a, 0.35) with a the drawing angle, SpecularFactor = specular.
struct LightFactors {
  float distance;
  float specular;
};
constexpr LightFactors kAsteroidLight{0.2f, 0.25f};
constexpr LightFactors kShipLight{0.3f, 0.6f};  // ship and power-ups

// Identity modelview, translate by (x, y, z), rotate by angle degrees about
// +z; blending (GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA) on, GL_TEXTURE_2D on,
// colour (1, 1, 1, 1).
void BeginObjectDraw(float x, float y, float z, float angle);

// Two GL_TRIANGLES from six vertices, each at vertex z = z.
void DrawTriangles(const QuadVertex (&vertices)[6], float z);

// The square of half-size h that asteroids, power-ups and the debris pieces
// use, around (cx, cy): corners top-left, top-right, bottom-right,
// bottom-right, bottom-left, top-left with texture coordinates (0, 0),
// (1, 0), (1, 1), (1, 1), (0, 1), (0, 0).
void DrawObjectSquare(float h, float z, float cx = 0, float cy = 0);
// The square the ship and the flame particles use, around (cx, cy):
// (-h, h) (0, 1); (h, h) (1, 1); (-h, -h) (0, 0); (-h, -h) (0, 0);
// (h, h) (1, 1); (h, -h) (1, 0), relative to the centre.
void DrawSpriteSquare(float h, float z, float cx = 0, float cy = 0);

// A turn by angle degrees about +z followed by a move to (x, y, z): what
// glTranslatef and glRotatef would do to a square's vertices, done here so
// that many squares, each with its own place and turn, can share one
// glBegin/glEnd (every change of the matrix ends a batch of triangles).
struct Placement {
  Placement(float x, float y, float z, float angle);
  float x, y, z;
  float cosine, sine;
};
// The six vertices of DrawSpriteSquare(h, z, cx, cy) put through placement,
// without glBegin/glEnd: the caller opens and closes the GL_TRIANGLES batch
// and loads the identity modelview before it.
void EmitPlacedSpriteSquare(const Placement& placement, float h, float z, float cx, float cy);

// Binds the catalogue texture on the active unit (Texture::Bind enables
// GL_TEXTURE_2D); a slot this run did not load binds nothing.
void BindTexture(TextureSlot slot);
// Fixed-path drawing of an object whose plain texture is loaded only in runs
// without GLSL (ship, shield, particle): a run with shaders on that falls
// back to the fixed path for a program that did not build has no such
// texture, so the lit path's colour map stands in rather than whatever was
// bound last.
void BindFixedPathTexture(TextureSlot fixed, TextureSlot litColourMap);
// Makes texture unit `unit` active, enables GL_TEXTURE_2D on it and binds
// the slot there.
void BindOnUnit(int32_t unit, TextureSlot slot);

// True when an object takes its lit path with program: shaders are on for
// this run and the program was built. Otherwise the fixed path is drawn.
bool UseLitPath(const ShaderProgram* program);
// Lit path: program in use with "texture0" = 0, "texture1" = 1,
// "LightPosition" and "SpecularFactor" from the light factors and the
// drawing angle in degrees.
void BeginLit(const ShaderProgram& program, float angle, LightFactors light);
// Lit path, after the quad: back to the fixed pipeline, then GL_TEXTURE_2D
// disabled on units highestUnit down to 0, leaving unit 0 active.
void EndLit(int32_t highestUnit);

// Uniforms of the program in use, looked up by name on every call.
void SetUniform(const ShaderProgram& program, const char* name, int32_t value);
void SetUniform(const ShaderProgram& program, const char* name, float value);
