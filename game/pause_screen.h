#pragma once
#include <functional>

class BitmapFont;
class MusicStream;

// The paused state of a level, entered from the gameplay loop. Nothing of
// the game advances: every frame timer in use is held (the object list's
// clock, the level's, the ship's shield and fire timers, the flame, the
// power-up drops), the music and the event sounds pause where they are and
// the thrust sound stops.
// Each frame draws the level as it stood, dimmed, with "PAUSED" and the
// bound keys and buttons that go on and give up. Main thread, GL context
// current.

enum class PauseOutcome {
  Resume,  // a pause key pressed again (after being let go)
  GiveUp,  // the give-up key, or a request to end the game
};

// drawLevel draws the frozen level as the loop does, without the frame's
// begin and end. font: the loop's class 2 font. music: may be null.
PauseOutcome RunPause(const std::function<void()>& drawLevel, const BitmapFont& font,
                      MusicStream* music);
