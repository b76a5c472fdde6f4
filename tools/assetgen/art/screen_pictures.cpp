// The pictures of the screens around the game. The intro, title and loading
// pictures are mipmapped (power-of-two sides); the full-screen story, credits
// and ending pictures are not, and are stored run-length encoded.
#include "tools/assetgen/art/pictures.h"
#include "tools/assetgen/art/screens_art.h"
#include "tools/assetgen/art/texture_files.h"

namespace art {

bool WriteScreenPictures(const std::string& baseDir) {
  bool ok = SharedFonts().ok();
  auto put = [&](const std::string& path, const Canvas& canvas, TextureFormat format) {
    ok = ok && WriteTexture(baseDir, "textures/" + path, canvas, format);
  };
  constexpr TextureFormat kRgbaRle{true, true}, kRgbRle{false, true}, kRgba{true, false};
  put("presentation/titlepresents.tga", PaintPresents(512), kRgbaRle);
  put("presentation/titlescreen.tga", PaintTitle(1024), kRgbaRle);
  put("presentation/loading.tga", PaintLoading(512), kRgbaRle);
  put("menu/Pointer.tga", PaintPointer(32), kRgba);
  put("story/frame1.tga", PaintStoryFrame(1024, 768), kRgbRle);
  put("story/frame2.tga", PaintStoryPanel(1024, 768), kRgbRle);
  put("story/credits.tga", PaintCredits(1024, 768), kRgbRle);
  put("story/gameover.tga", PaintGameOver(1024, 768), kRgbRle);
  put("gameplay/gamewin.tga", PaintGameWon(1024, 768), kRgbRle);
  return ok;
}

}  // namespace art
