#pragma once
#include <cstdint>
#include <vector>

#include "tools/assetgen/audio/sequencer.h"
#include "tools/assetgen/audio/synth.h"

namespace synth {

// The buses the tracks play into: the dry mix and the echo and reverb sends.
struct Buses {
  StereoBuffer dry;
  StereoBuffer delaySend;
  StereoBuffer reverbSend;
  std::vector<float> kickEnvelope;  // 0..1 per frame, how hard the kick pushes
  explicit Buses(size_t frames)
      : dry(frames), delaySend(frames), reverbSend(frames), kickEnvelope(frames, 0.0f) {}
};

// One track's way into the buses, applying its gain, pan, sends and kick
// ducking. Frames past the end of the loop land at its start, which is what
// lets a rendered piece loop without a seam.
class Sink {
 public:
  Sink(Buses& buses, const Mix& mix);
  void Add(int64_t frame, float left, float right);

 private:
  Buses& buses_;
  Mix mix_;
  float leftGain_;
  float rightGain_;
};

struct NoteEvent {
  int64_t startFrame;
  double gateSeconds;  // how long the note is held
  double hz;
  float velocity;
};

// Synthesises one note of the instrument into the sink; drums ignore hz.
void PlayNote(Instrument instrument, const NoteEvent& note, Sink& sink, Random& random);

}  // namespace synth
