#pragma once
#include <cstdint>

// Which sounds may cut which short when every voice is busy: a new sound
// takes over the oldest voice of its own rank or below, never one above.
enum class SoundPriority : int32_t {
  Menu = 0,   // ticks and clicks of the menus
  Event = 1,  // asteroid breaks and power-ups
  Lead = 2,   // the final asteroid, extra lives, the level fanfare
};

// A fixed set of OpenAL sources shared by every event sound, so a crowd of
// breaks can never use up the device's sources (the music and the ship keep
// sources of their own, which the pool never touches). Sources are
// listener-relative with no distance attenuation: a sound's position only
// places it left or right. Create on any thread holding the audio context
// (the loader's); Take and Release on the main thread.
class VoicePool {
 public:
  static constexpr int32_t kVoiceCount = 16;

  // Generates up to kVoiceCount sources, fewer if the device refuses more.
  void Create();
  // Stops and deletes the sources; the pool is empty afterwards.
  void Release();
  // At most this many voices play one sound at a time. Copies of a sound
  // started together add up in phase, every copy adding level and nothing
  // else, so a crowd of one sound is heard through its newest few.
  static constexpr int32_t kVoicesPerSound = 3;

  // The source a new sound (identified by sound, any number the caller
  // chooses) of this priority should play on, 0 when none may be had: while
  // kVoicesPerSound voices play that sound, the one of them that started
  // longest ago; else a voice that is not playing; else the one that
  // started longest ago among those playing at the same or a lower
  // priority. The voice is marked with the sound, the priority and as the
  // newest; the caller sets its buffer (after stopping it) and plays it.
  uint32_t Take(int32_t sound, SoundPriority priority);

  // The game's pause: the voices playing now stop where they are, and
  // ResumePaused plays exactly those on from there.
  void PausePlaying();
  void ResumePaused();

  int32_t size() const { return count_; }

 private:
  struct Voice {
    uint32_t source = 0;
    int32_t sound = -1;
    SoundPriority priority = SoundPriority::Menu;
    uint64_t started = 0;  // order of the Take that gave it its sound
    bool paused = false;   // by PausePlaying
  };
  Voice voices_[kVoiceCount];
  int32_t count_ = 0;
  uint64_t takes_ = 0;
};
