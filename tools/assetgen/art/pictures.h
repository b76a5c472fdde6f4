#pragma once
#include <string>

// Every picture of the game, described in code. Each function writes its
// files under baseDir (the base/ folder), prints nothing on success, prints
// the failing path to stderr and returns false on the first failure. The
// output is the same bytes on every run. Single-threaded.
namespace art {

// textures/gameplay/ and textures/glsl/: asteroids, ship, debris, power-ups,
// bullet, particles, flame, noise, HUD box, star field, level screens.
bool WriteGameplayPictures(const std::string& baseDir);
// textures/presentation/, textures/story/, textures/gameplay/gamewin.tga and
// textures/menu/Pointer.tga.
bool WriteScreenPictures(const std::string& baseDir);
// tbundles/menu/menu1.etb and menu2.etb with every menu sprite.
bool WriteMenuBundles(const std::string& baseDir);
// fonts/default.tga: the 16 x 16 glyph sheet.
bool WriteFontSheet(const std::string& baseDir);

}  // namespace art
