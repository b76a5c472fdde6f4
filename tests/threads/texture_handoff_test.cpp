#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/asset_directory.h"
#include "resources/texture.h"
#include "resources/texture_bundle.h"
#include "resources/tga_writer.h"
#include "support/recording_gl.h"
#include "support/temp_dir.h"

namespace {

// The loader decodes on its own thread; only the main thread, servicing the
// hand-off once per "frame", may touch GL.
TEST(TextureHandoff, LoaderThreadWaitsUntilTheMainThreadUploads) {
  TempDir dir;
  StartAssetDirectoryAt(dir.withSlash().c_str());
  const std::vector<uint8_t> pixels(4 * 4 * 4, 77);
  const std::vector<uint8_t> file = EncodeTga(TgaImage{4, 4, 4, false, pixels.data()}, 32, TgaEncoding::RunLength);
  dir.WriteFile("textures/a.tga", std::string(file.begin(), file.end()));
  dir.WriteFile("textures/b.tga", std::string(file.begin(), file.end()));

  RecordingGl rec;
  const std::thread::id mainThread = std::this_thread::get_id();
  std::atomic<int> callsOffMain{0};
  rec.OnCall("glTexImage2D", [&](GlCall&) {
    if (std::this_thread::get_id() != mainThread) ++callsOffMain;
  });

  Texture a, b;
  std::atomic<bool> loaderDone{false};
  bool loadedA = false, loadedB = false;
  std::thread loader([&] {
    onLoaderThread.store(true);
    loadedA = a.Load("textures/a.tga", true);
    loadedB = b.Load("textures/b.tga", false);
    onLoaderThread.store(false);
    loaderDone.store(true, std::memory_order_release);
  });

  // Until the first frame is serviced nothing reaches GL.
  while (!uploadPending.load(std::memory_order_acquire)) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_EQ(rec.Count("glTexImage2D"), 0u);
  EXPECT_FALSE(loaderDone.load(std::memory_order_acquire));

  int frames = 0;
  while (!loaderDone.load(std::memory_order_acquire)) {
    ServicePendingUpload();
    ++frames;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  loader.join();
  StopAssetDirectory();

  EXPECT_TRUE(loadedA);
  EXPECT_TRUE(loadedB);
  EXPECT_GE(frames, 2);
  EXPECT_EQ(callsOffMain.load(), 0);
  EXPECT_EQ(a.glName, 1u);
  EXPECT_EQ(b.glName, 2u);
  EXPECT_EQ(a.pixels, nullptr);
  EXPECT_EQ(rec.Count("glTexImage2D"), 3u + 1u);
  EXPECT_FALSE(uploadPending.load());
  EXPECT_EQ(pendingUpload.load(), nullptr);
}

// The loader offers one image and decodes the next meanwhile; it offers the
// next only once the first is uploaded, so at most one image ever waits.
TEST(TextureHandoff, OfferReturnsAtOnceButTheNextOfferWaitsForTheUpload) {
  TempDir dir;
  StartAssetDirectoryAt(dir.withSlash().c_str());
  const std::vector<uint8_t> pixels(2 * 2 * 3, 9);
  const std::vector<uint8_t> file = EncodeTga(TgaImage{2, 2, 3, false, pixels.data()}, 24, TgaEncoding::Uncompressed);
  dir.WriteFile("textures/a.tga", std::string(file.begin(), file.end()));
  RecordingGl rec;

  Texture a, b;
  std::atomic<int> offered{0};
  std::thread loader([&] {
    a.Decode("textures/a.tga", false);
    OfferForUpload(&a);
    offered.store(1, std::memory_order_release);
    b.Decode("textures/a.tga", false);
    OfferForUpload(&b);
    offered.store(2, std::memory_order_release);
    FinishHandOver();
    offered.store(3, std::memory_order_release);
  });
  // Waits up to 2 s for the loader to get that far, then 30 ms more to show
  // that it stays there.
  const auto stopsAt = [&](int value) {
    for (int i = 0; i < 2000 && offered.load(std::memory_order_acquire) < value; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    return offered.load(std::memory_order_acquire);
  };

  EXPECT_EQ(stopsAt(1), 1);  // a offered; b's offer waits for a's upload
  EXPECT_EQ(pendingUpload.load(), &a);
  EXPECT_EQ(rec.Count("glTexImage2D"), 0u);
  ServicePendingUpload();
  EXPECT_EQ(a.glName, 1u);

  EXPECT_EQ(stopsAt(2), 2);  // b offered; FinishHandOver waits for its upload
  EXPECT_EQ(pendingUpload.load(), &b);
  while (offered.load(std::memory_order_acquire) < 3) {
    ServicePendingUpload();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  loader.join();
  StopAssetDirectory();
  EXPECT_EQ(b.glName, 2u);
  EXPECT_EQ(b.pixels, nullptr);
  EXPECT_FALSE(uploadPending.load());
}

}  // namespace
