#pragma once
#include <cstdint>

#include "resources/catalogue.h"

// The loader thread: it lives while the title screen animates, fills the
// catalogue (catalogue.h) and then loads the sounds. It has no
// GL context: every decoded image waits in the upload hand-off
// (image_resource.h) until the main thread uploads it, so the main thread
// must call ServicePendingUpload every frame while the loader runs.
//
// Main thread, each frame of the loading screen:
//   StartLoader() once; then while IsLoaderRunning(), GetLoadProgress() for
//   the bar and ServicePendingUpload(); the first time it is false,
//   StopLoader(). The catalogue is complete from then on.

// The catalogue's progress steps: 16 texture loads and a look-up for every
// sprite with GLSL; without it the 3 fixed-function ship textures are steps
// too.
constexpr int32_t kCatalogueTextureSteps = 16;
constexpr int32_t kCatalogueProgressSteps = kCatalogueTextureSteps + kSpriteSlotCount;
// One progress step when no sounds count (see LoaderSoundSteps).
constexpr float kLoadProgressStep = 1.0f / kCatalogueProgressSteps;
// One progress step: the whole bar spread over the catalogue's steps and
// the sounds' steps, so with GLSL the progress ends near 1 and without it a
// little beyond.
float LoadProgressStep();

// Main thread. Empties the catalogue, sets the progress to 0, raises the
// running flag and starts the loader thread with LoaderMain. False, with the
// flag low again, when a loader is already there (started and not yet
// stopped) or the thread cannot be started.
bool StartLoader();
// Any thread: true from StartLoader until the loader's last act. Once it has
// returned false the loader has finished writing the catalogue.
bool IsLoaderRunning();
// Any thread: 0 at the start, + kLoadProgressStep after every step; may
// exceed 1 (see above), so a bar must clamp it.
float GetLoadProgress();
// Main thread: waits for the loader thread to end and releases it. While the
// loader still works it keeps servicing the upload hand-off, so stopping
// early finishes the load instead of leaving the loader waiting for ever.
// Harmless when no loader is there.
void StopLoader();

// The sounds the loader loads after the pictures and ReleaseResources
// releases after them, which belong to the audio layer above. That layer
// hands its two steps in before the program starts (as soon as its sounds
// are part of the program); a null step does nothing. The load step calls
// advanceProgress once for each of its progressSteps.
struct LoaderSoundSteps {
  void (*load)(void (*advanceProgress)()) = nullptr;
  void (*release)() = nullptr;
  int32_t progressSteps = 0;
};
void SetLoaderSoundSteps(const LoaderSoundSteps& steps);

// The loader thread's body (argument unused): raises onLoaderThread, runs
// LoadCatalogue, lowers onLoaderThread, loads the sounds (the load step) and
// lowers the running flag as its last act.
uint32_t LoaderMain(void* argument);

// Fills an empty catalogue, starting the progress from 0: creates the textures of this run's slots
// (by Settings.glslEnabled), the two bundles (4 bytes per pixel, no mipmaps) and the sprites; loads
// both bundles; loads the textures in the order slots 0, 1, 2, 4, 8..14, then 15..35 with GLSL or
// 5, 6, 7 without, then 36..44, 3, 45, 46, 47; then looks up the sprites in slot order. Every
// texture load marked as a step and every look-up advances the progress; a texture's step counts
// once its upload is over. Failed loads leave empty textures or bundles without pictures and
// loading goes on. Runs on the loader thread, where each texture is decoded while the one before it
// waits in the hand-off, or on the main thread (uploading directly).
void LoadCatalogue();
// Main thread, no loader running: destroys every texture, sprite and bundle
// of the catalogue and empties every slot. Harmless on an empty catalogue.
void ReleaseCatalogue();
// Main thread, at shutdown before the audio device stops: StopLoader, then
// ReleaseCatalogue, then the sounds (the release step).
void ReleaseResources();
