#include "game/object_drawing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "game/game_test_support.h"
#include "platform/asset_directory.h"
#include "resources/settings.h"
#include "support/recording_gl.h"
#include "support/temp_dir.h"

using namespace game_test;

namespace {

// Every catalogue texture answers with GL name 1000 + its slot.
GLuint NameOf(TextureSlot slot) { return 1000 + static_cast<GLuint>(slot); }

class ObjectDrawingTest : public GameWorld {
 protected:
  ObjectDrawingTest() {
    for (int32_t i = 0; i < kTextureSlotCount; ++i) {
      catalogue.textures[i] = new Texture;
      catalogue.textures[i]->glName = NameOf(static_cast<TextureSlot>(i));
    }
    // Uniform locations are numbered by name so that values can be read back.
    rec.OnCall("glGetUniformLocationARB", [this](GlCall& call) {
      const std::string name = static_cast<const char*>(call.Pointer(1));
      if (!locations.count(name)) locations[name] = static_cast<int>(locations.size()) + 1;
      call.result.i = locations[name];
    });
  }
  ~ObjectDrawingTest() override {
    for (Texture*& texture : catalogue.textures) {
      delete texture;
      texture = nullptr;
    }
    ReleaseShaders();
    Settings = SettingsRecord{};
  }

  // Builds the three programs from stand-in sources, all compiling and
  // linking, except those that need a missing file.
  void TurnShadersOn(const std::set<std::string>& missing = {}) {
    TempDir dir;
    for (const char* file : {"default.evs", "default.efs", "shipinv.efs", "heat.evs", "heat.efs"}) {
      if (!missing.count(file)) dir.WriteFile(std::string("shaders/") + file, "void main() {}");
    }
    StartAssetDirectoryAt(dir.withSlash().c_str());
    rec.OnCall("glGetObjectParameterivARB",
               [](GlCall& call) { *static_cast<GLint*>(const_cast<void*>(call.Pointer(2))) = 1; });
    Settings.glslEnabled = true;
    LoadShaders();
    StopAssetDirectory();
    if (missing.empty()) {
      ASSERT_TRUE(ProgramUsable(shaderPrograms.defaultProgram) &&
                  ProgramUsable(shaderPrograms.shipInvProgram) &&
                  ProgramUsable(shaderPrograms.heatProgram));
    }
    rec.Clear();
  }

  std::vector<int64_t> Bound() const {
    std::vector<int64_t> names;
    for (const GlCall& call : rec.Calls("glBindTexture")) names.push_back(call.Int(1));
    return names;
  }
  std::vector<int64_t> Units() const {
    std::vector<int64_t> units;
    for (const GlCall& call : rec.Calls("glActiveTextureARB")) {
      units.push_back(call.Int(0) - GL_TEXTURE0_ARB);
    }
    return units;
  }
  // The values given to a uniform by name, in call order.
  std::vector<std::vector<double>> Uniform(const std::string& name) const {
    std::vector<std::vector<double>> values;
    for (const GlCall& call : rec.Calls()) {
      if (call.name.rfind("glUniform", 0) != 0 || call.Int(0) != locations.at(name)) continue;
      std::vector<double> value;
      for (std::size_t k = 1; k < call.args.size(); ++k) value.push_back(call.Float(k));
      values.push_back(value);
    }
    return values;
  }
  std::vector<int64_t> Programs() const {
    std::vector<int64_t> programs;
    for (const GlCall& call : rec.Calls("glUseProgramObjectARB")) programs.push_back(call.Int(0));
    return programs;
  }

  // Leaves empty the slots that a run with shaders on never loads.
  void LoadAsAShaderRunDoes() {
    for (int32_t i = 0; i < kTextureSlotCount; ++i) {
      if (CatalogueTextureEntry(static_cast<TextureSlot>(i)).condition !=
          SlotCondition::WithoutGlsl) {
        continue;
      }
      delete catalogue.textures[i];
      catalogue.textures[i] = nullptr;
    }
  }

  // The texture state each batch of triangles was drawn with, replayed from
  // the recorded calls.
  struct BatchTextures {
    int64_t activeUnit;
    int64_t boundOnActiveUnit;  // 0: nothing bound there yet
    std::set<int64_t> enabledUnits;
  };
  std::vector<BatchTextures> Batches() const {
    std::vector<BatchTextures> batches;
    int64_t active = 0;
    std::map<int64_t, int64_t> bound;
    std::set<int64_t> enabled;
    for (const GlCall& call : rec.Calls()) {
      if (call.name == "glActiveTextureARB") active = call.Int(0) - GL_TEXTURE0_ARB;
      if (call.name == "glBindTexture") bound[active] = call.Int(1);
      if (call.name == "glEnable" && call.Int(0) == GL_TEXTURE_2D) enabled.insert(active);
      if (call.name == "glDisable" && call.Int(0) == GL_TEXTURE_2D) enabled.erase(active);
      if (call.name == "glBegin") batches.push_back({active, bound[active], enabled});
    }
    return batches;
  }

  RecordingGl rec;
  std::map<std::string, int> locations;
};

TEST_F(ObjectDrawingTest, TheFixedPathDrawsAnAsteroidQuadAtItsPlaceWithItsVariant) {
  asteroidVariant = 1;
  auto* rock = Add(new LargeAsteroid(0, {1, 1, 0}, {3, 4, kPlayPlaneZ}));
  rock->angle = 30;
  rock->Draw();
  const GlCall translate = rec.Last("glTranslatef");
  EXPECT_EQ(translate.Float(0), 3);
  EXPECT_EQ(translate.Float(1), 4);
  EXPECT_EQ(translate.Float(2), -25);
  EXPECT_EQ(rec.Last("glRotatef").Float(0), 30);
  EXPECT_EQ(Bound(), (std::vector<int64_t>{NameOf(TextureSlot::Asteroid1)}));
  const std::vector<GlCall> vertices = rec.Calls("glVertex3f");
  ASSERT_EQ(vertices.size(), 6u);
  EXPECT_EQ(vertices[0].Float(0), -2);  // the top-left corner of half-size 2 first
  EXPECT_EQ(vertices[0].Float(1), 2);
  for (const GlCall& vertex : vertices) EXPECT_EQ(vertex.Float(2), -25);
  EXPECT_EQ(rec.Count("glUseProgramObjectARB"), 0u);
  EXPECT_EQ(rec.Names().back(), "glDisable");
  EXPECT_EQ(rec.Last("glDisable").Int(0), GL_TEXTURE_2D);
}

TEST_F(ObjectDrawingTest, TheLitPathBindsNormalAndColourMapsAndPlacesTheLightByTheAngle) {
  TurnShadersOn();
  asteroidVariant = 2;
  auto* rock = Add(new SmallAsteroid(0, {1, 1, 0}, {0, 0, kPlayPlaneZ}));
  rock->angle = 90;
  rock->Draw();
  EXPECT_EQ(Bound(), (std::vector<int64_t>{NameOf(TextureSlot::GlslAsteroid2Normal),
                                           NameOf(TextureSlot::GlslAsteroid2)}));
  EXPECT_EQ(Units(), (std::vector<int64_t>{1, 0, 1, 0}));  // bind 1, 0; disable 1, 0
  EXPECT_EQ(Programs(), (std::vector<int64_t>{
                            static_cast<int64_t>(shaderPrograms.defaultProgram->program), 0}));
  const std::vector<double> light = Uniform("LightPosition").at(0);
  EXPECT_NEAR(light[0], 0, 1e-6);
  EXPECT_NEAR(light[1], 0.2, 1e-6);
  EXPECT_NEAR(light[2], 0.35, 1e-6);
  EXPECT_NEAR(Uniform("SpecularFactor").at(0)[0], 0.25, 1e-6);
  EXPECT_EQ(Uniform("texture1").at(0)[0], 1);
}

TEST_F(ObjectDrawingTest, ShadersOnWithoutAUsableProgramFallBackToTheFixedPath) {
  Settings.glslEnabled = true;  // but nothing was built
  asteroidVariant = 0;
  Add(new MediumAsteroid(0, {1, 1, 0}, {0, 0, kPlayPlaneZ}))->Draw();
  EXPECT_EQ(Bound(), (std::vector<int64_t>{NameOf(TextureSlot::Asteroid0)}));
  EXPECT_EQ(rec.Count("glUseProgramObjectARB"), 0u);
}

TEST_F(ObjectDrawingTest, TheShieldedShipUsesItsOwnProgramWithTheNoiseOnUnitTwo) {
  TurnShadersOn();
  Ship* ship = SpawnShip();
  ship->fireTimer = 2;
  ship->Draw();
  // The flame comes first, on units 0 and 1, and disables both again.
  EXPECT_EQ(Bound(), (std::vector<int64_t>{NameOf(TextureSlot::GlslFlame),
                                           NameOf(TextureSlot::GlslFlameAlpha),
                                           NameOf(TextureSlot::GlslShip),
                                           NameOf(TextureSlot::GlslShipInvulnerableNormal),
                                           NameOf(TextureSlot::GlslNoise)}));
  EXPECT_EQ(Programs(), (std::vector<int64_t>{
                            static_cast<int64_t>(shaderPrograms.heatProgram->program), 0,
                            static_cast<int64_t>(shaderPrograms.shipInvProgram->program), 0}));
  EXPECT_EQ(Units(), (std::vector<int64_t>{0, 1, 1, 0, 0, 1, 2, 2, 1, 0}));
  EXPECT_EQ(Uniform("texture2").at(0)[0], 2);
  EXPECT_NEAR(Uniform("noffset").at(0)[0], std::sin(2.0), 1e-6);
  const std::vector<double> light = Uniform("LightPosition").at(0);
  EXPECT_NEAR(light[0], 0.3, 1e-6);
  EXPECT_NEAR(light[1], 0, 1e-6);

  rec.Clear();
  ship->vulnerable = true;
  ship->Draw();
  const std::vector<int64_t> bound = Bound();
  EXPECT_EQ(std::vector<int64_t>(bound.begin() + 2, bound.end()),
            (std::vector<int64_t>{NameOf(TextureSlot::GlslShip),
                                  NameOf(TextureSlot::GlslShipNormal)}));
  EXPECT_EQ(Programs().at(2), static_cast<int64_t>(shaderPrograms.defaultProgram->program));
  EXPECT_EQ(Units().back(), 0);
}

TEST_F(ObjectDrawingTest, TheFixedPathShipShowsItsShieldAndDrawsItsFlameFirst) {
  Ship* ship = SpawnShip();
  ship->StartThrust();
  Step(0.01);
  Step(0.01);  // seven particles
  rec.Clear();
  ship->Draw();
  EXPECT_EQ(Bound(), (std::vector<int64_t>{NameOf(TextureSlot::Particle),
                                           NameOf(TextureSlot::ShipInvulnerable)}));
  // One tinted quad per particle, all in one batch of triangles, then the
  // hull at the ship's place.
  const std::vector<GlCall> colours = rec.Calls("glColor4f");
  ASSERT_EQ(colours.size(), 7u + 1u);
  EXPECT_NEAR(colours[0].Float(0), ship->flame->Particle(0).r, 1e-6);
  EXPECT_NEAR(colours[0].Float(3), ship->flame->Particle(0).alpha, 1e-6);
  EXPECT_EQ(rec.Count("glVertex3f"), 6u * 8u);
  EXPECT_EQ(rec.Count("glBegin"), 2u);
  EXPECT_EQ(rec.Count("glTranslatef"), 1u);
  const GlCall hull = rec.Last("glTranslatef");
  EXPECT_EQ(hull.Float(1), ship->y);

  rec.Clear();
  ship->vulnerable = true;
  ship->StopThrust();
  Step(0.5);  // the trail has faded
  ship->Draw();
  EXPECT_EQ(Bound(), (std::vector<int64_t>{NameOf(TextureSlot::Particle),
                                           NameOf(TextureSlot::Ship)}));
}

TEST_F(ObjectDrawingTest, TheLitFlameGivesEachParticleItsAlphaThroughTheHeatProgram) {
  TurnShadersOn();
  FlameEmitter flame(750, 10, 4, 3, 0.266f);
  flame.StartEmitting();
  for (int frame = 0; frame < 2; ++frame) {
    clock.Advance(0.01);
    UpdateTimers();
    flame.Update({5, 6, -25}, 45);
  }
  rec.Clear();
  flame.Draw();
  EXPECT_EQ(Programs(),
            (std::vector<int64_t>{static_cast<int64_t>(shaderPrograms.heatProgram->program), 0}));
  EXPECT_EQ(Bound(), (std::vector<int64_t>{NameOf(TextureSlot::GlslFlame),
                                           NameOf(TextureSlot::GlslFlameAlpha)}));
  EXPECT_EQ(Uniform("alpha").at(0)[0], 1);
  const std::vector<std::vector<double>> alphas = Uniform("particleAlpha");
  ASSERT_EQ(alphas.size(), 7u);
  EXPECT_NEAR(alphas[0][0], flame.Particle(0).alpha, 1e-6);
  EXPECT_EQ(rec.Count("glBegin"), 7u);
  // A young particle is small: half-size 1.33 - alpha around its offset,
  // turned by the heading of its birth (45 degrees) and moved to its birth
  // place (5, 6, -25), the modelview left at the identity.
  EXPECT_EQ(rec.Count("glTranslatef") + rec.Count("glRotatef"), 0u);
  const float half = 1.33f - flame.Particle(0).alpha;
  const float localX = flame.Offset(0).x - half, localY = flame.Offset(0).y + half;
  const float turn = std::sqrt(0.5f);
  const GlCall corner = rec.Calls("glVertex3f").at(0);
  EXPECT_NEAR(corner.Float(0), 5 + turn * (localX - localY), 1e-5);
  EXPECT_NEAR(corner.Float(1), 6 + turn * (localX + localY), 1e-5);
  EXPECT_NEAR(corner.Float(2), -25 + flame.Offset(0).z, 1e-5);
}

TEST_F(ObjectDrawingTest, AShaderRunThatFallsBackToTheFixedPathDrawsWithTexturesItLoaded) {
  LoadAsAShaderRunDoes();
  // The ship's programs failed, the flame's built: the lit trail comes
  // first, then the hull on the fixed path, on unit 0 alone.
  TurnShadersOn({"default.efs", "shipinv.efs"});
  ASSERT_TRUE(ProgramUsable(shaderPrograms.heatProgram));
  Ship* ship = SpawnShip();
  ship->StartThrust();
  Step(0.01);
  Step(0.01);
  rec.Clear();
  ship->Draw();
  const std::vector<BatchTextures> lit = Batches();
  ASSERT_GT(lit.size(), 1u);
  EXPECT_EQ(lit.front().enabledUnits, (std::set<int64_t>{0, 1}));
  EXPECT_EQ(lit.back().activeUnit, 0);
  EXPECT_EQ(lit.back().boundOnActiveUnit, NameOf(TextureSlot::GlslShip));
  EXPECT_EQ(lit.back().enabledUnits, std::set<int64_t>{0});

  // No program at all: trail and hull both on the fixed path.
  ReleaseShaders();
  rec.Clear();
  ship->vulnerable = true;
  ship->Draw();
  const std::vector<BatchTextures> fixed = Batches();
  ASSERT_EQ(fixed.size(), 2u);
  EXPECT_EQ(fixed[0].boundOnActiveUnit, NameOf(TextureSlot::GlslFlame));
  EXPECT_EQ(fixed[1].boundOnActiveUnit, NameOf(TextureSlot::GlslShip));
  for (const BatchTextures& batch : fixed) EXPECT_EQ(batch.enabledUnits, std::set<int64_t>{0});
}

TEST_F(ObjectDrawingTest, DebrisSpreadsSevenPiecesAndTheFinalAsteroidHasNoLitLook) {
  auto* debris = Add(new ShipDebris({2, 3, kPlayPlaneZ}, 0.75f));
  debris->elapsed = 0.375f;  // halfway
  debris->Draw();
  std::vector<int64_t> pieces;
  for (int i = 0; i < 7; ++i) {
    const int slot = static_cast<int>(TextureSlot::ShipPiece0) + i;
    pieces.push_back(NameOf(static_cast<TextureSlot>(slot)));
  }
  EXPECT_EQ(Bound(), pieces);
  EXPECT_EQ(rec.Last("glRotatef").Float(0), 5);
  // The last piece is halfway to (2, 2.3): its first corner at (1 - 2, 1.15 + 2).
  const std::vector<GlCall> vertices = rec.Calls("glVertex3f");
  ASSERT_EQ(vertices.size(), 42u);
  EXPECT_NEAR(vertices[36].Float(0), -1, 1e-5);
  EXPECT_NEAR(vertices[36].Float(1), 3.15, 1e-5);

  TurnShadersOn();
  Add(new FinalAsteroid(0, {1, 1, 0}, {0, 0, kPlayPlaneZ}))->Draw();
  EXPECT_EQ(Bound(), (std::vector<int64_t>{NameOf(TextureSlot::FinalAsteroid)}));
  EXPECT_EQ(rec.Count("glUseProgramObjectARB"), 0u);
  EXPECT_EQ(rec.Calls("glVertex3f").at(0).Float(0), -16);
}

}  // namespace
