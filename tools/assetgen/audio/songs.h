#pragma once
#include "tools/assetgen/audio/sequencer.h"

namespace synth {

// Menu music: 90 BPM in D minor, 24 bars (64 s). Eight bars of pad, sub
// bass and a bell arpeggio over Dm7 - Bbmaj7 - F - C, soft kick and hats
// joining halfway; eight with the bell melody and its variation over the
// full kit; eight of a higher answering melody over Gm7 - Bbmaj7 - Dm - C
// that ends on A major to lead back into the first bar.
Song ComposeMenuTheme();

// Gameplay music: 126 BPM in A minor, 32 bars (61 s). Intro groove with
// rolling bass and arpeggio (Am F C G); the lead's hook and its answer; a
// half-time bridge (F G Em Am) that builds back to full time with a snare
// roll; the hook doubled an octave up, ending on E major into bar one.
Song ComposeUpbeatTech();

}  // namespace synth
