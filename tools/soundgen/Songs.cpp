// The pieces of background music shipped with the game.
#include "Compose.h"

namespace pav::soundgen {

namespace {

TVoice Voice(int program, int volume, int pan, int reverb, int chorus, int low = 0, int high = 127) {
  TVoice v;
  v.Program = program;
  v.Volume = volume;
  v.Pan = pan;
  v.Reverb = reverb;
  v.Chorus = chorus;
  v.Low = low;
  v.High = high;
  return v;
}

TSection Part(const char* bars, char theme, TVariation variation, bool pad, bool drums, double dynamics) {
  TSection s;
  s.Bars = bars;
  s.Theme = theme;
  s.Variation = variation;
  s.Pad = pad;
  s.Drums = drums;
  s.Dynamics = dynamics;
  return s;
}

TSection Intro(const char* bars, bool pad, double dynamics) { return Part(bars, 0, TVariation::Plain, pad, false, dynamics); }

TSection Ending(const char* bars, bool pad, bool drums, double dynamics) {
  TSection s = Part(bars, 0, TVariation::Plain, pad, drums, dynamics);
  s.Final = true;
  return s;
}

// C major, a light walk: piano, flute, strings, bass and soft drums.
TSong MorningTiles() {
  TSong s;
  s.Title = "Morning Tiles";
  s.Tempo = 94;
  s.Beats = 4;
  s.Tonic = 60;
  s.KeySharps = 0;
  s.Seed = 1;
  s.Leads[0] = Voice(73, 96, 72, 60, 10, 67, 86);  // flute
  s.Leads[1] = Voice(71, 82, 52, 60, 10, 55, 79);  // clarinet
  s.Comp = Voice(0, 90, 58, 50, 0);                // piano
  s.Pad = Voice(48, 58, 64, 70, 20);               // strings
  s.Bass = Voice(32, 100, 64, 30, 0);              // acoustic bass
  s.CompStyle = TCompStyle::Rolling;
  s.BassStyle = TBassStyle::RootFifth;
  s.DrumStyle = TDrumStyle::Light;
  s.DrumVolume = 72;
  const char* a = "I | vi | IV | V | I | vi | ii7 V7 | I";
  const char* b = "IV | V | iii | vi | ii7 | V | IV | V7";
  s.Form = {
      Intro("I | IV", false, 0.85),
      Part(a, 'A', TVariation::Plain, false, true, 0.9),
      Part(a, 'A', TVariation::Harmony, true, true, 0.95),
      Part(b, 'B', TVariation::Plain, true, true, 1.0),
      Part(b, 'B', TVariation::Ornamented, true, true, 1.0),
      Part(a, 'A', TVariation::Ornamented, true, true, 0.95),
      Ending("IV | V7 | I", true, true, 0.85),
  };
  return s;
}

// F major in three: harp, clarinet, slow strings and a walking bass, no drums.
TSong QuietCourtyard() {
  TSong s;
  s.Title = "Quiet Courtyard";
  s.Tempo = 84;
  s.Beats = 3;
  s.Tonic = 65;
  s.KeySharps = -1;
  s.Seed = 13;
  s.Leads[0] = Voice(71, 96, 60, 64, 10, 65, 84);  // clarinet
  s.Leads[1] = Voice(73, 84, 74, 64, 10, 72, 93);  // flute
  s.Comp = Voice(46, 96, 50, 60, 0);               // harp
  s.Pad = Voice(49, 56, 70, 72, 20);               // slow strings
  s.Bass = Voice(32, 92, 64, 36, 0);               // acoustic bass
  s.CompStyle = TCompStyle::Waltz;
  s.BassStyle = TBassStyle::Waltz;
  const char* a = "I | vi | ii | V | I | iii | IV V | I";
  const char* b = "IV | I | IV | V | vi | iii | ii | V7";
  s.Form = {
      Intro("I | IVmaj7 | I | V", false, 0.8),
      Part(a, 'A', TVariation::Plain, false, false, 0.9),
      Part(a, 'A', TVariation::OctaveUp, true, false, 0.9),
      Part(b, 'B', TVariation::Plain, true, false, 1.0),
      Part(a, 'A', TVariation::Harmony, true, false, 0.95),
      Part(a, 'A', TVariation::Ornamented, true, false, 0.9),
      Ending("IV | V7 | I | I", true, false, 0.8),
  };
  return s;
}

// A minor, circling: marimba figures, pan flute, a warm pad, bass and shaker.
TSong RingsOfStone() {
  TSong s;
  s.Title = "Rings of Stone";
  s.Tempo = 88;
  s.Beats = 4;
  s.Tonic = 57;
  s.Minor = true;
  s.KeySharps = 0;
  s.Seed = 10;
  s.Leads[0] = Voice(75, 94, 70, 70, 10, 69, 88);  // pan flute
  s.Leads[1] = Voice(11, 86, 50, 60, 20, 60, 84);  // vibraphone
  s.Comp = Voice(12, 92, 54, 40, 0);               // marimba
  s.Pad = Voice(89, 60, 64, 70, 30);               // warm pad
  s.Bass = Voice(33, 98, 64, 30, 0);               // fingered bass
  s.CompStyle = TCompStyle::Ostinato;
  s.BassStyle = TBassStyle::Pulse;
  s.DrumStyle = TDrumStyle::Shaker;
  s.DrumVolume = 66;
  const char* a = "i | bVI | bIII | bVII | i | bVI | iv V | i";
  const char* b = "bVI | bVII | i | i | bVI | bVII | iv | V";
  s.Form = {
      Intro("i | bVI | bIII | bVII", true, 0.8),
      Part(a, 'A', TVariation::Plain, true, true, 0.9),
      Part(a, 'A', TVariation::Harmony, true, true, 0.95),
      Part(b, 'B', TVariation::Plain, true, true, 1.0),
      Part(a, 'A', TVariation::Ornamented, true, true, 0.95),
      Ending("bVI | bVII | i", true, true, 0.85),
  };
  return s;
}

// D major, slow: electric piano, nylon guitar, strings, fretless bass and brushes.
TSong EveningLanterns() {
  TSong s;
  s.Title = "Evening Lanterns";
  s.Tempo = 72;
  s.Beats = 4;
  s.Tonic = 62;
  s.KeySharps = 2;
  s.Seed = 15;
  s.Leads[0] = Voice(24, 110, 76, 60, 10, 62, 83);  // nylon guitar
  s.Leads[1] = Voice(73, 78, 52, 64, 10, 66, 88);   // flute
  s.Comp = Voice(4, 88, 54, 56, 30);                // electric piano
  s.Pad = Voice(49, 52, 64, 72, 20);                // slow strings
  s.Bass = Voice(35, 98, 64, 36, 0);                // fretless bass
  s.CompStyle = TCompStyle::Block;
  s.BassStyle = TBassStyle::RootFifth;
  s.DrumStyle = TDrumStyle::Brush;
  s.DrumVolume = 64;
  const char* a = "Imaj7 | iii7 | vi7 | IVmaj7 | Imaj7 | iii7 | ii7 V7 | I";
  const char* b = "IVmaj7 | V | iii7 | vi7 | ii7 | V | IVmaj7 | V7";
  s.Form = {
      Intro("Imaj7 | IVmaj7", false, 0.8),
      Part(a, 'A', TVariation::Plain, false, true, 0.9),
      Part(a, 'A', TVariation::Harmony, true, true, 0.95),
      Part(b, 'B', TVariation::Plain, true, true, 1.0),
      Part(a, 'A', TVariation::Ornamented, true, true, 0.9),
      Ending("IVmaj7 | V7 | I", true, true, 0.8),
  };
  return s;
}

// G major, bright and small: celesta and music box over plucked strings.
TSong GlassGarden() {
  TSong s;
  s.Title = "Glass Garden";
  s.Tempo = 100;
  s.Beats = 4;
  s.Tonic = 67;
  s.KeySharps = 1;
  s.Seed = 16;
  s.Leads[0] = Voice(8, 100, 70, 64, 10, 69, 88);   // celesta
  s.Leads[1] = Voice(10, 88, 56, 64, 10, 74, 96);   // music box
  s.Comp = Voice(45, 96, 56, 50, 0);                // pizzicato strings
  s.Pad = Voice(52, 50, 64, 72, 20);                // choir
  s.Bass = Voice(32, 96, 64, 30, 0);                // acoustic bass
  s.CompStyle = TCompStyle::Pluck;
  s.BassStyle = TBassStyle::Long;
  const char* a = "I | V | vi | IV | I | V | IV V | I";
  const char* b = "vi | IV | I | V | vi | IV | ii7 | V7";
  s.Form = {
      Intro("I | V", false, 0.8),
      Part(a, 'A', TVariation::Plain, false, false, 0.9),
      Part(a, 'A', TVariation::OctaveUp, true, false, 0.9),
      Part(b, 'B', TVariation::Plain, true, false, 1.0),
      Part(a, 'A', TVariation::Ornamented, true, false, 0.95),
      Ending("IV | V | I", true, false, 0.8),
  };
  return s;
}

}  // namespace

std::vector<TSong> AllSongs() { return {MorningTiles(), QuietCourtyard(), RingsOfStone(), EveningLanterns(), GlassGarden()}; }

}  // namespace pav::soundgen
