#include "Compose.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <stdexcept>

#include "Melody.h"
#include "Midi.h"

namespace pav::soundgen {

namespace {

constexpr int DrumChannel = 9;

// Channels of the parts.
enum : int { ChLead0 = 0, ChLead1 = 1, ChComp = 2, ChPad = 3, ChBass = 4 };

// General MIDI percussion keys.
enum : int {
  Kick = 36,
  SideStick = 37,
  ClosedHat = 42,
  PedalHat = 44,
  LowTom = 45,
  MidTom = 47,
  HighMidTom = 48,
  HighTom = 50,
  Ride = 51,
  RideBell = 53,
  Maracas = 70,
};

// ---------------------------------------------------------------------------
// Accompaniment

// A broken-chord ladder from the root upward: root, fifth, octave, tenth, then the
// seventh, the added note or the fifth, and the second octave.
std::vector<int> Ladder(const TChord& c, int root) {
  const int upper = c.Seventh >= 0 ? c.Seventh : c.Added >= 0 ? c.Added : c.Fifth;
  return {root, root + c.Fifth, root + 12, root + 12 + c.Third, root + 12 + upper, root + 24};
}

// Close chord voicings moving as little as possible from the previous one.
class TVoiceLeader {
 public:
  TVoiceLeader(int low, int high) : Low(low), High(high) {}
  std::vector<int> Next(const TChord& c) {
    std::vector<std::vector<int>> options(c.Tones.size());
    for (std::size_t i = 0; i < c.Tones.size(); ++i)
      for (int n = Low; n <= High; ++n)
        if (Pc(n) == c.Tones[i]) options[i].push_back(n);
    std::vector<int> best;
    double bestCost = 1e9;
    std::vector<int> pick(c.Tones.size());
    Search(options, 0, pick, best, bestCost);
    if (best.empty()) {
      // No close voicing fits: stack the tones upward from the bottom of the range.
      int n = Low;
      for (int pc : c.Tones) {
        while (Pc(n) != pc) ++n;
        best.push_back(n);
      }
    }
    Previous = best;
    return best;
  }

 private:
  void Search(const std::vector<std::vector<int>>& options, std::size_t i, std::vector<int>& pick,
              std::vector<int>& best, double& bestCost) {
    if (i == options.size()) {
      std::vector<int> v = pick;
      std::sort(v.begin(), v.end());
      for (std::size_t k = 1; k < v.size(); ++k)
        if (v[k] - v[k - 1] < 2) return;  // no seconds rubbing inside the pad
      if (v.back() - v.front() > 14) return;
      double cost = 0.0;
      if (Previous.empty()) {
        double mean = 0.0;
        for (int n : v) mean += n;
        cost = std::fabs(mean / static_cast<double>(v.size()) - (Low + High) / 2.0);
      } else {
        for (std::size_t k = 0; k < v.size(); ++k) {
          const std::size_t j = std::min(k, Previous.size() - 1);
          cost += std::abs(v[k] - Previous[j]);
        }
      }
      if (cost < bestCost) {
        bestCost = cost;
        best = v;
      }
      return;
    }
    for (int n : options[i]) {
      pick[i] = n;
      Search(options, i + 1, pick, best, bestCost);
    }
  }

  int Low, High;
  std::vector<int> Previous;
};

struct TPartNotes {
  std::vector<TNote> Notes;
  void Add(int tick, int length, int key, int velocity) {
    TNote n;
    n.Tick = tick;
    n.Length = length;
    n.Key = key;
    n.Velocity = velocity;
    Notes.push_back(n);
  }
};

int Scaled(int velocity, double dynamics) {
  return std::clamp(static_cast<int>(std::lround(velocity * dynamics)), 1, 127);
}

class TComposer {
 public:
  explicit TComposer(const TSong& song)
      : Song(song),
        Rng(song.Seed),
        Scale(ScaleOf(song)),
        TonicPc(Pc(song.Tonic)),
        PadVoices(53, 74),
        BlockVoices(55, 74) {}

  std::vector<std::uint8_t> Compose();

 private:
  void Section(const TSection& s, const std::vector<TBar>& bars, bool lastBarOfPiece);
  void Melody(const TSection& s, const std::vector<TBar>& bars);
  void CompBar(const TBar& bar, int barTick, double dyn, bool final);
  void PadBar(const TBar& bar, int barTick, double dyn);
  void BassBar(const TBar& bar, const TChord* nextChord, int barTick, double dyn, bool final);
  void DrumBar(int barTick, double dyn, bool fill, bool final);
  int NearRoot(int pc, int& previous, int low, int high);

  const TSong& Song;
  TRandom Rng;
  std::vector<int> Scale;
  int TonicPc;
  int Tick = 0;  // start of the current bar
  std::map<char, TTheme> Themes;
  TPartNotes Leads[2], Comp, Pad, Bass, Drums;
  bool UsesLead1 = false, UsesPad = false, UsesDrums = false;
  TVoiceLeader PadVoices, BlockVoices;
  int CompRoot = -1, BassRoot = -1;
  // The pad's held chord: its notes, their start and the velocity.
  std::vector<int> PadHeld;
  int PadFrom = 0;
  int PadVelocity = 0;
  int BarTicks() const { return Song.Beats * TicksPerQuarter; }
  void ReleasePad(int at);
};

int TComposer::NearRoot(int pc, int& previous, int low, int high) {
  const int near = previous < 0 ? (low + high) / 2 : previous;
  previous = NearestOfClass(pc, near, low, high);
  return previous;
}

void TComposer::Melody(const TSection& s, const std::vector<TBar>& bars) {
  if (s.Theme == 0) return;
  if (!Themes.count(s.Theme))
    Themes[s.Theme] = MakeTheme(Rng, static_cast<int>(bars.size()), Song.Beats, s.Theme != 'A');
  const TMelodyContext ctx{Song, Scale, TonicPc};
  const TVoice& lead = Song.Leads[0];
  std::vector<TNote> notes = Realise(Themes[s.Theme], bars, ctx, lead, Tick, Rng);
  if (s.Final && !notes.empty()) {
    // The last note rings to the end of the piece.
    TNote& last = notes.back();
    last.Length = Tick + static_cast<int>(bars.size()) * BarTicks() - last.Tick;
  }
  std::vector<TNote> second;
  switch (s.Variation) {
    case TVariation::Plain:
      break;
    case TVariation::Ornamented:
      notes = Ornament(notes, Rng);
      break;
    case TVariation::Harmony:
      second = ThirdBelow(notes);
      break;
    case TVariation::OctaveUp:
      for (TNote n : notes) {
        n.Key += 12;
        while (n.Key > Song.Leads[1].High) n.Key -= 12;
        second.push_back(n);
      }
      notes.clear();
      break;
  }
  for (const TNote& n : notes) Leads[0].Add(n.Tick, n.Length, n.Key, Scaled(n.Velocity, s.Dynamics));
  for (const TNote& n : second) Leads[1].Add(n.Tick, n.Length, n.Key, Scaled(n.Velocity, s.Dynamics));
  if (!second.empty()) UsesLead1 = true;
}

void TComposer::CompBar(const TBar& bar, int barTick, double dyn, bool final) {
  if (final) {
    // A slowly rolled tonic chord held to the end.
    const TSpan& span = bar.Spans.front();
    const int root = NearRoot(span.Chord.Root, CompRoot, Song.CompStyle == TCompStyle::Ostinato ? 57 : 45,
                              Song.CompStyle == TCompStyle::Ostinato ? 68 : 56);
    const std::vector<int> ladder = Ladder(span.Chord, root);
    for (int k = 0; k < 5; ++k)
      Comp.Add(barTick + k * 50, BarTicks() - k * 50, ladder[static_cast<std::size_t>(k)], Scaled(58 - 2 * k, dyn));
    return;
  }
  for (const TSpan& span : bar.Spans) {
    const int n = span.To - span.From;
    const int from = barTick + span.From * Eighth;
    const int spanEnd = barTick + span.To * Eighth;
    switch (Song.CompStyle) {
      case TCompStyle::None:
        break;
      case TCompStyle::Rolling:
      case TCompStyle::Waltz: {
        const bool harp = Song.CompStyle == TCompStyle::Waltz;
        const int root = NearRoot(span.Chord.Root, CompRoot, harp ? 43 : 45, harp ? 54 : 56);
        const std::vector<int> ladder = Ladder(span.Chord, root);
        static const int rolling[] = {0, 1, 2, 3, 4, 3, 2, 1};
        static const int waltz[] = {0, 1, 2, 3, 4, 3};
        for (int k = 0; k < n; ++k) {
          const int idx = harp ? waltz[k % 6] : rolling[k % 8];
          const int at = from + k * Eighth;
          const int len = k == 0 ? spanEnd - at - 10 : std::min(3 * Eighth, spanEnd - at) - 10;
          const int vel = (k == 0 ? 62 : 50) + ((span.From + k) % 2 == 0 ? 4 : 0) + Rng.Spread(3);
          Comp.Add(at, len, ladder[static_cast<std::size_t>(idx)], Scaled(vel, dyn));
        }
        break;
      }
      case TCompStyle::Block: {
        const std::vector<int> chord = BlockVoices.Next(span.Chord);
        std::vector<std::pair<int, int>> hits;  // slot, length in eighths
        if (n >= 8) hits = {{0, 3}, {3, 3}, {6, 2}};
        else if (n == 6) hits = {{0, 2}, {2, 2}, {4, 2}};
        else if (n >= 4) hits = {{0, 2}, {2, n - 2}};
        else hits = {{0, n}};
        for (const auto& [slot, len] : hits) {
          const int vel = (slot == 0 ? 56 : 46) + Rng.Spread(3);
          for (std::size_t k = 0; k < chord.size(); ++k)
            Comp.Add(from + slot * Eighth + static_cast<int>(k) * 7, len * Eighth - 30 - static_cast<int>(k) * 7,
                     chord[k], Scaled(vel, dyn));
        }
        break;
      }
      case TCompStyle::Ostinato: {
        const int root = NearRoot(span.Chord.Root, CompRoot, 57, 68);
        const std::vector<int> ladder = Ladder(span.Chord, root - 12);
        static const int figure[] = {2, 3, 4, 3, 2, 3, 4, 5};
        for (int k = 0; k < n; ++k) {
          const int vel = ((span.From + k) % 2 == 0 ? 58 : 46) + Rng.Spread(3);
          Comp.Add(from + k * Eighth, Eighth - 20, ladder[static_cast<std::size_t>(figure[k % 8])], Scaled(vel, dyn));
        }
        break;
      }
      case TCompStyle::Pluck: {
        const int root = NearRoot(span.Chord.Root, CompRoot, 48, 59);
        const std::vector<int> ladder = Ladder(span.Chord, root);
        for (int k = 0; k < n; k += 2) {
          const int at = from + k * Eighth;
          if (k % 4 == 0) {
            Comp.Add(at, Eighth, ladder[k == 0 ? 0 : 1], Scaled(60 + Rng.Spread(3), dyn));
          } else {
            for (int j = 2; j <= 4; ++j) Comp.Add(at, Eighth, ladder[static_cast<std::size_t>(j)], Scaled(48 + Rng.Spread(3), dyn));
          }
        }
        break;
      }
    }
  }
}

void TComposer::ReleasePad(int at) {
  for (int key : PadHeld) Pad.Add(PadFrom, at - PadFrom - 20, key, PadVelocity);
  PadHeld.clear();
}

void TComposer::PadBar(const TBar& bar, int barTick, double dyn) {
  for (const TSpan& span : bar.Spans) {
    const std::vector<int> chord = PadVoices.Next(span.Chord);
    const int at = barTick + span.From * Eighth;
    // A chord that does not change is held on rather than struck again.
    if (chord == PadHeld && at - PadFrom < 4 * BarTicks()) continue;
    ReleasePad(at);
    PadHeld = chord;
    PadFrom = at;
    PadVelocity = Scaled(52, dyn);
  }
  UsesPad = true;
}

void TComposer::BassBar(const TBar& bar, const TChord* nextChord, int barTick, double dyn, bool final) {
  const int low = 33, high = 50;
  if (final) {
    const int root = NearRoot(bar.Spans.front().Chord.Root, BassRoot, low, high);
    Bass.Add(barTick, BarTicks(), root, Scaled(72, dyn));
    return;
  }
  for (std::size_t si = 0; si < bar.Spans.size(); ++si) {
    const TSpan& span = bar.Spans[si];
    const int n = span.To - span.From;
    const int from = barTick + span.From * Eighth;
    const int root = NearRoot(span.Chord.Root, BassRoot, low, high);
    const int fifth = root + span.Chord.Fifth <= high + 2 ? root + span.Chord.Fifth : root + span.Chord.Fifth - 12;
    const TChord* following = si + 1 < bar.Spans.size() ? &bar.Spans[si + 1].Chord : nextChord;
    const int vel = 74 + Rng.Spread(3);
    switch (Song.BassStyle) {
      case TBassStyle::None:
        break;
      case TBassStyle::Long:
        Bass.Add(from, n * Eighth - 30, root, Scaled(vel, dyn));
        break;
      case TBassStyle::RootFifth:
      case TBassStyle::Waltz:
        if (n >= 6) {
          const int second = Song.BassStyle == TBassStyle::Waltz ? 4 : n / 2;
          Bass.Add(from, second * Eighth - 30, root, Scaled(vel, dyn));
          const int rest = n - second;
          // Walk into the next chord with a step from below or above, now and then.
          if (following && following->Root != span.Chord.Root && rest >= 3 && Rng.Chance(0.5)) {
            Bass.Add(from + second * Eighth, (rest - 1) * Eighth - 30, fifth, Scaled(vel - 6, dyn));
            int next = NearestOfClass(following->Root, root, low, high);
            const auto sc = ScaleOver(Scale, *following, Song.Minor);
            const int approach = Step(next, next > root ? -1 : 1, sc);
            Bass.Add(from + (n - 1) * Eighth, Eighth - 30, approach, Scaled(vel - 10, dyn));
          } else {
            Bass.Add(from + second * Eighth, rest * Eighth - 30, fifth, Scaled(vel - 6, dyn));
          }
        } else {
          Bass.Add(from, n * Eighth - 30, root, Scaled(vel, dyn));
        }
        break;
      case TBassStyle::Pulse:
        if (n >= 8) {
          Bass.Add(from, 3 * Eighth - 30, root, Scaled(vel, dyn));
          Bass.Add(from + 3 * Eighth, Eighth - 30, root, Scaled(vel - 12, dyn));
          Bass.Add(from + 4 * Eighth, 2 * Eighth - 30, root, Scaled(vel - 4, dyn));
          Bass.Add(from + 6 * Eighth, 2 * Eighth - 30, fifth, Scaled(vel - 8, dyn));
        } else if (n >= 4) {
          Bass.Add(from, 3 * Eighth - 30, root, Scaled(vel, dyn));
          Bass.Add(from + 3 * Eighth, (n - 3) * Eighth - 30, root, Scaled(vel - 12, dyn));
        } else {
          Bass.Add(from, n * Eighth - 30, root, Scaled(vel, dyn));
        }
        break;
    }
  }
}

void TComposer::DrumBar(int barTick, double dyn, bool fill, bool final) {
  const int slots = Song.Beats * 2;
  auto hit = [&](int slot, int key, int vel) {
    Drums.Add(barTick + slot * Eighth, Eighth - 20, key, Scaled(vel + Rng.Spread(3), dyn));
  };
  UsesDrums = true;
  if (final) {
    hit(0, Kick, 52);
    if (Song.DrumStyle != TDrumStyle::Shaker) hit(0, RideBell, 38);
    return;
  }
  const bool four = slots == 8;
  switch (Song.DrumStyle) {
    case TDrumStyle::None:
      break;
    case TDrumStyle::Light: {
      static const int hat[] = {50, 32, 42, 32, 46, 32, 42, 34};
      for (int k = 0; k < slots; ++k) {
        if (fill && k >= slots / 2) continue;
        hit(k, ClosedHat, hat[k]);
      }
      hit(0, Kick, 64);
      if (four) {
        if (!fill) hit(4, Kick, 58);
        if (!fill && Rng.Chance(0.3)) hit(5, Kick, 44);
        hit(2, SideStick, 50);
        if (!fill) hit(6, SideStick, 52);
      } else {
        hit(2, SideStick, 44);
        hit(4, SideStick, 46);
      }
      if (fill) {
        static const int toms[] = {HighTom, HighMidTom, MidTom, LowTom};
        for (int k = slots / 2, j = 0; k < slots; ++k, ++j) hit(k, toms[j % 4], 44 + 4 * j);
      }
      break;
    }
    case TDrumStyle::Shaker: {
      static const int shake[] = {48, 30, 40, 30, 44, 30, 40, 32};
      for (int k = 0; k < slots; ++k) hit(k, Maracas, shake[k]);
      hit(0, Kick, 62);
      if (four) {
        hit(5, Kick, 48);
        hit(4, SideStick, fill ? 56 : 46);
        if (fill) hit(7, SideStick, 40);
      } else {
        hit(4, SideStick, 42);
      }
      break;
    }
    case TDrumStyle::Brush: {
      for (int k = 0; k < slots; k += 2) hit(k, Ride, k == 0 ? 44 : 36);
      hit(0, Kick, 48);
      for (int k = 2; k < slots; k += 4) hit(k, PedalHat, 40);
      if (!four) hit(4, PedalHat, 36);
      if (fill) hit(slots - 1, SideStick, 40);
      break;
    }
  }
}

void TComposer::Section(const TSection& s, const std::vector<TBar>& bars, bool lastSection) {
  Melody(s, bars);
  for (std::size_t b = 0; b < bars.size(); ++b) {
    const bool final = lastSection && s.Final && b + 1 == bars.size();
    const TChord* next = b + 1 < bars.size() ? &bars[b + 1].Spans.front().Chord : nullptr;
    if (s.Comp && Song.CompStyle != TCompStyle::None) CompBar(bars[b], Tick, s.Dynamics, final);
    if (s.Pad) {
      PadBar(bars[b], Tick, s.Dynamics);
    } else if (!PadHeld.empty()) {
      ReleasePad(Tick);
    }
    if (s.Bass && Song.BassStyle != TBassStyle::None) BassBar(bars[b], next, Tick, s.Dynamics, final);
    if (s.Drums && Song.DrumStyle != TDrumStyle::None)
      DrumBar(Tick, s.Dynamics, b + 1 == bars.size() && !s.Final, final);
    if (final && s.Theme == 0) {
      // No melody in the closing bars: the lead comes back for the last tonic.
      const TVoice& lead = Song.Leads[0];
      const int key = NearestOfClass(TonicPc, (lead.Low + lead.High) / 2, lead.Low, lead.High);
      Leads[0].Add(Tick, BarTicks(), key, Scaled(64, s.Dynamics));
    }
    Tick += BarTicks();
  }
}

void SetUp(TMidiTrack& t, const std::string& name, int channel, const TVoice& v) {
  t.Name(0, name);
  t.Control(0, channel, 121, 0);  // reset controllers
  t.Control(0, channel, 0, 0);    // bank 0
  t.Program(0, channel, v.Program);
  t.Control(0, channel, 7, v.Volume);
  t.Control(0, channel, 10, v.Pan);
  t.Control(0, channel, 11, 127);
  t.Control(0, channel, 91, v.Reverb);
  t.Control(0, channel, 93, v.Chorus);
}

void Write(TMidiTrack& t, int channel, const TPartNotes& part) {
  for (const TNote& n : part.Notes)
    if (n.Length > 0) t.Note(static_cast<std::uint32_t>(n.Tick), static_cast<std::uint32_t>(n.Length), channel, n.Key, n.Velocity);
}

std::vector<std::uint8_t> TComposer::Compose() {
  std::vector<std::vector<TBar>> sections;
  for (const TSection& s : Song.Form) sections.push_back(ParseBars(s.Bars, TonicPc, Song.Beats));
  for (std::size_t i = 0; i < Song.Form.size(); ++i) {
    Section(Song.Form[i], sections[i], i + 1 == Song.Form.size());
  }
  ReleasePad(Tick);
  const int end = Tick;

  std::vector<TMidiTrack> tracks;
  TMidiTrack conductor;
  conductor.Name(0, Song.Title);
  conductor.Text(0, 0x02, "Pavilore");
  conductor.TimeSignature(0, Song.Beats, 4);
  conductor.KeySignature(0, Song.KeySharps, Song.Minor);
  conductor.Tempo(0, Song.Tempo);
  if (!Song.Form.empty() && Song.Form.back().Final) {
    // Slow down over the last two bars.
    conductor.Tempo(static_cast<std::uint32_t>(end - 2 * BarTicks()), Song.Tempo * 0.93);
    conductor.Tempo(static_cast<std::uint32_t>(end - BarTicks()), Song.Tempo * 0.85);
  }
  conductor.EndAt(static_cast<std::uint32_t>(end));
  tracks.push_back(conductor);

  auto add = [&](const std::string& name, int channel, const TVoice& voice, const TPartNotes& part) {
    TMidiTrack t;
    SetUp(t, name, channel, voice);
    Write(t, channel, part);
    t.EndAt(static_cast<std::uint32_t>(end));
    tracks.push_back(t);
  };
  add("Melody", ChLead0, Song.Leads[0], Leads[0]);
  if (UsesLead1) add("Second voice", ChLead1, Song.Leads[1], Leads[1]);
  if (Song.CompStyle != TCompStyle::None) add("Accompaniment", ChComp, Song.Comp, Comp);
  if (UsesPad) add("Pad", ChPad, Song.Pad, Pad);
  if (Song.BassStyle != TBassStyle::None) add("Bass", ChBass, Song.Bass, Bass);
  if (UsesDrums) {
    TVoice kit;
    kit.Volume = Song.DrumVolume;
    kit.Reverb = 40;
    add("Drums", DrumChannel, kit, Drums);
  }
  return EncodeMidiFile(tracks, TicksPerQuarter);
}

}  // namespace

std::vector<std::uint8_t> ComposeMidi(const TSong& song) {
  TComposer c(song);
  return c.Compose();
}

}  // namespace pav::soundgen
