#include <cstdio>

#include "resources/settings.h"

// The game's entry. Until the engine and the screens are in place it loads the
// settings and reports what it found.
int main() {
  LoadSettings();
  std::printf("Starfield Stampede: settings %dx%dx%d, high score %d\n", Settings.screenWidth,
              Settings.screenHeight, Settings.colorDepth, Settings.highScore);
  return 0;
}
