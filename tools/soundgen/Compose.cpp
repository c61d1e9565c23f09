#include "Compose.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <stdexcept>

#include "Midi.h"

namespace pav::soundgen {

namespace {

constexpr int Eighth = TicksPerQuarter / 2;
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

class TRandom {
 public:
  explicit TRandom(std::uint64_t seed) : State(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
  std::uint32_t Next() {
    State ^= State >> 12;
    State ^= State << 25;
    State ^= State >> 27;
    return static_cast<std::uint32_t>((State * 0x2545F4914F6CDD1Dull) >> 32);
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }
  bool Chance(double p) { return Next() < p * 4294967296.0; }
  int Spread(int amount) { return Below(2 * amount + 1) - amount; }
  template <typename T>
  const T& Pick(const std::vector<T>& v) {
    return v[static_cast<std::size_t>(Below(static_cast<int>(v.size())))];
  }

 private:
  std::uint64_t State;
};

int Pc(int note) { return ((note % 12) + 12) % 12; }

// ---------------------------------------------------------------------------
// Chords

struct TChord {
  int Root = 0;            // pitch class
  std::vector<int> Tones;  // pitch classes, root first
  int Third = 4;           // intervals above the root
  int Fifth = 7;
  int Seventh = -1;  // -1 when absent
  int Added = -1;    // an added ninth or sixth, -1 when absent

  bool operator==(const TChord& o) const { return Root == o.Root && Tones == o.Tones; }
};

TChord ParseChord(const std::string& text, int tonicPc) {
  std::size_t i = 0;
  int shift = 0;
  if (i < text.size() && text[i] == 'b') {
    shift = -1;
    ++i;
  } else if (i < text.size() && text[i] == '#') {
    shift = 1;
    ++i;
  }
  static const std::pair<const char*, int> numerals[] = {{"VII", 11}, {"III", 4}, {"IV", 5}, {"VI", 9},
                                                         {"II", 2},   {"V", 7},   {"I", 0}};
  int degree = -1;
  bool major = true;
  std::size_t len = 0;
  for (const auto& [name, semis] : numerals) {
    const std::string upper = name;
    std::string lower = upper;
    for (char& c : lower) c = static_cast<char>(c - 'A' + 'a');
    if (text.compare(i, upper.size(), upper) == 0) {
      degree = semis;
      major = true;
      len = upper.size();
      break;
    }
    if (text.compare(i, lower.size(), lower) == 0) {
      degree = semis;
      major = false;
      len = lower.size();
      break;
    }
  }
  if (degree < 0) throw std::invalid_argument("bad chord: " + text);
  i += len;
  const std::string suffix = text.substr(i);
  TChord c;
  c.Root = Pc(tonicPc + degree + shift);
  c.Third = major ? 4 : 3;
  if (suffix == "7") {
    c.Seventh = 10;
  } else if (suffix == "maj7") {
    c.Seventh = 11;
  } else if (suffix == "add9") {
    c.Added = 2;
  } else if (suffix == "6") {
    c.Added = 9;
  } else if (suffix == "sus4") {
    c.Third = 5;
  } else if (suffix == "sus2") {
    c.Third = 2;
  } else if (!suffix.empty()) {
    throw std::invalid_argument("bad chord suffix: " + text);
  }
  c.Tones = {c.Root, Pc(c.Root + c.Third), Pc(c.Root + c.Fifth)};
  if (c.Seventh >= 0) c.Tones.push_back(Pc(c.Root + c.Seventh));
  if (c.Added >= 0) c.Tones.push_back(Pc(c.Root + c.Added));
  return c;
}

// A chord and the part of its bar it fills, in eighths.
struct TSpan {
  TChord Chord;
  int From = 0;
  int To = 0;
};

struct TBar {
  std::vector<TSpan> Spans;
  const TChord& At(int slot) const {
    for (const TSpan& s : Spans)
      if (slot >= s.From && slot < s.To) return s.Chord;
    return Spans.back().Chord;
  }
};

std::vector<TBar> ParseBars(const std::string& bars, int tonicPc, int beats) {
  std::vector<TBar> out;
  const int slots = beats * 2;
  std::size_t start = 0;
  while (start <= bars.size()) {
    std::size_t end = bars.find('|', start);
    if (end == std::string::npos) end = bars.size();
    const std::string cell = bars.substr(start, end - start);
    std::vector<std::string> names;
    std::size_t p = 0;
    while (p < cell.size()) {
      while (p < cell.size() && cell[p] == ' ') ++p;
      std::size_t q = p;
      while (q < cell.size() && cell[q] != ' ') ++q;
      if (q > p) names.push_back(cell.substr(p, q - p));
      p = q;
    }
    if (names.empty() || names.size() > 3) throw std::invalid_argument("a bar needs one to three chords: " + bars);
    TBar bar;
    // Two chords share a bar of four beats equally and a bar of three beats two and one.
    std::vector<int> starts;
    if (names.size() == 1) starts = {0};
    if (names.size() == 2) starts = {0, 4};
    if (names.size() == 3) starts = beats == 3 ? std::vector<int>{0, 2, 4} : std::vector<int>{0, 4, 6};
    for (std::size_t k = 0; k < names.size(); ++k) {
      const int to = k + 1 < names.size() ? starts[k + 1] : slots;
      bar.Spans.push_back({ParseChord(names[k], tonicPc), starts[k], to});
    }
    out.push_back(bar);
    if (end == bars.size()) break;
    start = end + 1;
  }
  return out;
}

// ---------------------------------------------------------------------------
// Scales and steps

std::vector<int> ScaleOf(const TSong& song) {
  static const int major[] = {0, 2, 4, 5, 7, 9, 11};
  static const int minor[] = {0, 2, 3, 5, 7, 8, 10};
  std::vector<int> pcs;
  for (int i = 0; i < 7; ++i) pcs.push_back(Pc(song.Tonic + (song.Minor ? minor[i] : major[i])));
  return pcs;
}

// The scale as it sounds over a chord: a chord tone foreign to the key takes the
// place of the scale note it alters (a raised note in a minor key replaces the note
// below it, a lowered note in a major key the note above it).
std::vector<int> ScaleOver(const std::vector<int>& scale, const TChord& chord, bool minorKey) {
  std::vector<int> pcs = scale;
  for (int t : chord.Tones) {
    if (std::find(pcs.begin(), pcs.end(), t) != pcs.end()) continue;
    const int replaced = minorKey ? Pc(t - 1) : Pc(t + 1);
    const auto it = std::find(pcs.begin(), pcs.end(), replaced);
    if (it != pcs.end() && std::find(chord.Tones.begin(), chord.Tones.end(), replaced) == chord.Tones.end())
      pcs.erase(it);
    pcs.push_back(t);
  }
  return pcs;
}

bool In(const std::vector<int>& pcs, int note) { return std::find(pcs.begin(), pcs.end(), Pc(note)) != pcs.end(); }

// Moves `steps` notes of the set up (positive) or down (negative).
int Step(int note, int steps, const std::vector<int>& pcs) {
  const int dir = steps > 0 ? 1 : -1;
  for (int k = 0; k < std::abs(steps); ++k) {
    do note += dir;
    while (!In(pcs, note));
  }
  return note;
}

// The nearest note of the set; on a tie the one in direction `prefer`.
int Nearest(int note, const std::vector<int>& pcs, int prefer) {
  if (In(pcs, note)) return note;
  const int first = prefer >= 0 ? 1 : -1;
  for (int d = 1; d < 12; ++d) {
    if (In(pcs, note + first * d)) return note + first * d;
    if (In(pcs, note - first * d)) return note - first * d;
  }
  return note;
}

// The first note of the set from `note` on, going in direction `dir`.
int Toward(int note, const std::vector<int>& pcs, int dir) {
  while (!In(pcs, note)) note += dir;
  return note;
}

// The note of pitch class `pc` nearest to `near`, within low..high when possible.
int NearestOfClass(int pc, int near, int low, int high) {
  int best = -1;
  for (int n = low; n <= high; ++n) {
    if (Pc(n) != pc) continue;
    if (best < 0 || std::abs(n - near) < std::abs(best - near)) best = n;
  }
  if (best >= 0) return best;
  best = near - Pc(near - pc);
  return best;
}

// ---------------------------------------------------------------------------
// Melodies

// One bar of a melody: its rhythm in eighths (a negative value is a rest) and the
// step, in notes of the scale, from each note to the next.
struct TMotif {
  std::vector<int> Rhythm;
  std::vector<int> Steps;  // one per sounding note; the first leads from the previous bar
  bool Cadence = false;    // ends a phrase on a long, stable note
  bool Closing = false;    // the cadence that ends the theme
};

struct TTheme {
  std::vector<TMotif> Bars;
  // The height of each bar's first note, in notes of the scale above or below the
  // theme's first note: the arc the phrases follow.
  std::vector<int> Arc;
  int StartDegree = 2;  // scale degree of the first note: 0 tonic, 2 third, 4 fifth
};

int Sounding(const std::vector<int>& rhythm) {
  return static_cast<int>(std::count_if(rhythm.begin(), rhythm.end(), [](int d) { return d > 0; }));
}

TMotif MakeMotif(TRandom& rng, const std::vector<int>& rhythm, int direction, bool leaps) {
  TMotif m;
  m.Rhythm = rhythm;
  const int n = Sounding(rhythm);
  for (int i = 0; i < n; ++i) {
    int step;
    const int r = rng.Below(100);
    if (i == 0) {
      // Into the bar: mostly a step, sometimes a third, sometimes the same note.
      step = r < 45 ? direction : r < 65 ? -direction : r < 85 ? 2 * direction : 0;
    } else if (leaps && r < 30) {
      step = (rng.Chance(0.5) ? 2 : 3) * direction;
    } else if (r < 68) {
      step = direction;
    } else if (r < 86) {
      step = -direction;
    } else if (r < 94) {
      step = 2 * direction;
    } else {
      step = 0;
    }
    m.Steps.push_back(step);
  }
  return m;
}

TTheme MakeTheme(TRandom& rng, int barCount, int beats, bool lyrical) {
  using R = std::vector<std::vector<int>>;
  const R flowing4 = {{2, 2, 2, 2}, {3, 1, 2, 2}, {2, 2, 4},       {4, 2, 2},    {2, 1, 1, 4},
                      {1, 1, 2, 2, 2}, {3, 1, 4}, {2, 2, 2, 1, 1}, {-2, 2, 2, 2}, {4, 1, 1, 2}};
  const R singing4 = {{4, 4}, {6, 2}, {2, 2, 4}, {3, 1, 4}, {4, 2, 2}, {-2, 2, 4}, {2, 6}};
  const R flowing3 = {{2, 2, 2}, {4, 2}, {3, 1, 2}, {2, 4}, {2, 1, 1, 2}, {-2, 2, 2}, {1, 1, 2, 2}};
  const R singing3 = {{4, 2}, {6}, {2, 4}, {3, 1, 2}, {-2, 4}};
  const R halfCadence4 = {{2, 2, 4}, {3, 1, 4}, {4, 4}};
  const R fullCadence4 = {{2, 2, 4}, {4, 4}, {3, 1, 4}, {2, 6}};
  const R halfCadence3 = {{2, 4}, {1, 1, 4}};
  const R fullCadence3 = {{2, 4}, {6}, {1, 1, 4}};
  const R& body = beats == 3 ? (lyrical ? singing3 : flowing3) : (lyrical ? singing4 : flowing4);
  const R& half = beats == 3 ? halfCadence3 : halfCadence4;
  const R& full = beats == 3 ? fullCadence3 : fullCadence4;

  TTheme t;
  t.StartDegree = lyrical ? 4 : (rng.Chance(0.5) ? 2 : 4);
  const TMotif m1 = MakeMotif(rng, rng.Pick(body), 1, lyrical);
  const TMotif m2 = MakeMotif(rng, rng.Pick(body), -1, false);
  const TMotif m3 = MakeMotif(rng, rng.Pick(beats == 3 ? flowing3 : flowing4), 1, true);
  TMotif c1;
  c1.Rhythm = rng.Pick(half);
  c1.Cadence = true;
  TMotif c2;
  c2.Rhythm = rng.Pick(full);
  c2.Cadence = true;
  c2.Closing = true;
  // Two phrases, each rising and settling; the second reaches higher.
  const std::vector<std::vector<int>> arcs = {
      {0, 2, 1, 0, 0, 3, 2, 0}, {0, 1, 2, 0, 0, 2, 4, 1}, {0, -1, 1, 0, 0, 2, 3, 0}, {0, 2, 3, 1, 0, 3, 4, 1}};
  t.Arc = rng.Pick(arcs);
  if (barCount == 8) {
    t.Bars = {m1, m2, m1, c1, m1, m2, m3, c2};
  } else {
    for (int b = 0; b < barCount - 1; ++b) t.Bars.push_back(b % 3 == 0 ? m1 : b % 3 == 1 ? m2 : m3);
    t.Bars.push_back(c2);
  }
  return t;
}

struct TNote {
  int Tick = 0;
  int Length = 0;
  int Key = 0;
  int Velocity = 0;
  std::vector<int> Scale;  // the scale over the chord under the note
  std::vector<int> Chord;  // the chord tones under it
  bool Strong = false;     // on the first beat, or the third of four
  bool Held = false;       // in a cadence bar: kept as it is by variations
};

struct TMelodyContext {
  const TSong& Song;
  std::vector<int> Scale;
  int TonicPc;
};

bool StrongSlot(int slot, int beats) { return slot == 0 || (beats == 4 && slot == 4); }

// The theme over the bars of one section, from section tick `base`, in `range`.
std::vector<TNote> Realise(const TTheme& theme, const std::vector<TBar>& bars, const TMelodyContext& ctx,
                           const TVoice& voice, int base, TRandom& rng) {
  std::vector<TNote> out;
  const int beats = ctx.Song.Beats;
  const int slots = beats * 2;
  const int middle = (voice.Low + voice.High) / 2;
  const int start =
      NearestOfClass(ctx.Scale[static_cast<std::size_t>(theme.StartDegree)], middle - 2, voice.Low, voice.High);
  int prev = start;
  bool first = true;
  for (std::size_t b = 0; b < bars.size() && b < theme.Bars.size(); ++b) {
    const TMotif& m = theme.Bars[b];
    const TBar& bar = bars[b];
    const int barTick = base + static_cast<int>(b) * slots * Eighth;
    // Onsets and lengths of the sounding notes.
    std::vector<std::pair<int, int>> onsets;
    int slot = 0;
    for (int d : m.Rhythm) {
      if (d > 0) onsets.push_back({slot, d});
      slot += std::abs(d);
    }
    std::vector<int> keys(onsets.size());
    if (m.Cadence) {
      // Land on a stable note: the tonic at the close of a theme that ends on the
      // tonic chord, otherwise a chord tone (never the leading note) near the last note.
      const TChord& last = bar.At(onsets.back().first);
      const bool home = m.Closing && last.Root == ctx.TonicPc;
      int target;
      if (home) {
        target = NearestOfClass(ctx.TonicPc, prev, voice.Low, voice.High);
      } else {
        target = -1;
        for (int iv : {0, last.Fifth, last.Third}) {
          const int pc = Pc(last.Root + iv);
          if (pc == Pc(ctx.TonicPc - 1)) continue;
          const int cand = NearestOfClass(pc, prev, voice.Low, voice.High);
          if (target < 0 || std::abs(cand - prev) < std::abs(target - prev)) target = cand;
        }
      }
      const int n = static_cast<int>(onsets.size());
      // Approach from the side the melody comes from, unless that leaves the range.
      int dir = prev > target ? 1 : -1;
      if (dir > 0 && target + 3 > voice.High) dir = -1;
      if (dir < 0 && target - 3 < voice.Low) dir = 1;
      keys[static_cast<std::size_t>(n - 1)] = target;
      for (int k = n - 2; k >= 0; --k) {
        const auto& sc = ScaleOver(ctx.Scale, bar.At(onsets[static_cast<std::size_t>(k)].first), ctx.Song.Minor);
        keys[static_cast<std::size_t>(k)] = Step(keys[static_cast<std::size_t>(k + 1)], dir, sc);
      }
      for (int k = 0; k < n - 1; ++k) {
        const auto [at, len] = onsets[static_cast<std::size_t>(k)];
        if (StrongSlot(at, beats) || len >= 3)
          keys[static_cast<std::size_t>(k)] = Toward(keys[static_cast<std::size_t>(k)], bar.At(at).Tones, dir);
      }
    } else {
      for (std::size_t k = 0; k < onsets.size(); ++k) {
        const auto [at, len] = onsets[k];
        const TChord& chord = bar.At(at);
        const auto sc = ScaleOver(ctx.Scale, chord, ctx.Song.Minor);
        const int step = m.Steps[k];
        int key;
        if (first) {
          key = start;
        } else if (k == 0) {
          // Each bar begins at the height its place in the arc asks for.
          const int arc = b < theme.Arc.size() ? theme.Arc[b] : 0;
          key = arc == 0 ? Nearest(start, sc, 1) : Step(start, arc, sc);
        } else {
          key = step == 0 ? Nearest(prev, sc, 1) : Step(prev, step, sc);
        }
        if (key > voice.High || key < voice.Low) key = Step(prev, key > voice.High ? -1 : 1, sc);
        if (StrongSlot(at, beats) || len >= 3) {
          key = Nearest(key, chord.Tones, step >= 0 ? 1 : -1);
          // A step that the chord pulled back onto the same note moves on to the next chord tone.
          if (key == prev && step != 0 && k > 0) key = Toward(key + (step > 0 ? 1 : -1), chord.Tones, step > 0 ? 1 : -1);
        }
        while (key > voice.High) key -= 12;
        while (key < voice.Low) key += 12;
        keys[k] = key;
        prev = key;
        first = false;
      }
    }
    for (std::size_t k = 0; k < onsets.size(); ++k) {
      const auto [at, len] = onsets[k];
      TNote n;
      n.Tick = barTick + at * Eighth;
      n.Length = len * Eighth - 20;
      n.Key = keys[k];
      n.Strong = StrongSlot(at, beats);
      n.Held = m.Cadence;
      n.Velocity = 76 + (n.Strong ? 6 : 0) + (len >= 3 ? 4 : 0) + rng.Spread(4);
      n.Chord = bar.At(at).Tones;
      n.Scale = ScaleOver(ctx.Scale, bar.At(at), ctx.Song.Minor);
      out.push_back(n);
    }
    if (!onsets.empty()) prev = keys.back();
    first = false;
  }
  return out;
}

// Some long notes give part of their time to a passing or neighbour note.
std::vector<TNote> Ornament(const std::vector<TNote>& in, TRandom& rng) {
  std::vector<TNote> out;
  for (std::size_t i = 0; i < in.size(); ++i) {
    const TNote& n = in[i];
    const bool last = i + 1 == in.size();
    if (last || n.Held || n.Length < 3 * Eighth - 20 || !rng.Chance(0.5)) {
      out.push_back(n);
      continue;
    }
    const TNote& next = in[i + 1];
    TNote a = n;
    a.Length = n.Length - Eighth;
    TNote b = n;
    b.Tick = n.Tick + a.Length + 20;
    b.Length = Eighth - 20;
    b.Strong = false;
    b.Velocity = n.Velocity - 8;
    const int gap = next.Key - n.Key;
    if (std::abs(gap) > 2)
      b.Key = Step(n.Key, gap > 0 ? 1 : -1, n.Scale);
    else
      b.Key = Step(n.Key, gap >= 0 ? -1 : 1, n.Scale);
    out.push_back(a);
    out.push_back(b);
  }
  return out;
}

// A second voice a third below, on chord tones where the melody is on one.
std::vector<TNote> ThirdBelow(const std::vector<TNote>& in) {
  std::vector<TNote> out;
  for (const TNote& n : in) {
    TNote h = n;
    h.Key = Step(n.Key, -2, n.Scale);
    if ((n.Strong || n.Length >= 3 * Eighth - 20) && !In(n.Chord, h.Key)) {
      int k = h.Key;
      while (!In(n.Chord, k)) --k;
      h.Key = k;
    }
    if (h.Key >= n.Key) h.Key = Step(n.Key, -1, n.Chord);
    h.Velocity = n.Velocity - 12;
    out.push_back(h);
  }
  return out;
}

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
