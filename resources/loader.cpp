#include "resources/loader.h"

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/threads.h"
#include "resources/image_resource.h"
#include "resources/settings.h"

namespace {

// Writers: StartLoader (main thread, before the loader exists), then the
// loader thread; reader: the main thread's loading screen. Release on write,
// acquire on read: once the flag reads low the catalogue is complete.
std::atomic<bool> loaderRunning{false};
// Writers: StartLoader, then LoadCatalogue on whichever thread runs it;
// reader: the loading screen.
std::atomic<float> loadProgress{0.0f};

// Main thread only.
ThreadRecord* loaderThread = nullptr;
// Set before main runs; the loader thread reads it after its start.
LoaderSoundSteps soundSteps;

// Textures in the order they are loaded. The GLSL slots 15..35 and the
// fixed-function slots 5..7 are never both created, so one list serves both
// kinds of run: the slots a run did not create are skipped.
constexpr int32_t kLoadOrder[kTextureSlotCount] = {
    0,  1,  2,  4,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27,
    28, 29, 30, 31, 32, 33, 34, 35, 5,  6,  7,  36, 37, 38, 39, 40, 41, 42, 43, 44, 3,  45, 46, 47};

bool LoadedThisRun(SlotCondition condition, bool glsl) {
  switch (condition) {
    case SlotCondition::Always: return true;
    case SlotCondition::WithGlsl: return glsl;
    case SlotCondition::WithoutGlsl: return !glsl;
  }
  return false;
}

// Single precision on purpose: the steps add up to a hair off 1, not 1.
void AdvanceProgress() {
  loadProgress.store(loadProgress.load(std::memory_order_relaxed) + LoadProgressStep(),
                     std::memory_order_release);
}

template <typename T>
void DeleteAndClear(T*& object) {
  delete object;
  object = nullptr;
}

}  // namespace

float LoadProgressStep() {
  return 1.0f / static_cast<float>(kCatalogueProgressSteps + soundSteps.progressSteps);
}

bool StartLoader() {
  if (loaderThread) return false;
  ReleaseCatalogue();
  loadProgress.store(0.0f, std::memory_order_release);
  loaderRunning.store(true, std::memory_order_release);
  loaderThread = StartThread(LoaderMain, nullptr);
  if (!loaderThread) loaderRunning.store(false, std::memory_order_release);
  return loaderThread != nullptr;
}

bool IsLoaderRunning() { return loaderRunning.load(std::memory_order_acquire); }

float GetLoadProgress() { return loadProgress.load(std::memory_order_acquire); }

void StopLoader() {
  if (!loaderThread) return;
  while (!ThreadFinished(loaderThread)) {
    ServicePendingUpload();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  StopThread(loaderThread);
  loaderThread = nullptr;
}

void SetLoaderSoundSteps(const LoaderSoundSteps& steps) { soundSteps = steps; }

uint32_t LoaderMain(void*) {
  onLoaderThread.store(true, std::memory_order_relaxed);
  LoadCatalogue();
  onLoaderThread.store(false, std::memory_order_relaxed);
  if (soundSteps.load) soundSteps.load(AdvanceProgress);
  loaderRunning.store(false, std::memory_order_release);
  return 0;
}

void LoadCatalogue() {
  const bool glsl = Settings.glslEnabled;
  loadProgress.store(0.0f, std::memory_order_release);
  for (int32_t slot = 0; slot < kTextureSlotCount; ++slot) {
    const TextureEntry& entry = CatalogueTextureEntry(static_cast<TextureSlot>(slot));
    if (LoadedThisRun(entry.condition, glsl)) catalogue.textures[slot] = new Texture;
  }
  catalogue.menuBundle1 = new TextureBundle(4, false);
  catalogue.menuBundle2 = new TextureBundle(4, false);
  catalogue.menuBundle1->Load(kMenuBundle1Path, false);
  catalogue.menuBundle2->Load(kMenuBundle2Path, false);
  for (BundleSprite*& sprite : catalogue.sprites) sprite = new BundleSprite;

  // Each texture is decoded while the one before it waits for its upload. A
  // step is counted only once its texture's upload is over, and before the
  // next texture is offered, so the bar never runs ahead of the uploads.
  bool stepOwed = false;
  for (int32_t slot : kLoadOrder) {
    Texture* texture = catalogue.textures[slot];
    if (!texture) continue;
    const TextureEntry& entry = CatalogueTextureEntry(static_cast<TextureSlot>(slot));
    const bool decoded = texture->Decode(entry.path, entry.mipmapped);
    FinishHandOver();
    if (stepOwed) AdvanceProgress();
    if (decoded) UploadOrOffer(texture);
    stepOwed = entry.progressStep;
  }
  FinishHandOver();
  if (stepOwed) AdvanceProgress();

  for (int32_t index = 0; index < kSpriteSlotCount; ++index) {
    const SpriteEntry& entry = CatalogueSpriteEntry(static_cast<SpriteSlot>(kFirstSpriteSlot + index));
    TextureBundle* bundle = entry.bundle == 1 ? catalogue.menuBundle1 : catalogue.menuBundle2;
    catalogue.sprites[index]->Init(bundle, entry.name);
    AdvanceProgress();
  }
}

void ReleaseCatalogue() {
  for (Texture*& texture : catalogue.textures) DeleteAndClear(texture);
  for (BundleSprite*& sprite : catalogue.sprites) DeleteAndClear(sprite);
  DeleteAndClear(catalogue.menuBundle1);
  DeleteAndClear(catalogue.menuBundle2);
}

void ReleaseResources() {
  StopLoader();
  ReleaseCatalogue();
  if (soundSteps.release) soundSteps.release();
}
