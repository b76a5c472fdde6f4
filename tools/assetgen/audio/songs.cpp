#include "tools/assetgen/audio/songs.h"

namespace synth {

Song ComposeMenuTheme() {
  Song song{
      .bpm = 90,
      .bars = 24,
      .seed = 0x3e4u,
      .effects = {.delaySteps = 3, .delayFeedback = 0.45f, .reverbFeedback = 0.88f, .reverbDamping = 0.35f}};

  const char* verse = "Dm7 Bbmaj7 F C Dm7 Bbmaj7 F C";
  const char* bridge = "Gm7 Bbmaj7 Dm C Gm7 Bbmaj7 Asus4 A";

  Track& pad = song.AddTrack(Instrument::WarmPad, {.gain = 0.6f, .reverbSend = 0.35f});
  AddChords(song, pad, 0, verse, 53, 0.7f);
  AddChords(song, pad, 8, verse, 53, 0.8f);
  AddChords(song, pad, 16, bridge, 53, 1.0f);

  Track& bass = song.AddTrack(Instrument::SubBass, {.gain = 0.9f});
  AddBassLine(song, bass, 0, "Dm7 Bbmaj7 F C", "x...............", 33, 0.8f);
  AddBassLine(song, bass, 4, "Dm7 Bbmaj7 F C", "x.......x.....x.", 33, 0.9f);
  AddBassLine(song, bass, 8, verse, "x.......x.....x.", 33, 1.0f);
  AddBassLine(song, bass, 16, bridge, "x.......x.....x.", 33, 1.0f);

  // Dotted-eighth arpeggio, echoed on the dotted eighth.
  Track& arpeggio =
      song.AddTrack(Instrument::Bell, {.gain = 0.35f, .pan = 0.3f, .delaySend = 0.4f, .reverbSend = 0.4f});
  AddArpeggio(song, arpeggio, 0, verse, "0--1--2--3--2--1", 62, 1.0f);
  AddArpeggio(song, arpeggio, 8, verse, "0-----2-----1---", 62, 0.5f);
  AddArpeggio(song, arpeggio, 16, bridge, "0--1--2--3--4--3", 62, 0.7f);

  Track& melody =
      song.AddTrack(Instrument::Bell, {.gain = 0.5f, .pan = -0.1f, .delaySend = 0.3f, .reverbSend = 0.45f});
  AddMelody(song, melody, 8,
            "A4 . . . . . D5 . E5 . . . F5 . . . | D5 . . . . . . . . . . . C5 . A4 . |"
            "C5 . . . . . F5 . G5 . . . A5 . . . | G5 . . . . . . . E5 . . . . . . . |"
            "A4 . . . . . D5 . E5 . . . F5 . . . | D5 . . . . . F5 . A5 . . . . . G5 . |"
            "F5 . . . . . E5 . C5 . . . . . A4 . | G4 . . . . . . . C5 . . . E5 . . .",
            0.9f);
  AddMelody(song, melody, 16,
            "D6 . . . . . . . Bb5 . . . A5 . G5 . | F5 . . . . . . . A5 . . . D6 . . . |"
            "C6 . . . A5 . . . F5 . . . A5 . . . | G5 . . . . . . . E5 . . . C5 . . . |"
            "D6 . . . . . . . Bb5 . . . A5 . G5 . | F5 . . . . . A5 . D6 . . . F6 . . . |"
            "E6 . . . . . D6 . . . . . A5 . . . | C#6 . . . . . . . . . . . E5 . . .",
            0.85f);

  Track& kick = song.AddTrack(Instrument::Kick, {.gain = 0.7f});
  AddDrumPattern(song, kick, 4, 4, "x-------x-------");
  AddDrumPattern(song, kick, 8, 16, "x-----x---x-----");

  Track& snare = song.AddTrack(Instrument::Snare, {.gain = 0.4f, .reverbSend = 0.35f});
  AddDrumPattern(song, snare, 8, 15, "----x-------x---");
  AddDrumPattern(song, snare, 23, 1, "----x-----o-x-ox");

  Track& hats = song.AddTrack(Instrument::ClosedHat, {.gain = 0.25f, .pan = 0.25f, .reverbSend = 0.05f});
  AddDrumPattern(song, hats, 4, 20, "x-o-x-o-x-o-x-o-");
  Track& openHats = song.AddTrack(Instrument::OpenHat, {.gain = 0.2f, .pan = -0.25f, .reverbSend = 0.1f});
  AddDrumPattern(song, openHats, 16, 8, "------x-------x-");
  Track& crash = song.AddTrack(Instrument::Crash, {.gain = 0.25f, .reverbSend = 0.2f});
  AddDrumPattern(song, crash, 8, 1, "x---------------");
  AddDrumPattern(song, crash, 16, 1, "x---------------");
  return song;
}

Song ComposeUpbeatTech() {
  Song song{
      .bpm = 126,
      .bars = 32,
      .seed = 0x7ec4u,
      .effects = {.delaySteps = 3, .delayFeedback = 0.35f, .reverbFeedback = 0.82f, .reverbDamping = 0.3f}};

  const char* groove = "Am F C G Am F C G";
  const char* bridge = "F G Em Am F G Am E";
  const char* finale = "Am F C G Am F C E";
  const char* fourOnTheFloor = "x---x---x---x---";
  const char* backbeat = "----x-------x---";

  Track& kick = song.AddTrack(Instrument::Kick, {.gain = 1.0f});
  AddDrumPattern(song, kick, 0, 16, fourOnTheFloor);
  AddDrumPattern(song, kick, 16, 4, "x-------x-------");
  AddDrumPattern(song, kick, 20, 12, fourOnTheFloor);

  Track& clap = song.AddTrack(Instrument::Clap, {.gain = 0.55f, .reverbSend = 0.15f});
  AddDrumPattern(song, clap, 4, 12, backbeat);
  AddDrumPattern(song, clap, 16, 4, "--------x-------");
  AddDrumPattern(song, clap, 20, 12, backbeat);

  Track& snare = song.AddTrack(Instrument::Snare, {.gain = 0.45f, .pan = 0.1f, .reverbSend = 0.2f});
  AddDrumPattern(song, snare, 15, 1, "------------oxox");
  AddDrumPattern(song, snare, 23, 1, "o-o-o-o-oooxxxxx");

  Track& hats = song.AddTrack(Instrument::ClosedHat, {.gain = 0.35f, .pan = 0.2f});
  AddDrumPattern(song, hats, 0, 16, "xo-oxo-oxo-oxo-o");
  AddDrumPattern(song, hats, 16, 4, "x-o-x-o-x-o-x-o-");
  AddDrumPattern(song, hats, 20, 12, "xo-oxo-oxo-oxo-o");
  Track& openHats = song.AddTrack(Instrument::OpenHat, {.gain = 0.3f, .pan = -0.2f, .reverbSend = 0.05f});
  AddDrumPattern(song, openHats, 4, 12, "--x---x---x---x-");
  AddDrumPattern(song, openHats, 20, 12, "--x---x---x---x-");
  Track& crash = song.AddTrack(Instrument::Crash, {.gain = 0.3f, .reverbSend = 0.2f});
  for (int bar : {0, 8, 16, 24}) AddDrumPattern(song, crash, bar, 1, "x---------------");

  const char* rolling = "-xxx-xxx-xxx-xox";
  Track& bass = song.AddTrack(Instrument::AcidBass, {.gain = 0.8f, .duck = 0.5f});
  AddBassLine(song, bass, 0, groove, rolling, 28, 1.0f);
  AddBassLine(song, bass, 8, groove, rolling, 28, 1.0f);
  AddBassLine(song, bass, 16, "F G Em Am", "x.......x.......", 28, 0.9f);
  AddBassLine(song, bass, 20, "F G Am E", rolling, 28, 1.0f);
  AddBassLine(song, bass, 24, finale, rolling, 28, 1.0f);

  Track& pad = song.AddTrack(Instrument::Pad, {.gain = 0.5f, .reverbSend = 0.3f, .duck = 0.7f});
  AddChords(song, pad, 0, groove, 55, 0.5f);
  AddChords(song, pad, 8, groove, 55, 0.7f);
  AddChords(song, pad, 16, bridge, 55, 1.0f);
  AddChords(song, pad, 24, finale, 55, 0.8f);

  const char* spin = "0213243102132431";
  Track& arpeggio =
      song.AddTrack(Instrument::Pluck,
                    {.gain = 0.45f, .pan = -0.25f, .delaySend = 0.35f, .reverbSend = 0.15f, .duck = 0.3f});
  AddArpeggio(song, arpeggio, 4, "Am F C G", spin, 64, 0.8f);
  AddArpeggio(song, arpeggio, 8, groove, spin, 64, 0.9f);
  AddArpeggio(song, arpeggio, 16, "F G Em Am", "0-2-1-3-2-4-3-1-", 64, 0.8f);
  AddArpeggio(song, arpeggio, 20, "F G Am E", spin, 64, 0.9f);
  AddArpeggio(song, arpeggio, 24, finale, spin, 64, 1.0f);

  // The hook, its answer, and the answer's ending on the dominant.
  const char* hook =
      "E5 . . E5 . . D5 . C5 . . . A4 . C5 . | F5 . . F5 . . E5 . C5 . . . A4 . . . |"
      "G5 . . G5 . . E5 . C5 . . . G4 . C5 . | D5 . . . . . B4 . D5 . . . - - - -";
  const char* answer =
      "E5 . . E5 . . D5 . C5 . . . A4 . C5 . | F5 . . F5 . . A5 . G5 . . . F5 . E5 . |"
      "E5 . . . G5 . . . C6 . . . B5 . G5 . |";
  const char* answerToTonic = "B5 . . . . . A5 . G5 . . . D5 . . .";
  const char* answerToDominant = "G#5 . . . . . B5 . . . . . E5 . . .";
  Track& lead = song.AddTrack(Instrument::Lead, {.gain = 0.55f, .delaySend = 0.3f, .reverbSend = 0.25f});
  AddMelody(song, lead, 8, hook, 0.9f);
  AddMelody(song, lead, 12, std::string(answer) + answerToTonic, 0.9f);
  AddMelody(song, lead, 16,
            "A5 . . . . . . . C6 . . . A5 . . . | B5 . . . . . . . D6 . . . B5 . . . |"
            "G5 . . . . . . . B5 . . . E6 . . . | C6 . . . . . . . . . . . - - - - |"
            "A5 . . . C6 . . . F6 . . . E6 . . . | D6 . . . B5 . . . G5 . . . D6 . . . |"
            "C6 . . . E6 . . . A5 . . . . . . . | G#5 . . . . . . . B5 . . . . . . .",
            0.85f);
  AddMelody(song, lead, 24, hook, 1.0f);
  AddMelody(song, lead, 28, std::string(answer) + answerToDominant, 1.0f);

  Track& leadOctave =
      song.AddTrack(Instrument::Lead, {.gain = 0.25f, .pan = 0.15f, .delaySend = 0.3f, .reverbSend = 0.3f});
  AddMelody(song, leadOctave, 24, hook, 0.8f, 12);
  AddMelody(song, leadOctave, 28, std::string(answer) + answerToDominant, 0.8f, 12);
  return song;
}

}  // namespace synth
