#include "Melody.h"

#include <algorithm>
#include <cstdlib>

namespace pav::soundgen {

namespace {

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

bool StrongSlot(int slot, int beats) { return slot == 0 || (beats == 4 && slot == 4); }

}  // namespace

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

}  // namespace pav::soundgen
