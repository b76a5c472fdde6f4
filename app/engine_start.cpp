#include "app/engine_start.h"

#include "audio/audio_device.h"
#include "resources/settings.h"

bool StartGameEngine(EngineConfig config) {
  config.window.width = Settings.screenWidth;
  config.window.height = Settings.screenHeight;
  config.window.colorDepth = Settings.colorDepth;
  config.window.fullScreen = Settings.fullScreen;
  config.window.brightness = Settings.brightness;
  // Without a sound device the game still starts, silent.
  config.startAudio = StartAudioOrRunSilent;
  config.stopAudio = StopAudio;
  config.unloadAudio = UnloadAlTable;
  return StartEngine(config);
}
