// Checks the pictures in the asset tree that the build generates beside the
// game (SS_BIN_DIR/base): every texture the game loads decodes with the
// game's own code and has the shape and orientation its drawing relies on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "assets/generated_tree.h"
#include "platform/asset_directory.h"
#include "resources/catalogue.h"
#include "resources/texture.h"
#include "resources/tga.h"
#include "support/recording_gl.h"

namespace {

// Pictures the screens load themselves, with the mipmap request they make.
struct ScreenPicture {
  const char* path;
  bool mipmapped;
};
const ScreenPicture kScreenPictures[] = {
    {"textures/presentation/titlepresents.tga", true}, {"textures/presentation/titlescreen.tga", true},
    {"textures/presentation/loading.tga", true},       {"textures/story/gameover.tga", false},
    {"textures/gameplay/gamewin.tga", false},          {"textures/menu/Pointer.tga", false},
    {"fonts/default.tga", false},
};

// Pictures the game blends over what is behind them: their alpha carries
// their outline, so they need 32 bits with some clear and some solid pixels.
const char* const kBlendedPictures[] = {
    "textures/gameplay/asteroid0.tga",   "textures/gameplay/finalasteroid.tga", "textures/gameplay/ship.tga",
    "textures/gameplay/shipinv.tga",     "textures/gameplay/shipp0.tga",        "textures/gameplay/particle.tga",
    "textures/gameplay/bullet.tga",      "textures/gameplay/powerspread.tga",   "textures/gameplay/displaybox.tga",
    "textures/gameplay/start.tga",       "textures/gameplay/summary.tga",       "textures/gameplay/highscore.tga",
    "textures/glsl/ship.tga",            "textures/glsl/asteroid1.tga",         "textures/glsl/powerinvuln.tga",
    "textures/glsl/flamealpha.tga",      "textures/menu/Pointer.tga",           "textures/presentation/loading.tga",
    "textures/presentation/titlescreen.tga", "fonts/default.tga",
};

bool IsPowerOfTwo(int32_t n) { return n > 0 && (n & (n - 1)) == 0; }

bool Decode(const std::string& relativePath, DecodedImage* image) {
  std::FILE* file = std::fopen((kGeneratedBase / relativePath).c_str(), "rb");
  if (file == nullptr) return false;
  bool decoded = DecodeTga(file, image);
  std::fclose(file);
  return decoded;
}

// Pixel access with y counted from the top of the picture (files, and the
// decoder, keep rows bottom-up).
struct Picture {
  DecodedImage image;
  int channels() const { return image.bitsPerPixel / 8; }
  const uint8_t* At(int x, int yFromTop) const {
    int row = image.height - 1 - yFromTop;
    return image.pixels.get() + (static_cast<size_t>(row) * image.width + x) * channels();
  }
  float Alpha(int x, int yFromTop) const { return channels() == 4 ? At(x, yFromTop)[3] / 255.0f : 1.0f; }
};

Picture Load(const std::string& relativePath) {
  Picture picture;
  EXPECT_TRUE(Decode(relativePath, &picture.image)) << relativePath;
  return picture;
}

TEST(GeneratedPictures, EveryCatalogueTextureLoadsThroughTheGameWithItsMipmaps) {
  SKIP_WITHOUT_GENERATED_TREE();
  ASSERT_TRUE(StartAssetDirectoryAt(kGeneratedBase.c_str()));
  RecordingGl gl;
  for (int32_t slot = 0; slot < kTextureSlotCount; ++slot) {
    const TextureEntry& entry = CatalogueTextureEntry(static_cast<TextureSlot>(slot));
    SCOPED_TRACE(entry.path);
    Texture texture;
    ASSERT_TRUE(texture.Load(entry.path, entry.mipmapped));
    // A mipmapped texture whose sides are not powers of two silently loses
    // its chain; the flag tells.
    EXPECT_EQ(texture.mipmapped, entry.mipmapped);
    EXPECT_TRUE(texture.bitsPerPixel == 24 || texture.bitsPerPixel == 32);
  }
  StopAssetDirectory();
}

TEST(GeneratedPictures, ScreenPicturesDecodeWithPowerOfTwoSidesWhereMipmapped) {
  SKIP_WITHOUT_GENERATED_TREE();
  for (const ScreenPicture& picture : kScreenPictures) {
    SCOPED_TRACE(picture.path);
    DecodedImage image;
    ASSERT_TRUE(Decode(picture.path, &image));
    if (picture.mipmapped) {
      EXPECT_TRUE(IsPowerOfTwo(image.width) && IsPowerOfTwo(image.height)) << image.width << " x " << image.height;
    }
  }
}

TEST(GeneratedPictures, BlendedPicturesHaveSoftAlphaOutlines) {
  SKIP_WITHOUT_GENERATED_TREE();
  for (const char* path : kBlendedPictures) {
    SCOPED_TRACE(path);
    Picture picture = Load(path);
    ASSERT_EQ(picture.image.bitsPerPixel, 32);
    int clear = 0, solid = 0, between = 0;
    for (int y = 0; y < picture.image.height; ++y) {
      for (int x = 0; x < picture.image.width; ++x) {
        float a = picture.Alpha(x, y);
        (a == 0 ? clear : a > 0.9f ? solid : between)++;
      }
    }
    EXPECT_GT(clear, 0);
    EXPECT_GT(solid + between, 0);
    EXPECT_GT(between, 0) << "hard-edged outline";
  }
}

TEST(GeneratedPictures, BothTgaEncodingsAreUsed) {
  SKIP_WITHOUT_GENERATED_TREE();
  int uncompressed = 0, runLength = 0;
  for (const auto& item : std::filesystem::recursive_directory_iterator(kGeneratedBase / "textures")) {
    if (item.path().extension() != ".tga") continue;
    std::FILE* file = std::fopen(item.path().c_str(), "rb");
    ASSERT_NE(file, nullptr);
    uint8_t header[3] = {};
    ASSERT_EQ(std::fread(header, 1, 3, file), 3u);
    std::fclose(file);
    (header[2] == 10 ? runLength : uncompressed)++;
  }
  EXPECT_GT(uncompressed, 0);
  EXPECT_GT(runLength, 0);
}

TEST(GeneratedPictures, FontSheetHasWhiteGlyphsInTheirCellsFromTheTopRow) {
  SKIP_WITHOUT_GENERATED_TREE();
  Picture sheet = Load("fonts/default.tga");
  ASSERT_EQ(sheet.image.bitsPerPixel, 32);
  ASSERT_EQ(sheet.image.width % 16, 0);
  ASSERT_EQ(sheet.image.height % 16, 0);
  int cw = sheet.image.width / 16, ch = sheet.image.height / 16;
  auto inkOf = [&](int glyph, bool* white, bool* touchesEdge) {
    int col = glyph % 16, row = glyph / 16;  // row 0 at the top of the picture
    float ink = 0;
    for (int y = 0; y < ch; ++y) {
      for (int x = 0; x < cw; ++x) {
        const uint8_t* p = sheet.At(col * cw + x, row * ch + y);
        float a = p[3] / 255.0f;
        ink += a;
        if (a > 0.1f && (p[0] < 250 || p[1] < 250 || p[2] < 250)) *white = false;
        if (a > 0.1f && (x == 0 || x == cw - 1)) *touchesEdge = true;
      }
    }
    return ink;
  };
  for (int code = 32; code < 127; ++code) {
    SCOPED_TRACE(std::string("character ") + static_cast<char>(code));
    bool white = true, touchesEdge = false;
    float ink = inkOf(code - 32, &white, &touchesEdge);
    if (code == ' ') {
      EXPECT_EQ(ink, 0);
    } else {
      EXPECT_GT(ink, 2.0f);
    }
    EXPECT_TRUE(white);
    EXPECT_FALSE(touchesEdge) << "ink reaches the next cell";
  }
  // 'A' is glyph 33: column 1 of the third row from the top. 'T' has more
  // ink in its upper half than in its lower one, so the sheet is upright.
  int t = 'T' - 32, col = t % 16, row = t / 16;
  float upper = 0, lower = 0;
  for (int y = 0; y < ch; ++y) {
    for (int x = 0; x < cw; ++x) (y < ch / 2 ? upper : lower) += sheet.Alpha(col * cw + x, row * ch + y);
  }
  EXPECT_GT(upper, lower);
}

TEST(GeneratedPictures, LoadingCaptionLiesInTheBandTheTitleScreenShows) {
  SKIP_WITHOUT_GENERATED_TREE();
  Picture loading = Load("textures/presentation/loading.tga");
  // The screen shows texture rows t = 0.33 .. 0.66 (t counts from the bottom).
  float inside = 0, outside = 0;
  for (int y = 0; y < loading.image.height; ++y) {
    float t = 1 - (y + 0.5f) / loading.image.height;
    for (int x = 0; x < loading.image.width; ++x) {
      (t > 0.34f && t < 0.65f ? inside : outside) += loading.Alpha(x, y);
    }
  }
  EXPECT_GT(inside, 500.0f);
  EXPECT_LT(outside, inside * 0.01f);
}

// Row of the centre of the picture's opaque mass, from the top, as a
// fraction of the height.
float MassCentreFromTop(const Picture& picture) {
  double sum = 0, weighted = 0;
  for (int y = 0; y < picture.image.height; ++y) {
    for (int x = 0; x < picture.image.width; ++x) {
      sum += picture.Alpha(x, y);
      weighted += picture.Alpha(x, y) * (y + 0.5);
    }
  }
  return static_cast<float>(weighted / sum / picture.image.height);
}

TEST(GeneratedPictures, ShipPointsUpAndItsDebrisReassemblesIt) {
  SKIP_WITHOUT_GENERATED_TREE();
  // The ship quad shows the top of the picture at the nose end (heading 0 is
  // up the screen): a swept-wing craft carries its mass low.
  Picture ship = Load("textures/gameplay/ship.tga");
  EXPECT_GT(MassCentreFromTop(ship), 0.5f);
  // The debris quads map the picture upside down, so the pieces are stored
  // flipped: together they are the ship turned over, each texel in one piece.
  std::vector<Picture> pieces;
  for (int i = 0; i < 7; ++i) pieces.push_back(Load("textures/gameplay/shipp" + std::to_string(i) + ".tga"));
  double shipMass = 0, pieceMass = 0, shared = 0;
  for (int y = 0; y < ship.image.height; ++y) {
    for (int x = 0; x < ship.image.width; ++x) {
      float inShip = ship.Alpha(x, ship.image.height - 1 - y);
      int owners = 0;
      for (const Picture& piece : pieces) {
        ASSERT_EQ(piece.image.width, ship.image.width);
        float a = piece.Alpha(x, y);
        pieceMass += a;
        owners += a > 0.5f;
      }
      shipMass += inShip;
      shared += owners > 1;
    }
  }
  EXPECT_NEAR(pieceMass / shipMass, 1.0, 0.1);
  EXPECT_EQ(shared, 0);
  for (const Picture& piece : pieces) EXPECT_LT(MassCentreFromTop(piece), 1.0f);  // no empty piece
}

TEST(GeneratedPictures, NormalMapsAreUnitLengthAndFlatOutsideTheirObjects) {
  SKIP_WITHOUT_GENERATED_TREE();
  const char* pairs[][2] = {
      {"textures/glsl/asteroid0.tga", "textures/glsl/asteroid0n.tga"},
      {"textures/glsl/asteroid2.tga", "textures/glsl/asteroid2n.tga"},
      {"textures/glsl/ship.tga", "textures/glsl/shipn.tga"},
      {"textures/glsl/powerstarburst.tga", "textures/glsl/powerstarburstn.tga"},
  };
  for (const auto& pair : pairs) {
    SCOPED_TRACE(pair[1]);
    Picture colour = Load(pair[0]), normal = Load(pair[1]);
    ASSERT_EQ(colour.image.width, normal.image.width);
    ASSERT_EQ(colour.image.height, normal.image.height);
    int bent = 0, bentOutside = 0;
    for (int y = 0; y < normal.image.height; ++y) {
      for (int x = 0; x < normal.image.width; ++x) {
        const uint8_t* n = normal.At(x, y);
        float nx = n[0] / 127.5f - 1, ny = n[1] / 127.5f - 1, nz = n[2] / 127.5f - 1;
        ASSERT_NEAR(std::sqrt(nx * nx + ny * ny + nz * nz), 1.0f, 0.03f);
        ASSERT_GT(nz, 0);
        // Any tilt belongs to the object drawn by the colour map.
        bool tilted = nz < 0.98f;
        bent += tilted;
        bentOutside += tilted && colour.Alpha(x, y) == 0 && colour.Alpha(std::max(x - 2, 0), y) == 0 &&
                       colour.Alpha(std::min(x + 2, colour.image.width - 1), y) == 0;
      }
    }
    EXPECT_GT(bent, normal.image.width * normal.image.height / 20);
    EXPECT_LT(bentOutside, bent / 50);
  }
}

TEST(GeneratedPictures, NormalMapsTiltAlongTextureSAndT) {
  SKIP_WITHOUT_GENERATED_TREE();
  // The shader takes x along s and y along t (up the picture). The badge's
  // raised rim falls away outwards, so the first slope met coming in from the
  // top edge leans up (+y), and from the right-hand edge it leans right (+x).
  Picture normal = Load("textures/glsl/powerinvulnn.tga");
  int w = normal.image.width, h = normal.image.height;
  auto firstTilt = [&](int x, int y, int dx, int dy, int channel) {
    for (; x >= 0 && y >= 0 && x < w && y < h; x += dx, y += dy) {
      float lean = normal.At(x, y)[channel] / 127.5f - 1;
      if (std::fabs(lean) > 0.2f) return lean;
    }
    return 0.0f;
  };
  EXPECT_GT(firstTilt(w / 2, 0, 0, 1, 1), 0.2f);
  EXPECT_GT(firstTilt(w - 1, h / 2, -1, 0, 0), 0.2f);
}

TEST(GeneratedPictures, FullScreenPicturesHaveTheScreensShape) {
  SKIP_WITHOUT_GENERATED_TREE();
  // Drawn on 2.66 x 2 rectangles (the whole 4:3 screen).
  for (const char* path : {"textures/gameplay/background0.tga", "textures/story/frame1.tga", "textures/story/frame2.tga",
                           "textures/story/credits.tga", "textures/story/gameover.tga", "textures/gameplay/gamewin.tga"}) {
    SCOPED_TRACE(path);
    Picture picture = Load(path);
    EXPECT_EQ(picture.image.width * 3, picture.image.height * 4);
  }
}

TEST(GeneratedPictures, PicturesOverBlackFadeOutBeforeTheirEdges) {
  SKIP_WITHOUT_GENERATED_TREE();
  // Centre pictures and level screens are blended over the cleared screen;
  // any alpha left at the border would show as a hard frame.
  for (const char* path : {"textures/presentation/titlescreen.tga", "textures/presentation/titlepresents.tga",
                           "textures/presentation/loading.tga", "textures/gameplay/start.tga",
                           "textures/gameplay/highscore.tga", "textures/gameplay/summary.tga"}) {
    SCOPED_TRACE(path);
    Picture picture = Load(path);
    int w = picture.image.width, h = picture.image.height;
    float border = 0;
    for (int i = 0; i < w; ++i) border = std::max({border, picture.Alpha(i, 0), picture.Alpha(i, h - 1)});
    for (int i = 0; i < h; ++i) border = std::max({border, picture.Alpha(0, i), picture.Alpha(w - 1, i)});
    EXPECT_LT(border, 0.1f);
  }
}

TEST(GeneratedPictures, IntroPictureKeepsEachLineInTheHalfThatSlidesIn) {
  SKIP_WITHOUT_GENERATED_TREE();
  // The intro slides the upper and lower halves in from opposite sides; ink
  // across the middle would be torn apart.
  Picture presents = Load("textures/presentation/titlepresents.tga");
  int w = presents.image.width, h = presents.image.height;
  float upper = 0, middle = 0, lower = 0;
  for (int y = 0; y < h; ++y) {
    float v = (y + 0.5f) / h;
    for (int x = 0; x < w; ++x) (v < 0.48f ? upper : v > 0.52f ? lower : middle) += presents.Alpha(x, y);
  }
  EXPECT_GT(upper, 100.0f);
  EXPECT_GT(lower, 100.0f);
  EXPECT_LT(middle, 1.0f);
}

TEST(GeneratedPictures, PointerTipIsTheTopLeftCorner) {
  SKIP_WITHOUT_GENERATED_TREE();
  // The pointer's hot spot is the top-left corner of its square.
  Picture pointer = Load("textures/menu/Pointer.tga");
  int w = pointer.image.width, h = pointer.image.height;
  EXPECT_GT(pointer.Alpha(w / 16, h / 16), 0.5f);
  EXPECT_EQ(pointer.Alpha(w - 1, 0), 0.0f);
  EXPECT_EQ(pointer.Alpha(w - 1, h - 1), 0.0f);
}

TEST(GeneratedPictures, ShotAndFlameSpritesSuitTheWayTheGameTintsAndMapsThem) {
  SKIP_WITHOUT_GENERATED_TREE();
  // The streak and burst quads give t no consistent direction, so the shot's
  // glow may change across the shot (s) only.
  Picture bullet = Load("textures/gameplay/bullet.tga");
  for (int x = 0; x < bullet.image.width; ++x) {
    for (int y = 1; y < bullet.image.height; ++y) {
      ASSERT_EQ(bullet.Alpha(x, y), bullet.Alpha(x, 0)) << "column " << x;
    }
  }
  EXPECT_GT(bullet.Alpha(bullet.image.width / 2, 0), 0.9f);
  EXPECT_EQ(bullet.Alpha(0, 0), 0.0f);
  // Flame particles take their colour from the game's table: white sprite.
  Picture particle = Load("textures/gameplay/particle.tga");
  for (int y = 0; y < particle.image.height; ++y) {
    for (int x = 0; x < particle.image.width; ++x) {
      const uint8_t* p = particle.At(x, y);
      if (p[3] > 0) {
        ASSERT_TRUE(p[0] == 255 && p[1] == 255 && p[2] == 255);
      }
    }
  }
}

// Mean hue (degrees) of a picture's mostly opaque, coloured pixels.
float MeanHue(const Picture& picture) {
  double sx = 0, sy = 0;
  for (int y = 0; y < picture.image.height; ++y) {
    for (int x = 0; x < picture.image.width; ++x) {
      const uint8_t* p = picture.At(x, y);
      float r = p[0] / 255.0f, g = p[1] / 255.0f, b = p[2] / 255.0f;
      float high = std::max({r, g, b}), low = std::min({r, g, b});
      if (picture.Alpha(x, y) < 0.5f || high - low < 0.2f) continue;
      float hue = high == r ? std::fmod((g - b) / (high - low) + 6, 6.0f) : high == g ? (b - r) / (high - low) + 2
                                                                                     : (r - g) / (high - low) + 4;
      sx += std::cos(hue * M_PI / 3) * (high - low);
      sy += std::sin(hue * M_PI / 3) * (high - low);
    }
  }
  return static_cast<float>(std::fmod(std::atan2(sy, sx) * 180 / M_PI + 360, 360.0));
}

TEST(GeneratedPictures, PowerUpsAndTheShieldTellApartAtAGlance) {
  SKIP_WITHOUT_GENERATED_TREE();
  const char* names[] = {"powerinvuln", "powerlongrange", "powerspread", "powerstarburst"};
  float hues[4];
  for (int i = 0; i < 4; ++i) hues[i] = MeanHue(Load(std::string("textures/gameplay/") + names[i] + ".tga"));
  for (int i = 0; i < 4; ++i) {
    for (int j = i + 1; j < 4; ++j) {
      float apart = std::fabs(hues[i] - hues[j]);
      EXPECT_GT(std::min(apart, 360 - apart), 35.0f) << names[i] << " and " << names[j];
    }
  }
  // The shielded ship wears a bubble well beyond the hull.
  auto coverage = [](const Picture& picture) {
    double sum = 0;
    for (int y = 0; y < picture.image.height; ++y) {
      for (int x = 0; x < picture.image.width; ++x) sum += picture.Alpha(x, y) > 0.05f;
    }
    return sum;
  };
  EXPECT_GT(coverage(Load("textures/gameplay/shipinv.tga")), 1.5 * coverage(Load("textures/gameplay/ship.tga")));
}

}  // namespace
