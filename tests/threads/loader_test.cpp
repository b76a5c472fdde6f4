#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "audio/event_sound_files.h"
#include "audio/sound_effect.h"
#include "platform/asset_directory.h"
#include "platform/console_log.h"
#include "platform/frame_timer.h"
#include "resources/image_resource.h"
#include "resources/loader.h"
#include "resources/settings.h"
#include "support/fake_clock.h"
#include "support/recording_al.h"
#include "support/recording_gl.h"
#include "support/temp_dir.h"
#include "tests/resources/catalogue_test_support.h"

// The loader on its own thread, with the test as the loading screen: each
// frame it services the upload hand-off, as the title screen does.
namespace {

// Counts GL calls made from any thread but the one that installed it, by
// passing every entry point of the table through a check before the fake.
class GlThreadGuard {
 public:
  GlThreadGuard() : saved_(gl) {
    owner_ = std::this_thread::get_id();
    strayCalls_ = 0;
#define SS_GL_FUNCTION(ret, name, params, args) gl.name = Checked_##name;
#define SS_GL_EXTENSION_FUNCTION(group, ret, name, params, args) gl.name = Checked_##name;
#include "platform/gl_core.inc"
#include "platform/gl_extension_functions.inc"
#undef SS_GL_FUNCTION
#undef SS_GL_EXTENSION_FUNCTION
    forward_ = saved_;
  }
  ~GlThreadGuard() { gl = saved_; }
  GlThreadGuard(const GlThreadGuard&) = delete;
  GlThreadGuard& operator=(const GlThreadGuard&) = delete;

  int strayCalls() const { return strayCalls_.load(); }

 private:
  static void Check() {
    if (std::this_thread::get_id() != owner_) ++strayCalls_;
  }
#define SS_GL_FUNCTION(ret, name, params, args) \
  static ret Checked_##name params {            \
    Check();                                    \
    return forward_.name args;                  \
  }
#define SS_GL_EXTENSION_FUNCTION(group, ret, name, params, args) SS_GL_FUNCTION(ret, name, params, args)
#include "platform/gl_core.inc"
#include "platform/gl_extension_functions.inc"
#undef SS_GL_FUNCTION
#undef SS_GL_EXTENSION_FUNCTION

  GlTable saved_;
  static inline GlTable forward_;
  static inline std::thread::id owner_;
  static inline std::atomic<int> strayCalls_{0};
};

// What the main thread saw waiting in the hand-off, frame by frame.
struct HandOff {
  std::string what;  // the texture's path, or "bundle1" / "bundle2"
  float progress;    // the progress while it waited
};

// The progress the bar showed in one frame, and how many hand-offs the main
// thread had serviced by then.
struct FrameProgress {
  std::size_t serviced;
  float progress;
};

class LoaderTest : public CatalogueRunTest {
 protected:
  // The loading screen's loop: one frame of fake time, then the hand-off.
  // Returns what waited in each frame that had something waiting.
  std::vector<HandOff> RunLoadingScreen() {
    FakeClock clock;
    const int32_t timer = AcquireTimer();
    std::vector<HandOff> seen;
    EXPECT_TRUE(StartLoader());
    while (IsLoaderRunning()) {
      clock.Advance(0.016);
      UpdateTimers();
      ++frames;
      everyFrame.push_back({seen.size(), GetLoadProgress()});
      if (uploadPending.load(std::memory_order_acquire)) {
        ImageResource* image = pendingUpload.load(std::memory_order_relaxed);
        std::string what = image == catalogue.menuBundle1   ? "bundle1"
                           : image == catalogue.menuBundle2 ? "bundle2"
                                                            : static_cast<Texture*>(image)->name;
        seen.push_back({what, GetLoadProgress()});
        // Serviced only when seen, so that no hand-off goes unrecorded.
        ServicePendingUpload();
      }
      std::this_thread::yield();
    }
    loadSeconds = TimerSeconds(timer);
    ReleaseTimer(timer);
    StopLoader();
    return seen;
  }

  int frames = 0;
  float loadSeconds = 0;
  std::vector<FrameProgress> everyFrame;
};

TEST_P(LoaderTest, HandsEveryImageToTheMainThreadInLoadingOrder) {
  WriteCatalogueTestFiles(dir);
  GlThreadGuard guard;
  const std::vector<HandOff> seen = RunLoadingScreen();

  EXPECT_EQ(guard.strayCalls(), 0);
  std::vector<std::string> expected = {"bundle1", "bundle2"};
  for (int32_t slot : ExpectedLoadOrder(glsl())) {
    expected.push_back(CatalogueTextureEntry(static_cast<TextureSlot>(slot)).path);
  }
  std::vector<std::string> order;
  for (const HandOff& handOff : seen) order.push_back(handOff.what);
  ASSERT_EQ(order, expected);
  // Each image costs the loader at least one frame of the loading screen.
  EXPECT_GT(frames, static_cast<int>(expected.size()));
  EXPECT_NEAR(loadSeconds, frames * 0.016f, 0.001f);

  // A texture's step counts once its upload is over, though the loader
  // decodes the next texture meanwhile: while image i waits the bar shows
  // exactly the steps of the images before it, and no frame shows a step
  // whose texture is not uploaded yet.
  std::vector<int> stepsUploaded = {0, 0, 0};  // after 0, 1 and 2 hand-offs (the bundles)
  for (int32_t slot : ExpectedLoadOrder(glsl())) {
    const bool step = CatalogueTextureEntry(static_cast<TextureSlot>(slot)).progressStep;
    stepsUploaded.push_back(stepsUploaded.back() + (step ? 1 : 0));
  }
  for (std::size_t i = 0; i < seen.size(); ++i) {
    EXPECT_NEAR(seen[i].progress, stepsUploaded[i] * LoadProgressStep(), 4e-6f) << seen[i].what;
  }
  EXPECT_EQ(seen[6].what, "textures/gameplay/shipp0.tga");
  EXPECT_NEAR(seen[6].progress, 4 * LoadProgressStep(), 1e-6f);  // slots 0, 1, 2 and 4
  for (const FrameProgress& frame : everyFrame) {
    if (frame.serviced == seen.size()) break;  // the sprite steps follow the last upload
    EXPECT_LE(frame.progress, stepsUploaded[frame.serviced] * LoadProgressStep() + 4e-6f);
  }
  // The sounds' steps fill the bar; the fixed-function ship adds 3 more.
  EXPECT_NEAR(GetLoadProgress(), glsl() ? 1.0f : 1 + 3 * LoadProgressStep(), 4e-6f);

  for (int32_t slot = 0; slot < kTextureSlotCount; ++slot) {
    const Texture* texture = catalogue.textures[slot];
    EXPECT_EQ(texture != nullptr, SlotLoadedWith(slot, glsl())) << "slot " << slot;
    if (texture) {
      EXPECT_NE(texture->glName, Texture::kNoName) << "slot " << slot;
    }
  }
  EXPECT_NE(CatalogueSprite(SpriteSlot::RestartNotice)->coords[0], 0.0f);
  EXPECT_FALSE(onLoaderThread.load());
}

TEST_P(LoaderTest, StopLoaderFinishesALoadNobodyServiced) {
  WriteCatalogueTestFiles(dir);
  GlThreadGuard guard;
  ASSERT_TRUE(StartLoader());
  EXPECT_FALSE(StartLoader());  // one loader at a time
  StopLoader();

  EXPECT_FALSE(IsLoaderRunning());
  EXPECT_EQ(guard.strayCalls(), 0);
  EXPECT_NE(CatalogueTexture(TextureSlot::Credits)->glName, Texture::kNoName);
  // The sounds' steps fill the bar; the fixed-function ship adds 3 more.
  EXPECT_NEAR(GetLoadProgress(), glsl() ? 1.0f : 1 + 3 * LoadProgressStep(), 4e-6f);
}

INSTANTIATE_TEST_SUITE_P(ShaderChoice, LoaderTest, ::testing::Bool(), ShaderChoiceName);

// A 16-bit mono PCM file whose samples all hold `level`.
std::string TestWav(uint8_t level) {
  std::string wav = "RIFF....WAVEfmt ";
  const uint8_t format[20] = {16, 0, 0, 0, 1, 0, 1, 0, 0x22, 0x56, 0, 0, 0x44, 0xAC, 0, 0, 2, 0, 16, 0};
  wav.append(reinterpret_cast<const char*>(format), sizeof(format));
  wav += "data";
  wav.append("\x04\x00\x00\x00", 4);
  wav.append(4, static_cast<char>(level));
  return wav;
}

TEST(LoaderSoundsTest, LoadsTheShipSoundsAfterTheImagesAndReleasesThem) {
  TempDir dir;
  StartAssetDirectoryAt(dir.withSlash().c_str());
  WriteCatalogueTestFiles(dir);
  dir.WriteFile(kLaserShotSoundFile, TestWav(1));
  dir.WriteFile(kThrustSoundFile, TestWav(2));
  dir.WriteFile(kExplosionSoundFile, TestWav(3));
  Settings.soundEnabled = true;
  RecordingGl rec;
  RecordingAl al;

  ASSERT_TRUE(StartLoader());
  std::size_t soundsBeforeLastImage = SIZE_MAX;
  while (IsLoaderRunning()) {
    if (uploadPending.load(std::memory_order_acquire)) {
      if (pendingUpload.load(std::memory_order_relaxed) == catalogue.textures[47]) {
        soundsBeforeLastImage = al.CallsTo("alBufferData").size();
      }
      ServicePendingUpload();
    }
    std::this_thread::yield();
  }
  StopLoader();

  EXPECT_EQ(soundsBeforeLastImage, 0u);
  const std::vector<std::vector<uint8_t>> data = al.AllBufferData();
  ASSERT_EQ(data.size(), 3u);
  EXPECT_EQ(data[0][0], 1);
  EXPECT_EQ(data[1][0], 2);
  EXPECT_EQ(data[2][0], 3);
  ASSERT_NE(shipSounds.thrustSound, nullptr);
  EXPECT_TRUE(shipSounds.thrustSound->loaded());

  ReleaseResources();
  EXPECT_EQ(shipSounds.thrustSound, nullptr);
  EXPECT_TRUE(al.LiveSources().empty());
  EXPECT_TRUE(al.LiveBuffers().empty());
  EXPECT_EQ(CatalogueTexture(TextureSlot::Credits), nullptr);
  StopAssetDirectory();
  Settings = SettingsRecord{};
}

TEST(LoaderLogTest, EveryPictureBundleAndSoundThatFailsLeavesALine) {
  TempDir dir;
  StartAssetDirectoryAt(dir.withSlash().c_str());
  ASSERT_TRUE(StartConsoleLog());
  OpenConsoleLog();
  CatalogueTestFiles files;
  files.bundle2 = false;
  WriteCatalogueTestFiles(dir, files);
  dir.WriteFile("textures/story/credits.tga", "not a picture");
  dir.WriteFile(kLaserShotSoundFile, TestWav(1));
  dir.WriteFile(kThrustSoundFile, TestWav(2));
  for (const char* file : kEventSoundFiles) dir.WriteFile(file, TestWav(3));
  Settings.soundEnabled = true;
  RecordingGl rec;
  RecordingAl al;

  ASSERT_TRUE(StartLoader());
  while (IsLoaderRunning()) {
    if (uploadPending.load(std::memory_order_acquire)) ServicePendingUpload();
    std::this_thread::yield();
  }
  StopLoader();
  CloseConsoleLog();
  StopConsoleLog();
  EXPECT_EQ(dir.ReadFile("conlog.txt"),
            std::string("Bundle load failed: tbundles/menu/menu2.etb\n"
                        "Texture load failed: textures/story/credits.tga\n"
                        "Sound load failed: ") +
                kExplosionSoundFile + "\n");
  ReleaseResources();
  StopAssetDirectory();
  Settings = SettingsRecord{};
}

}  // namespace
